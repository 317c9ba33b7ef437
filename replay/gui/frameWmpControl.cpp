#include "replay/gui/frameWmpControl.h"

#include "platform/MessageService.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/PlainText.h"
#include "replay/DatFileList.h"
#include "replay/PastLog.h"
#include "replay/ReplayCaptions.h"
#include "replay/ReplayOffset.h"
#include "replay/gui/VideoChooser.h"
#include "replay/gui/formSelectDatTime.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QLabel *wrappingLabel(const QString &text, QWidget *parent)
{
    // Paths and response text: plain text only.
    auto *label = platform::plainTextLabel(new QLabel(text, parent));
    label->setWordWrap(true);
    // Long paths must not widen the side panel.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label->setMinimumWidth(0);
    return label;
}

// The root among roots that holds path (the longest matching one).
QString rootOf(const QString &path, const QStringList &roots)
{
    QString best;
    for (const QString &root : roots) {
        const QString withSlash = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
        if ((path == root || path.startsWith(withSlash) || withSlash == QLatin1String("/"))
            && root.size() > best.size())
            best = root;
    }
    return best;
}

} // namespace

frameWmpControl::frameWmpControl(PastLog &log, QWidget *parent)
    : QWidget(parent)
    , m_log(log)
{
    m_cmdMoveiFile = new QPushButton(replaytext::cmdMoveiFile(), this);
    m_lblMovieName = wrappingLabel(replaytext::lblMovieName(), this);
    m_cmdOpenDatFolder = new QPushButton(replaytext::cmdOpenDatFolderClosed(), this);

    m_drive = new QComboBox(this);
    m_drive->hide();
    m_dirModel = new QFileSystemModel(this);
    m_dirModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_dirModel->setRootPath(QDir::rootPath());
    m_dir = new QTreeView(this);
    m_dir->setModel(m_dirModel);
    for (int column = 1; column < m_dirModel->columnCount(); ++column)
        m_dir->hideColumn(column);
    m_dir->header()->hide();
    m_dir->hide();

    m_files = new QListWidget(this);
    m_files->setToolTip(replaytext::fileListDatToolTip());
    m_cmdStart = new QPushButton(replaytext::cmdWmpStartTimeSet(), this);
    m_lblStartTime = wrappingLabel(replaytext::lblStartTime(), this);
    m_cmdLoad = new QPushButton(replaytext::Command3(), this);
    m_cmdLoad->setEnabled(false);
    m_lblCount = wrappingLabel(replaytext::lblWmpDatResCount(), this);
    m_cmdReset = new QPushButton(replaytext::cmdWmpDelete(), this);
    m_label6 = new QLabel(replaytext::Label6(), this);
    m_lblResNo = platform::plainTextLabel(new QLabel(this));
    m_offset = new QSpinBox(this);
    m_offset->setRange(kReplayOffsetMin, kReplayOffsetMax);
    m_offset->setToolTip(replaytext::offsetToolTip());
    m_offsetFlash = new QLabel(this);
    m_offsetFlash->hide();
    m_offsetFlashTimer = new QTimer(this);
    m_offsetFlashTimer->setSingleShot(true);
    m_offsetFlashTimer->setInterval(1500);

    auto *resNoRow = new QHBoxLayout;
    resNoRow->addWidget(m_label6);
    resNoRow->addWidget(m_lblResNo, 1);
    auto *offsetRow = new QHBoxLayout;
    offsetRow->addWidget(new QLabel(replaytext::offsetLabel(), this));
    offsetRow->addWidget(m_offset, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(m_cmdMoveiFile);
    layout->addWidget(m_lblMovieName);
    layout->addWidget(m_cmdOpenDatFolder);
    layout->addWidget(m_drive);
    layout->addWidget(m_dir, 2);
    layout->addWidget(m_files, 1);
    layout->addWidget(m_cmdStart);
    layout->addWidget(m_lblStartTime);
    layout->addWidget(m_cmdLoad);
    layout->addWidget(m_lblCount);
    layout->addWidget(m_cmdReset);
    layout->addLayout(resNoRow);
    layout->addLayout(offsetRow);
    layout->addWidget(m_offsetFlash);

    m_dialog = new formSelectDatTime(m_log, this);
    m_dialog->hide();

    fillDrives();
    setDatFolder(defaultDatFolder());

    connect(m_cmdMoveiFile, &QPushButton::clicked, this, &frameWmpControl::cmdMoveiFile_Click);
    connect(m_cmdOpenDatFolder, &QPushButton::clicked, this, &frameWmpControl::cmdOpenDatFolder_Click);
    connect(m_drive, &QComboBox::currentIndexChanged, this, &frameWmpControl::Drive1_Change);
    connect(m_dir->selectionModel(), &QItemSelectionModel::currentChanged, this, &frameWmpControl::Dir1_Change);
    connect(m_cmdStart, &QPushButton::clicked, this, &frameWmpControl::cmdWmpStartTimeSet_Click);
    connect(m_cmdLoad, &QPushButton::clicked, this, &frameWmpControl::Command3_Click);
    connect(m_cmdReset, &QPushButton::clicked, this, &frameWmpControl::cmdWmpDelete_Click);
    connect(m_dialog, &formSelectDatTime::startConfirmed, this, &frameWmpControl::startConfirmed);
    connect(m_dialog, &formSelectDatTime::cancelled, this, [this] { m_cmdLoad->setEnabled(false); });
    connect(m_offset, &QSpinBox::valueChanged, this, &frameWmpControl::offsetChanged);
    connect(m_offsetFlashTimer, &QTimer::timeout, m_offsetFlash, &QLabel::hide);
}

frameWmpControl::~frameWmpControl()
{
    // The dialog is a window of its own: stop its signals before this panel is half gone.
    if (m_dialog)
        disconnect(m_dialog, nullptr, this, nullptr);
}

void frameWmpControl::fillDrives()
{
    QStringList roots{QDir::rootPath()};
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    }
    std::sort(roots.begin() + 1, roots.end());
    const QSignalBlocker block(m_drive);
    m_drive->clear();
    m_drive->addItems(roots);
}

