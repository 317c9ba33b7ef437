#include "app/gui/formMain.h"

#include "app/Favorites.h"
#include "app/LiveSession.h"
#include "app/MainClosing.h"
#include "app/ViewMode.h"
#include "app/gui/MainLiveView.h"
#include "app/gui/SettingsDialogs.h"
#include "app/gui/formScrollSetting.h"
#include "net/ThreadChannel.h"
#include "platform/MessageService.h"
#include "platform/gui/TitleBar.h"
#include "platform/gui/TitleStrip.h"
#include "platform/gui/WindowEffects.h"
#include "present/gui/LabelStrip.h"
#include "present/gui/MarqueeSurface.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr QRgb kMarqueeBackground = 0xFF003366; // red 0, green 51, blue 102

} // namespace

formMain::formMain(QWidget *parent)
    : QWidget(parent)
    , m_thread(new ThreadChannel(this))
{
    m_dialogs = new SettingsDialogs(m_settings, this);
    createLiveSession();
    // The NG rules are the filter stage of every view.
    m_session->setResponseFilter(&m_ng);
    connectSettingsEffects();
    setupUi(this, m_boards);
    TimerReget = m_session->timer();
    connectHandlers(*this);
    buildMenus();

    connect(m_thread, &ThreadChannel::indexArrived, this, &formMain::listThreads);
    // Label3 change: enables Command1.
    connect(m_thread, &ThreadChannel::label3CaptionChanged, this, [this](const QString &caption) {
        Label3->setText(caption);
        Command1->setEnabled(true);
    });
}

formMain::~formMain()
{
    emit destroying();
    // The dialogs refer to m_settings; delete them while it still exists.
    delete m_dialogs;
    m_dialogs = nullptr;
}

void formMain::connectSettingsEffects()
{
    SettingsEffects &effects = m_dialogs->effects();
    connect(&effects, &SettingsEffects::countdownVisibleChanged, this, [this](bool visible) {
        if (lblCountDown)
            lblCountDown->setVisible(visible);
    });
    connect(&effects, &SettingsEffects::replayIntervalChanged, this, [this](int ms) {
        if (m_hooks.replay.setReplayInterval)
            m_hooks.replay.setReplayInterval(ms);
    });
    connect(&effects, &SettingsEffects::templateLookChanged, this, [this] { applyTemplateLook(); });
    connect(&effects, &SettingsEffects::opacityChanged, this,
            [this](int alpha, bool colourKey) { applyWindowOpacity(this, alpha, colourKey); });
    connect(&effects, &SettingsEffects::commentLanesChanged, this, [this](bool on) {
        if (lblMsgStrip)
            lblMsgStrip->model().setLanes(on);
    });
}

void formMain::applyTemplateLook()
{
    if (!lblMsgStrip)
        return;
    const TemplateFont &font = m_settings.templates.lblMsg;
    present::LabelLook look;
    look.fontFamily = font.family;
    look.pointSize = font.size;
    const RgbColor &c = m_settings.templates.lblMsgForeColor;
    look.colour = QColor(c.red, c.green, c.blue);
    lblMsgStrip->setLook(look);
    if (WebScroll && !font.family.isEmpty())
        WebScroll->setFontFamily(font.family);
}

// --- Start-up ------------------------------------------------------------------------------

void formMain::Form_Load()
{
    if (m_loaded)
        return;
    m_loaded = true;

    // The marquee browser shows a blank page; the strip is see-through (nothing painted); the
    // first display of a thread is still to come.
    WebScroll->navigate(QStringLiteral("about:blank"));
    threadPosition().blnIsFirst = true;

    // The layout, once at the window's own size.
    m_layout = initialLayout(int(pixelsToTwips(width(), logicalDpiX())),
                             int(pixelsToTwips(height(), logicalDpiY())));
    applyLayout(this, m_layout);

    // The live-board list (the hidden lists are hidden from the start).
    loadBoardMenu(false);

    // The settings dialog exists and fetches dat files.
    m_dialogs->installFontSelectionProvider();
    m_dialogs->settingsDialog()->chkIsDat->setChecked(true);

    // Window position and size: settings lines 2 to 5.
    const WindowGeometryTwips g = loadWindowGeometry(settingsFilePath());
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    move(twipsToPixels(g.left, dpiX), twipsToPixels(g.top, dpiY));
    resize(twipsToPixels(g.width, dpiX), twipsToPixels(g.height, dpiY));
    m_loadedGeometry = g;
    m_loadedPixels = geometry();
    m_layout = initialLayout(int(g.width), int(g.height));
    applyLayout(this, m_layout);

    // The dialogs' lists and their initial selections.
    m_dialogs->fillListsAndInitialSelections();

    // Favourites.
    m_boards.loadFavorites(favoritesFilePath());

    // No system title bar: the window draws its own.
    toggleTitleBar(this, true);

    // Countdown labels empty, the countdown shown.
    m_liveView->setCountdownCaption(QString());
    m_dialogs->settingsDialog()->chkCowntDown->setChecked(true);

    // The replay panel stays hidden until its menu entry.
    frameWmpControl->hide();

    // Settings lines 6 to 17, through the dialogs' handlers; the last selects the view mode.
    applySettingsLines();

    // The marquee browser's document.
    WebScroll->writeDocument(QStringLiteral("<HTML><Body bgcolor=#003366></body></html>"));
}

