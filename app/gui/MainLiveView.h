#pragma once
// The live session's view of the main window: its Start and Web buttons, the countdown labels
// (the mini window's too, through its hooks), the marquee and label surfaces, the settings
// dialog's texts, message boxes, and the board lists for the follow at 1000.

#include "app/LiveView.h"
#include "platform/gui/DesktopServices.h"

#include <optional>

class formMain;

class MainLiveView : public LiveView
{
public:
    explicit MainLiveView(formMain &main) : m_main(main) {}

    void setStartCaption(const QString &caption) override;
    void setStartEnabled(bool enabled) override;
    void setCommand1Enabled(bool enabled) override;
    void setCommand2Enabled(bool enabled) override;
    void setCountdownCaption(const QString &caption) override;
    void setList5Enabled(bool enabled) override;
    void setOutLineModeBoxEnabled(bool enabled) override;
    void setLabel3Caption(const QString &caption) override;
    void setLabel1Caption(const QString &caption) override;
    QString comboMaxText() const override;
    QString comboMaxRowText() const override;
    void setBusy(bool busy) override;
    void showMessage(const LiveMessage &message) override;
    void clearMarquee() override;
    void showMarqueeRows(const QString &path, const MarqueePage &rows) override;
    void setLabelLook(int intScroll, bool outline) override;
    bool showLiveComment(const QString &text, quint32 colour, qint32 index, int k) override;
    void spreadLabelBatch(const QList<present::SpreadComment> &batch, qint64 spreadMs) override;
    void runMiniPresenter(bool datMode) override;
    void refreshThreadView() override;
    void setImage(const ImageLists &images) override;
    void showNgCount() override;
    void showThreadList() override;
    bool reopenBoard() override;
    QList<ThreadSummary> listedThreads() const override;
    void makeListedThreadCurrent(int row) override;
    QString currentThreadEntry() const override;

private:
    formMain &m_main;
    std::optional<platform::WaitCursor> m_busy;
};
