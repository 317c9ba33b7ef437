#include "app/gui/MainWindowWiring.h"

#include "app/LiveSession.h"
#include "app/SettingsEffects.h"
#include "app/gui/BoardTreeView.h"
#include "app/gui/SettingsDialogs.h"
#include "app/gui/formMain.h"
#include "app/gui/formScrollSetting.h"
#include "mini/MiniHost.h"
#include "mini/gui/formMiniMode.h"
#include "net/ThreadChannel.h"
#include "platform/ProgramFolder.h"
#include "replay/ReplayCaptions.h"
#include "replay/gui/ReplayController.h"
#include "replay/gui/WmpPlayer.h"
#include "replay/gui/frameWmpControl.h"
#include "viewers/CornerImages.h"
#include "viewers/ViewerWindows.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include "platform/gui/ModelListView.h"
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

namespace {

// The mini window's view of the main window.
class MainMiniHost : public MiniHost
{
public:
    MainMiniHost(formMain &main, std::function<void(int)> showThreadListAtTop)
        : m_main(main), m_showThreadListAtTop(std::move(showThreadListAtTop))
    {
    }

    void command1Click() override { m_main.command1Click(); }
    void showMainWindow() override { m_main.show(); }
    void selectComboMode(int index) override
    {
        m_main.comboMode->setCurrentIndex(index);
        m_main.comboMode_Click();
    }
    void closeMainWindow() override { m_main.close(); }
    void showSureItiranAtTop(int top) override { m_showThreadListAtTop(top); }
    void autoMoveNextSure() override { m_main.autoMoveNextSure(); }

    ThreadPosition &threadPosition() override { return m_main.threadPosition(); }
    const ResponseRecord &responseRecord() const override { return m_main.record(); }
    QString text2() const override { return m_main.session().text2(); }
    void setText2(const QString &text) override { m_main.session().text2() = text; }
    QString label3Caption() const override { return m_main.Label3Caption(); }
    void setLabel3Caption(const QString &caption) override { m_main.setLabel3Caption(caption); }
    void setLabel1Caption(const QString &caption) override { m_main.setLabel1Caption(caption); }
    QString strGetSintyakuFooter() const override
    {
        return m_main.threadChannel().address().strGetSintyakuFooter;
    }
    QString comboMaxText() const override { return m_main.comboMaxText(); }
    int intMaxRow() const override { return m_main.settings().intMaxRow; }
    int intNextWhen1000() const override { return m_main.settings().intNextWhen1000; }
    qint32 &lngMsgCount() override { return m_main.lngMsgCount(); }
    const ResponseFilter *responseFilter() const override { return m_main.session().responseFilter(); }

    void setRegetTimerEnabled(bool enabled) override { m_main.setRegetTimerEnabled(enabled); }
    void setStartEnabled(bool enabled) override { m_main.setStartEnabled(enabled); }
    void setStartCaption(const QString &caption) override { m_main.setStartCaption(caption); }
    void setChkOutLineModeEnabled(bool enabled) override
    {
        m_main.dialogs().settingsDialog()->chkOutLineMode->setEnabled(enabled);
    }

private:
    formMain &m_main;
    std::function<void(int)> m_showThreadListAtTop;
};

// Keeps a widget covering its parent (the video in the comment strip).
class FillParent : public QObject
{
public:
    FillParent(QWidget *child, QWidget *parent) : QObject(child), m_child(child)
    {
        parent->installEventFilter(this);
        child->setGeometry(parent->rect());
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize && m_child)
            m_child->setGeometry(static_cast<QWidget *>(watched)->rect());
        return false;
    }

private:
    QPointer<QWidget> m_child;
};

// The windows beside the main one; deleted before the main window goes.
struct OtherWindows
{
    std::unique_ptr<ViewerWindows> viewers;
    std::unique_ptr<MainMiniHost> miniHost;
    QPointer<formMiniMode> mini;
    QPointer<replay::ReplayController> replay;

    ~OtherWindows()
    {
        viewers.reset();
        delete mini.data();
        delete replay.data();
    }
};

} // namespace