void formMain::applySettingsLines()
{
    const DialogSettings d = m_dialogs->readDialogSettings(settingsFilePath());
    m_dialogs->applyDialogSettings(d);
    applyTemplateLook();
    m_dialogs->settingsDialog()->applyOptions(loadOptions(optionsFilePath()));
    // Lines of ngrules.txt that cannot be used are told once, here.
    if (const QString problems = m_ng.load(ngRulesFilePath()); !problems.isEmpty())
        platform::showMessage(problems, this);
    m_ng.setChangedHandler([this] { showNgCount(); });
    showNgCount();

    {
        const QSignalBlocker blocker(comboMode);
        comboMode->clear();
        comboMode->addItems(viewModeCaptions());
        comboMode->setCurrentIndex(viewModeIndexOf(d.viewModeIndex));
    }
    comboMode_Click();
}

// --- Layout ----------------------------------------------------------------------------------

void formMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_loaded)
        Form_Resize();
}

void formMain::Form_Resize()
{
    if (isMinimized())
        return;
    m_layout = resizedLayout(m_layout, int(pixelsToTwips(width(), logicalDpiX())),
                             int(pixelsToTwips(height(), logicalDpiY())));
    applyLayout(this, m_layout);
}

// --- View modes ------------------------------------------------------------------------------

void formMain::comboMode_Click()
{
    m_settings.intViewMode = viewModeOf(comboMode->currentText());
    const bool marquee = m_settings.intViewMode == 2;
    // Each mode keys out its background with no whole-window alpha; the marquee page's
    // background is the key colour of its own mode.
    applyWindowOpacity(this, 255, true);
    WebScroll->setColourKey(marquee ? std::optional<QRgb>(kMarqueeBackground) : std::nullopt);
    WebScroll->setVisible(marquee);
    if (marquee)
        WebScroll->raise();
    if (m_settings.intViewMode == 3) {
        // Without a mini-mode window the main window stays, so the program never vanishes.
        if (m_hooks.mini.show) {
            m_hooks.mini.show();
            hide();
            m_hiddenForMini = true;
            return;
        }
    } else {
        cmdFont->setEnabled(!marquee);
    }
    if (m_hiddenForMini) {
        m_hiddenForMini = false;
        if (m_hooks.mini.hide)
            m_hooks.mini.hide();
        show();
    }
}

// --- Closing -----------------------------------------------------------------------------------

void formMain::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
    emit unloaded();
}

void formMain::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    TimerReget->stop();
    TimerList->stop();

    // Settings, in one write; a failure keeps the old file and does not stop the closing.
    SettingsFileContent c;
    c.boardMenuUrl = m_loaded ? m_boards.strBoardMenuUrl() : readBoardMenuUrl(settingsFilePath());
    c.geometry = geometryToSave(isMinimized() ? normalGeometry() : geometry(), m_loadedPixels,
                                m_loadedGeometry, logicalDpiX(), logicalDpiY());
    c.dialogs = m_dialogs->dialogSettings();
    c.dialogs.viewModeIndex = comboMode->currentIndex();
    // A read-only or full program folder: told once, and the closing goes on.
    if (const QString message = saveAtClosing(c, m_settings.options); !message.isEmpty())
        platform::showMessage(message, this);
    removeGeneratedPages();

    // The other windows, in order.
    auto run = [](const std::function<void()> &hook) {
        if (hook)
            hook();
    };
    run(m_hooks.imageViewer.close);
    run(m_hooks.replay.closeStartTimeDialog);
    run(m_hooks.tv.close);
    m_dialogs->closeAll();
    run(m_hooks.mini.close);
    run(m_hooks.threadList.close);
    run(m_hooks.threadView.close);
    run(m_hooks.web.close);
}

// --- Record access -----------------------------------------------------------------------------

const ResponseRecord &formMain::record() const { return m_thread->record(); }
QStringList formMain::getResNoArray() const { return m_thread->record().numbers(); }

std::optional<QString> formMain::getResNoArray2(qint16 intA) const { return m_thread->record().number(intA); }
std::optional<QString> formMain::getResNameArray2(qint16 intA) const { return m_thread->record().name(intA); }
std::optional<QString> formMain::getResTimeArray2(qint16 intA) const { return m_thread->record().time(intA); }
std::optional<QString> formMain::getResArray2(qint16 intA) const { return m_thread->record().body(intA); }
QString formMain::getResMailArray2(qint16 intA) const { return m_thread->record().mail(intA); }

QString formMain::lblCaptionText() const { return Frame6->lblCaption->text(); }

QRect formMain::mainWindowFrame() const { return frameGeometry(); }
