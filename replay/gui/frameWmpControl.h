#pragma once
// The replay controls panel: the video button, the past-log folder chooser (drive list, folder
// tree, "*.dat" file list), the start-time dialog, loading and reset, and the labels that show
// the set-up's progress. The main window puts it in its side panel and shows it in replay mode.
//
// Order of use is enforced by enabling: "Datの読み込み" is enabled only while a start response
// is confirmed.

#include <QString>
#include <QStringList>
#include <QWidget>

class PastLog;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTimer;
class QTreeView;
class formSelectDatTime;

class frameWmpControl : public QWidget
{
    Q_OBJECT
public:
    // log must outlive the panel. The start-time dialog is a window of its own, owned here.
    explicit frameWmpControl(PastLog &log, QWidget *parent = nullptr);
    ~frameWmpControl() override;

    QPushButton *cmdMoveiFile() const { return m_cmdMoveiFile; }
    QPushButton *cmdOpenDatFolder() const { return m_cmdOpenDatFolder; }
    QComboBox *Drive1() const { return m_drive; }
    QTreeView *Dir1() const { return m_dir; }
    QListWidget *fileListDat() const { return m_files; }
    QPushButton *cmdWmpStartTimeSet() const { return m_cmdStart; }
    QPushButton *Command3() const { return m_cmdLoad; }
    QPushButton *cmdWmpDelete() const { return m_cmdReset; }
    QLabel *lblStartTime() const { return m_lblStartTime; }
    QLabel *lblMovieName() const { return m_lblMovieName; }
    QLabel *lblWmpDatResCount() const { return m_lblCount; }
    QLabel *Label6() const { return m_label6; }
    QLabel *lblResNo() const { return m_lblResNo; }
    QSpinBox *spinWmpOffset() const { return m_offset; }
    QLabel *lblWmpOffsetFlash() const { return m_offsetFlash; }
    formSelectDatTime *startTimeDialog() const { return m_dialog; }

    // The folder fileListDat lists (Dir1's path once the folder lists have been used).
    QString datFolder() const { return m_datFolder; }
    // Points the folder and file lists at a folder, as choosing it in Dir1 does.
    void setDatFolder(const QString &folder);

    // The handlers of the controls.
    void cmdMoveiFile_Click();
    void cmdOpenDatFolder_Click();
    void Drive1_Change();
    void Dir1_Change();
    void cmdWmpStartTimeSet_Click();
    void Command3_Click();
    void cmdWmpDelete_Click();

    // Seconds added to the player's position before the lookup (-600 to +600).
    int offsetSeconds() const;
    void setOffsetSeconds(int seconds);
    // A key's change of the offset: applied within the range and shown briefly on the panel.
    void stepOffset(int delta);

    // The player notification and the replay tick write these.
    void setMovieName(const QString &caption);
    void setResNo(const QString &caption);

signals:
    // A video was chosen in the file dialog: the player opens it.
    void videoChosen(const QString &path);
    // The past logs were (re)loaded.
    void pastLogLoaded();
    // The offset changed (spin box or keys).
    void offsetChanged(int seconds);

private:
    void startConfirmed(const QString &rowText, qint64 seconds);
    void refreshFileList();
    void fillDrives();
    QString dirPath() const;

    PastLog &m_log;
    QString m_datFolder;

    QPushButton *m_cmdMoveiFile = nullptr;
    QPushButton *m_cmdOpenDatFolder = nullptr;
    QComboBox *m_drive = nullptr;
    QTreeView *m_dir = nullptr;
    QFileSystemModel *m_dirModel = nullptr;
    QListWidget *m_files = nullptr;
    QPushButton *m_cmdStart = nullptr;
    QPushButton *m_cmdLoad = nullptr;
    QPushButton *m_cmdReset = nullptr;
    QLabel *m_lblStartTime = nullptr;
    QLabel *m_lblMovieName = nullptr;
    QLabel *m_lblCount = nullptr;
    QLabel *m_label6 = nullptr;
    QLabel *m_lblResNo = nullptr;
    QSpinBox *m_offset = nullptr;
    QLabel *m_offsetFlash = nullptr;
    QTimer *m_offsetFlashTimer = nullptr;
    formSelectDatTime *m_dialog = nullptr;
    bool m_settingFolder = false;
};