void wireOtherWindows(formMain &main)
{
    installCornerImages(platform::programPath(QStringLiteral("image")));

    auto *o = new OtherWindows;
    QObject::connect(&main, &formMain::destroying, [o] { delete o; });
    MainWindowHooks &h = main.hooks();

    ViewerWindowHosts hosts;
    hosts.threadView = &main;
    hosts.threadList = &main;
    hosts.geometry = &main;
    o->viewers = createViewerWindows(hosts);
    ViewerWindows *v = o->viewers.get();

    // Thread list.
    h.threadList.fillLists = [v](const QStringList &entries, const QStringList &addresses) {
        v->fillThreadList(entries, addresses);
    };
    h.threadList.showAt = [v](QPoint topLeft) { v->showThreadListAt(topLeft); };
    h.threadList.close = [v] { v->closeThreadList(); };

    // Mini mode.
    o->miniHost = std::make_unique<MainMiniHost>(main, [v](int top) { v->showThreadListAtTop(top); });
    o->mini = new formMiniMode(o->miniHost.get());
    formMiniMode *mini = o->mini;
    h.mini.show = [mini] { mini->show(); };
    h.mini.hide = [mini] { mini->hide(); };
    h.mini.setStartCaption = [mini](const QString &c) { mini->Command1->setText(c); };
    h.mini.setStartEnabled = [mini](bool on) { mini->Command1->setEnabled(on); };
    h.mini.setCountdownCaption = [mini](const QString &c) { mini->lblCountDown->setText(c); };
    h.mini.setCaption = [mini](const QString &text, const QString &) { mini->setCaption(text); };
    h.mini.createTextFromDatWebScrollMini = [mini] { mini->createTextFromDatWebScrollMini(); };
    h.mini.createTextWebScrollMini = [mini] { mini->createTextWebScrollMini(); };
    h.mini.close = [o] {
        if (o->mini)
            o->mini->close();
    };

    // Image viewer, TV graph, general web window, thread view.
    h.imageViewer.setImage = [v](const QStringList &resNo, const QStringList &urls, int modeChange) {
        v->setImage(resNo, urls, modeChange != 0);
    };
    h.imageViewer.show = [v] { v->showImageViewer(); };
    h.imageViewer.close = [v] { v->closeImageViewer(); };
    h.tv.show = [v] { v->showTvGraph(); };
    h.tv.close = [v] { v->closeTvGraph(); };
    h.web.setAndMoveUrlAndShow = [v](const QString &url) { v->showWebPage(url); };
    h.web.close = [v] { v->closeWebWindow(); };
    h.threadView.isVisible = [v] { return v->isThreadViewVisible(); };
    h.threadView.show = [v] { v->showThreadView(); };
    h.threadView.setHtmlTextFirst = [v] { v->refreshThreadView(); };
    h.threadView.close = [v] { v->closeThreadView(); };

    // Replay: its panel takes the side panel's slot, the player lies under the comments. A child
    // of the main window so that it can be found there; OtherWindows still deletes it first.
    o->replay = new replay::ReplayController(*main.lblMsgStrip, &main);
    replay::ReplayController *rc = o->replay;
    auto *slot = new QVBoxLayout(main.frameWmpControl);
    slot->setContentsMargins(0, 0, 0, 0);
    slot->addWidget(rc->panel());
    rc->video()->setParent(main.Frame1);
    new FillParent(rc->video(), main.Frame1);
    rc->video()->lower();
    rc->video()->hide();
    rc->setSettingsSource([&main] {
        WmpSettings s;
        s.comboMaxWmp = main.dialogs().settingsDialog()->ComboMaxWmp->currentText();
        s.ng = &main.ng().matcher();
        s.intMaxRow = main.settings().intMaxRow;
        s.blnIsOutLineModeOn = main.settings().blnIsOutLineModeOn;
        s.intScroll = main.settings().intScroll;
        const RgbColor &c = main.settings().varFontColor;
        s.varFontColor = quint32(c.red) << 16 | quint32(c.green) << 8 | quint32(c.blue);
        return s;
    });
    rc->setImageSink([v](const QStringList &resNo, const QStringList &urls) {
        v->setImage(resNo, urls, false);
    });
    // Replay mode hides the board controls and both countdowns; leaving it shows again what was
    // shown before (List3 or the tree, whichever the board buttons left visible).
    struct HiddenForReplay
    {
        QList<QPointer<QWidget>> widgets;
        QList<bool> wasVisible;
    };
    auto hidden = std::make_shared<HiddenForReplay>();
    h.replay.showControls = [rc, &main, o, hidden] {
        const bool on = !rc->isReplayMode();
        rc->setReplayMode(on);
        main.menuWmp->setText(replaytext::menuWmp(on));
        main.frameWmpControl->setVisible(on);
        if (on) {
            hidden->widgets.clear();
            for (QWidget *w : std::initializer_list<QWidget *>{main.cmdAll2ch, main.cmdGoLive,
                                                               main.comboFavorite, main.List3, main.List5,
                                                               main.TreeViewIta, main.lblCountDown})
                hidden->widgets << w;
            if (o->mini)
                hidden->widgets << o->mini->lblCountDown;
            hidden->wasVisible.clear();
            for (const QPointer<QWidget> &w : hidden->widgets) {
                hidden->wasVisible << (w && !w->isHidden());
                if (w)
                    w->hide();
            }
            main.frameWmpControl->raise();
            return;
        }
        for (int i = 0; i < hidden->widgets.size(); ++i)
            if (hidden->widgets[i])
                hidden->widgets[i]->setVisible(hidden->wasVisible[i]);
        // The countdown setting may have changed meanwhile.
        main.lblCountDown->setVisible(main.dialogs().settingsDialog()->chkCowntDown->isChecked());
        hidden->widgets.clear();
    };
    // The countdown check box shows the label; in replay mode it stays hidden until the toggle.
    QObject::connect(&main.dialogs().effects(), &SettingsEffects::countdownVisibleChanged, &main,
                     [rc, &main](bool) {
                         if (rc->isReplayMode())
                             main.lblCountDown->hide();
                     });
    // The offset lives in options.ini: set from it at start-up, kept in it on every change.
    QObject::connect(&main.dialogs().effects(), &SettingsEffects::replayOffsetChanged, rc->panel(),
                     &frameWmpControl::setOffsetSeconds);
    QObject::connect(rc->panel(), &frameWmpControl::offsetChanged, &main,
                     [&main](int seconds) { main.settings().options.replayOffsetSeconds = seconds; });
    h.replay.setReplayInterval = [rc](int ms) { rc->setReplayInterval(ms); };
    h.replay.closeStartTimeDialog = [rc] { rc->closeStartTimeDialog(); };
}