QString frameWmpControl::dirPath() const
{
    const QModelIndex current = m_dir->currentIndex();
    return current.isValid() ? m_dirModel->filePath(current) : m_datFolder;
}

void frameWmpControl::setDatFolder(const QString &folder)
{
    m_datFolder = QDir(platform::normalisePath(folder)).absolutePath();
    {
        // Pointing the tree at the folder must not come back as a change of it.
        const QSignalBlocker block(m_dir->selectionModel());
        const QModelIndex index = m_dirModel->index(m_datFolder);
        if (index.isValid()) {
            m_dir->setCurrentIndex(index);
            m_dir->scrollTo(index);
        }
    }
    refreshFileList();
}

void frameWmpControl::refreshFileList()
{
    m_files->clear();
    m_files->addItems(datFileNames(m_datFolder));
}

void frameWmpControl::cmdMoveiFile_Click()
{
    const QString path = replay::videoChooser().chooseOpenFile(window(), fileDialogFilters(replaytext::videoFilter()));
    if (!path.isEmpty())
        emit videoChosen(path);
}

void frameWmpControl::cmdOpenDatFolder_Click()
{
    if (m_cmdOpenDatFolder->text() == replaytext::cmdOpenDatFolderClosed()) {
        setDatFolder(m_datFolder);
        {
            // Choosing the drive that holds the folder is not a change to that drive's root.
            const QSignalBlocker block(m_drive);
            const QStringList roots = [this] {
                QStringList r;
                for (int i = 0; i < m_drive->count(); ++i)
                    r << m_drive->itemText(i);
                return r;
            }();
            const int row = m_drive->findText(rootOf(m_datFolder, roots));
            if (row >= 0)
                m_drive->setCurrentIndex(row);
            const QModelIndex root = m_dirModel->index(m_drive->currentText());
            m_dir->setRootIndex(root.parent());
        }
        m_dir->show();
        m_drive->show();
        m_cmdOpenDatFolder->setText(replaytext::cmdOpenDatFolderOpen());
    } else {
        m_drive->hide();
        m_dir->hide();
        m_cmdOpenDatFolder->setText(replaytext::cmdOpenDatFolderClosed());
    }
}

void frameWmpControl::Drive1_Change()
{
    const QString root = m_drive->currentText();
    const QModelIndex index = m_dirModel->index(root);
    m_dir->setRootIndex(index.parent());
    m_dir->setCurrentIndex(index);   // Dir1's change follows
}

void frameWmpControl::Dir1_Change()
{
    const QString path = dirPath();
    if (path.isEmpty())
        return;
    m_datFolder = path;
    refreshFileList();
}

void frameWmpControl::cmdWmpStartTimeSet_Click()
{
    cmdWmpDelete_Click();
    m_dialog->listSelectDatTime()->clear();
    // The folder may have changed on disk since it was chosen.
    refreshFileList();
    if (m_files->count() == 0) {
        platform::showMessage(replaytext::noDatFile(), this);
        return;
    }
    m_dialog->show();
    m_dialog->raise();
    // Only the first file offers its responses as start, whatever row is selected.
    m_dialog->setFile(datFilePath(m_datFolder, m_files->item(0)->text()));
}

void frameWmpControl::startConfirmed(const QString &rowText, qint64 seconds)
{
    m_log.lngStartSeconds = seconds;
    m_lblStartTime->setText(replaytext::lblStartTimeChosen(rowText));
    m_cmdLoad->setEnabled(true);
}

void frameWmpControl::Command3_Click()
{
    m_log.beginLoad();
    // Every file of the list, in its order, as one replay numbered continuously; the start
    // time chosen in the dialog stays the zero point. No events run during the load: a click
    // on load, reset or start time in the middle would rewrite the lists being filled.
    QStringList paths;
    for (int row = 0; row < m_files->count(); ++row)
        paths << datFilePath(m_datFolder, m_files->item(row)->text());
    for (const QString &path : paths) {
        m_log.loadPastLogFile(path);
        m_lblCount->setText(m_log.countLabelText());
    }
    m_lblCount->setText(m_log.countLabelText());
    emit pastLogLoaded();
}

void frameWmpControl::cmdWmpDelete_Click()
{
    m_log.lngStartSeconds = 0;
    m_lblStartTime->setText(replaytext::lblStartTime());
    m_lblMovieName->setText(replaytext::lblMovieName());
    m_lblMovieName->setToolTip(QString());
    m_lblCount->setText(replaytext::lblWmpDatResCount());
    m_cmdLoad->setEnabled(false);
    m_lblResNo->clear();
}

void frameWmpControl::setMovieName(const QString &caption)
{
    m_lblMovieName->setText(caption);
    m_lblMovieName->setToolTip(platform::plainToolTip(caption));
}

void frameWmpControl::setResNo(const QString &caption)
{
    m_lblResNo->setText(caption);
}

int frameWmpControl::offsetSeconds() const
{
    return m_offset->value();
}

void frameWmpControl::setOffsetSeconds(int seconds)
{
    m_offset->setValue(clampReplayOffset(seconds));
}

void frameWmpControl::stepOffset(int delta)
{
    setOffsetSeconds(offsetSeconds() + delta);
    m_offsetFlash->setText(replayOffsetFlash(offsetSeconds()));
    m_offsetFlash->show();
    m_offsetFlashTimer->start();
}
