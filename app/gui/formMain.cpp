#include "app/gui/formMain.h"

#include "app/Favorites.h"
#include "app/Options.h"
#include "app/SettingsFile.h"
#include "app/SettingsRules.h"
#include "app/gui/BoardTreeView.h"
#include "app/LiveSession.h"
#include "app/gui/MainLiveView.h"
#include "app/gui/SettingsDialogs.h"
#include "platform/gui/TitleBar.h"
#include "platform/gui/TitleStrip.h"
#include "platform/gui/WindowEffects.h"
#include "app/gui/formFont.h"
#include "app/gui/formScrollSetting.h"
#include "core/ServicesConfig.h"
#include "core/TextStore.h"
#include "net/ThreadChannel.h"
#include "platform/MessageService.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/PlainText.h"
#include "present/CommentPipeline.h"
#include "present/MarqueePageBuilder.h"
#include "present/gui/LabelStrip.h"
#include "present/gui/MarqueeSurface.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include "app/gui/ThreadTitlePopup.h"
#include "platform/gui/ModelListView.h"
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSizeGrip>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr QRgb kMarqueeBackground = 0xFF003366; // red 0, green 51, blue 102

// The panels are dark so that the window sits quietly over video; the comment strip itself
// paints nothing.
const char *kStyle = R"(
#Frame2, #Frame3, #frameWmpControl { background: #1b2129; }
#Frame2 QLabel, #Frame3 QLabel, QCheckBox { color: #d7dee8; }
QPushButton { color: #e8edf3; background: #2c3540; border: 1px solid #3b4756;
              border-radius: 3px; padding: 1px 8px; min-height: 18px; }
#Frame2 QPushButton, #Frame2 QComboBox, #Frame2 QCheckBox, #Frame2 QLabel { font-size: 12px; }
QPushButton:hover { background: #37434f; }
QPushButton:pressed { background: #1f6f8b; }
QPushButton:disabled { color: #7b8694; background: #242b34; border-color: #2e3742; }
QComboBox { color: #e8edf3; background: #2c3540; border: 1px solid #3b4756; border-radius: 3px;
            padding: 0 4px; }
QComboBox QAbstractItemView { color: #e8edf3; background: #232a33;
                              selection-background-color: #1f6f8b; }
QListView, QTreeWidget { color: #e3e9f0; background: #232a33; border: 1px solid #333d49;
                           selection-background-color: #1f6f8b; }
QListView:disabled { color: #8793a1; }
#lblCountDown { color: #ffd479; font-weight: 600; }
#Label1 { color: #9fd3ff; }
#lblNgCount { color: #c8ced6; }
#PictureListbox { background: #fffbe6; border: 1px solid #8a7f55; }
QScrollBar { background: #1b2129; border: none; }
QScrollBar:horizontal { height: 10px; }
QScrollBar:vertical { width: 10px; }
QScrollBar::handle { background: #3b4756; border-radius: 4px; min-width: 20px; min-height: 20px; }
QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }
QScrollBar::add-page, QScrollBar::sub-page { background: none; }
#PictureListbox QLabel { color: #222; }
)";

// A list of the main window: one column of a model, named as the program knows it.
ModelListView *boardList(QAbstractItemModel &model, int column, const char *name, QWidget *parent)
{
    auto *list = new ModelListView(&model, column, parent);
    list->setObjectName(QString::fromLatin1(name));
    return list;
}

} // namespace

formMain::formMain(QWidget *parent)
    : QWidget(parent)
    , m_thread(new ThreadChannel(this))
{
    setObjectName(QStringLiteral("formMain"));
    setWindowTitle(QStringLiteral("Kestrelon"));
    // The comment strip paints nothing, so the window shows what lies behind it there.
    setAttribute(Qt::WA_TranslucentBackground);
    setStyleSheet(QString::fromUtf8(kStyle));
    resize(678, 306);

    m_dialogs = new SettingsDialogs(m_settings, this);
    createLiveSession();
    // The NG rules are the filter stage of every view.
    m_session->setResponseFilter(&m_ng);
    connectSettingsEffects();
    buildWidgets();
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

void formMain::buildWidgets()
{
    Frame6 = new TitleStrip(this);

    Frame1 = new QWidget(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setAttribute(Qt::WA_TranslucentBackground);
    lblMsgStrip = new present::LabelStrip(Frame1);
    WebScroll = new MarqueeSurface(Frame1);
    WebScroll->hide();

    Frame2 = new QWidget(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setAttribute(Qt::WA_StyledBackground);
    Command1 = new QPushButton(QStringLiteral("開始"), Frame2);
    Command1->setEnabled(false);
    Command2 = new QPushButton(QStringLiteral("Web表示"), Frame2);
    Command2->setEnabled(false);
    cmdConfig = new QPushButton(QStringLiteral("コンフィグ"), Frame2);
    cmdFont = new QPushButton(QStringLiteral("フォント設定"), Frame2);
    cmdImageView = new QPushButton(QStringLiteral("機能呼び出し"), Frame2);
    cmdWrite = new QPushButton(QStringLiteral("書き込み"), Frame2);
    cmdWrite->setToolTip(QStringLiteral("なんちゃって機能。"));
    chkSaizenmen = new QCheckBox(QStringLiteral("常に最前面"), Frame2);
    comboMode = new QComboBox(Frame2);
    // Labels that show board text or numbers from it show plain text only.
    lblCountDown = platform::plainTextLabel(new QLabel(Frame2));
    lblCountDown->setObjectName(QStringLiteral("lblCountDown"));
    lblCountDown->setMinimumWidth(92);
    Label1 = platform::plainTextLabel(new QLabel(Frame2));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setMinimumWidth(30);
    lblNgCount = new QLabel(Frame2);
    lblNgCount->setObjectName(QStringLiteral("lblNgCount"));
    lblNgCount->setTextFormat(Qt::PlainText);
    lblNgCount->hide();
    Label3 = platform::plainTextLabel(new QLabel(Frame2));
    Label3->hide(); // the current thread page address: state, not for show
    for (QPushButton *b : {Command1, Command2, cmdConfig, cmdFont, cmdImageView, cmdWrite})
        b->setFocusPolicy(Qt::NoFocus);
    // Two rows: the live cycle and the view on top, the tools and dialogs below.
    auto *rows = new QVBoxLayout(Frame2);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(2);
    auto *top = new QHBoxLayout;
    top->setSpacing(4);
    top->addWidget(Command1);
    top->addWidget(Command2);
    top->addWidget(comboMode);
    top->addWidget(lblCountDown);
    top->addWidget(Label1);
    top->addWidget(lblNgCount);
    top->addStretch(1);
    top->addWidget(chkSaizenmen);
    auto *tools = new QHBoxLayout;
    tools->setSpacing(4);
    tools->addWidget(cmdConfig);
    tools->addWidget(cmdFont);
    tools->addWidget(cmdImageView);
    tools->addWidget(cmdWrite);
    tools->addStretch(1);
    rows->addLayout(top);
    rows->addLayout(tools);

    Frame3 = new QWidget(this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Frame3->setAttribute(Qt::WA_StyledBackground);
    comboFavorite = new QComboBox(Frame3);
    comboFavorite->setToolTip(QStringLiteral("お気に入り"));
    cmdAll2ch = new QPushButton(QStringLiteral("All2ch"), Frame3);
    cmdGoLive = new QPushButton(QStringLiteral("実況板"), Frame3);
    comboFavorite->setModel(&m_boards.favorites());
    comboFavorite->setModelColumn(BoardListModel::NameColumn);
    // Reloaded favourites leave none chosen (the box would take the first one by itself).
    connect(&m_boards.favorites(), &QAbstractItemModel::modelReset, comboFavorite,
            [this] { comboFavorite->setCurrentIndex(-1); });
    List3 = boardList(m_boards.liveBoards(), BoardListModel::NameColumn, "List3", Frame3);
    TreeViewIta = new BoardTreeView(Frame3);
    TreeViewIta->hide();
    List5 = boardList(m_boards.threads(), ThreadListModel::EntryColumn, "List5", Frame3);
    List5->setMouseTracking(true);
    frameWmpControl = new QWidget(Frame3);
    frameWmpControl->setObjectName(QStringLiteral("frameWmpControl"));
    frameWmpControl->setAttribute(Qt::WA_StyledBackground);
    frameWmpControl->hide();
    new QSizeGrip(Frame3); // no system frame: the grip resizes the window (placed in applyLayout)

    // The side panel starts under the title strip's lower edge: keep the title pictures on top.
    Frame6->raise();

    // The hidden lists show the other column of the same models: the address beside each name.
    List1 = boardList(m_boards.allBoards(), BoardListModel::NameColumn, "List1", this);
    List2 = boardList(m_boards.allBoards(), BoardListModel::AddressColumn, "List2", this);
    List4 = boardList(m_boards.liveBoards(), BoardListModel::AddressColumn, "List4", this);
    List6 = boardList(m_boards.threads(), ThreadListModel::AddressColumn, "List6", this);
    listFavoriteHide = boardList(m_boards.favorites(), BoardListModel::AddressColumn, "listFavoriteHide", this);
    for (ModelListView *hidden : {List1, List2, List4, List6, listFavoriteHide})
        hidden->hide();

    PictureListbox = new ThreadTitlePopup(this);
    lblList = PictureListbox->lblList;
    TimerList = PictureListbox->TimerList;

    TimerReget = m_session->timer();

    connect(Command1, &QPushButton::clicked, this, &formMain::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &formMain::Command2_Click);
    connect(cmdImageView, &QPushButton::clicked, this, &formMain::cmdImageView_Click);
    connect(cmdWrite, &QPushButton::clicked, this, &formMain::cmdWrite_Click);
    connect(cmdAll2ch, &QPushButton::clicked, this, &formMain::cmdAll2ch_Click);
    connect(cmdGoLive, &QPushButton::clicked, this, &formMain::cmdGoLive_Click);
    connect(chkSaizenmen, &QCheckBox::clicked, this, &formMain::chkSaizenmen_Click);
    connect(comboMode, &QComboBox::activated, this, &formMain::comboMode_Click);
    connect(comboFavorite, &QComboBox::activated, this, &formMain::comboFavorite_Click);
    connect(List1, &QListView::clicked, this, &formMain::List1_Click);
    connect(List1, &QListView::doubleClicked, this, &formMain::List1_DblClick);
    connect(List3, &QListView::clicked, this, &formMain::List3_Click);
    connect(List3, &QListView::doubleClicked, this, &formMain::List3_DblClick);
    connect(List5, &QListView::clicked, this, &formMain::List5_Click);
    connect(List5, &QListView::doubleClicked, this, &formMain::List5_DblClick);
    connect(TreeViewIta, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        // A category only folds; the board nodes open.
        if (item && item->parent())
            TreeViewIta_DblClick();
    });

    // Mouse releases: the panel buttons record where they were released; the lists open their
    // context menus on a right-button release; List5 remembers the pointer for its pop-up.
    for (QWidget *w : {static_cast<QWidget *>(cmdConfig), static_cast<QWidget *>(cmdFont),
                       static_cast<QWidget *>(cmdImageView), List3->viewport(),
                       TreeViewIta->viewport(), List5->viewport()})
        w->installEventFilter(this);
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
    applyLayout();

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
    applyLayout();

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
    formFont *font = m_dialogs->fontDialog();
    formScrollSetting *config = m_dialogs->settingsDialog();
    FontListDefaults defaults;
    defaults.fontCount = font->comboFont->count();
    defaults.fontIndex = font->initialFontIndex();
    defaults.sizeIndex = formFont::initialFontSizeIndex();
    defaults.colourIndex = formFont::initialFontColourIndex();
    const DialogSettings d = loadDialogSettings(settingsFilePath(), defaults);

    font->comboFont->setCurrentIndex(d.fontIndex);
    m_settings.templates.copyFontNameFromLblMsg();
    font->comboFontSize->setCurrentIndex(d.fontSizeIndex);
    m_settings.templates.copyFontSizeFromLblMsg();
    font->comboFontColor->setCurrentIndex(d.fontColorIndex);
    m_settings.templates.copyForeColorFromLblMsg();
    config->comboMax->setCurrentIndex(d.maxIndex);
    config->comboMaxRow->setCurrentIndex(d.maxRowIndex);
    config->chkCowntDown->setChecked(d.countDown == 1);
    config->chkIsDat->setChecked(d.datMode == 1);
    config->chkOutLineMode->setChecked(d.outLineMode == 1);
    config->ComboMaxWmp->setCurrentIndex(d.maxWmpIndex);
    config->comboRegetTime->setCurrentIndex(d.regetTimeIndex);
    if (d.nextWhen1000 >= 0 && d.nextWhen1000 < 3)
        config->Option1[d.nextWhen1000]->setChecked(true);
    applyTemplateLook();
    config->applyOptions(loadOptions(optionsFilePath()));
    // Lines of ngrules.txt that cannot be used are told once, here.
    if (const QString problems = m_ng.load(ngRulesFilePath()); !problems.isEmpty())
        platform::showMessage(problems, this);
    m_ng.setChangedHandler([this] { showNgCount(); });
    showNgCount();

    {
        const QSignalBlocker blocker(comboMode);
        comboMode->clear();
        comboMode->addItems({QStringLiteral("モード１"), QStringLiteral("モード２"),
                             QStringLiteral("miniモード")});
        comboMode->setCurrentIndex(d.viewModeIndex >= 0 && d.viewModeIndex < 3 ? d.viewModeIndex : 0);
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
    applyLayout();
}

void formMain::applyLayout()
{
    const MainLayout &l = m_layout;
    Frame6->applyLayout(l.titleStrip, l.titleImage, l.pictures);
    Frame1->setGeometry(twipsToPixelRect(l.strip, this));
    lblMsgStrip->setGeometry(0, 0, Frame1->width(), Frame1->height());
    WebScroll->setGeometry(twipsToPixelRect(l.webScroll, Frame1));
    Frame2->setGeometry(twipsToPixelRect(l.bottomPanel, this));
    Frame3->setGeometry(twipsToPixelRect(l.sidePanel, this));
    comboFavorite->setGeometry(twipsToPixelRect(l.favorites, Frame3));
    const QRect buttons = twipsToPixelRect(l.boardButtons, Frame3);
    const int half = (buttons.width() - 4) / 2;
    cmdAll2ch->setGeometry(buttons.x(), buttons.y(), half, buttons.height());
    cmdGoLive->setGeometry(buttons.x() + half + 4, buttons.y(), buttons.width() - half - 4,
                           buttons.height());
    const QRect boards = twipsToPixelRect(l.boardList, Frame3);
    List3->setGeometry(boards);
    TreeViewIta->setGeometry(boards); // laid exactly over List3
    QRect threads = twipsToPixelRect(l.threadList, Frame3);
    // The side panel reaches below the window's bottom edge; keep the list inside the window.
    const int visibleBottom = height() - Frame3->y() - 4;
    if (threads.bottom() > visibleBottom && visibleBottom - threads.top() > 20)
        threads.setBottom(visibleBottom);
    List5->setGeometry(threads);
    // The replay panel takes the place of both lists while it is shown.
    frameWmpControl->setGeometry(QRect(boards.topLeft(), threads.bottomRight()));
    if (auto *grip = Frame3->findChild<QSizeGrip *>()) {
        grip->resize(grip->sizeHint());
        grip->move(Frame3->width() - grip->width(), visibleBottom - grip->height() + 4);
        grip->raise();
    }
}

// --- View modes ------------------------------------------------------------------------------

void formMain::comboMode_Click()
{
    const QString mode = comboMode->currentText();
    // Each mode keys out its background with no whole-window alpha.
    applyWindowOpacity(this, 255, true);
    if (mode == QStringLiteral("モード１")) {
        m_settings.intViewMode = 1;
        WebScroll->hide();
        WebScroll->setColourKey(std::nullopt);
        cmdFont->setEnabled(true);
    } else if (mode == QStringLiteral("モード２")) {
        m_settings.intViewMode = 2;
        WebScroll->setColourKey(kMarqueeBackground);
        WebScroll->show();
        WebScroll->raise();
        cmdFont->setEnabled(false);
    } else {
        m_settings.intViewMode = 3;
        WebScroll->hide();
        WebScroll->setColourKey(std::nullopt);
        // Without a mini-mode window the main window stays, so the program never vanishes.
        if (m_hooks.mini.show) {
            m_hooks.mini.show();
            hide();
            m_hiddenForMini = true;
            return;
        }
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
    formFont *font = m_dialogs->fontDialog();
    formScrollSetting *config = m_dialogs->settingsDialog();
    SettingsFileContent c;
    c.boardMenuUrl = m_loaded ? m_boards.strBoardMenuUrl() : readBoardMenuUrl(settingsFilePath());
    const QRect frame = isMinimized() ? normalGeometry() : geometry();
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    auto twips = [](int now, int loadedPx, double loadedTwips, double dpi) {
        return now == loadedPx ? loadedTwips : std::round(pixelsToTwips(now, dpi));
    };
    c.geometry.top = twips(frame.y(), m_loadedPixels.y(), m_loadedGeometry.top, dpiY);
    c.geometry.left = twips(frame.x(), m_loadedPixels.x(), m_loadedGeometry.left, dpiX);
    c.geometry.width = twips(frame.width(), m_loadedPixels.width(), m_loadedGeometry.width, dpiX);
    c.geometry.height = twips(frame.height(), m_loadedPixels.height(), m_loadedGeometry.height, dpiY);
    c.dialogs.fontIndex = font->comboFont->currentIndex();
    c.dialogs.fontSizeIndex = font->comboFontSize->currentIndex();
    c.dialogs.fontColorIndex = font->comboFontColor->currentIndex();
    c.dialogs.maxIndex = config->comboMax->currentIndex();
    c.dialogs.maxRowIndex = config->comboMaxRow->currentIndex();
    c.dialogs.countDown = config->chkCowntDown->isChecked() ? 1 : 0;
    c.dialogs.datMode = config->chkIsDat->isChecked() ? 1 : 0;
    c.dialogs.outLineMode = config->chkOutLineMode->isChecked() ? 1 : 0;
    c.dialogs.maxWmpIndex = config->ComboMaxWmp->currentIndex();
    c.dialogs.regetTimeIndex = config->comboRegetTime->currentIndex();
    c.dialogs.nextWhen1000 = config->Option1[0]->isChecked() ? 0 : config->Option1[1]->isChecked() ? 1 : 2;
    c.dialogs.viewModeIndex = comboMode->currentIndex();
    // A read-only or full program folder: told once, and the closing goes on.
    const bool settingsSaved = saveSettings(settingsFilePath(), c);
    const bool optionsSaved = saveOptions(optionsFilePath(), m_settings.options);
    if (!settingsSaved)
        platform::showMessage(settingsNotSavedMessage(), this);
    else if (!optionsSaved)
        platform::showMessage(optionsNotSavedMessage(), this);

    // Generated pages (a missing file is no error).
    removeFile(platform::programPath(marqueePageFileName()));
    removeFile(platform::programPath(QStringLiteral("image/tempHtml3.html")));

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

bool formMain::SetThreadIndex(const QString &strSvr, const QString &strBan)
{
    return m_thread->SetThreadIndex(strSvr, strBan);
}

bool formMain::SetThread(const QString &strSvr, const QString &strBan, const QString &strThreNo)
{
    return m_thread->SetThread(strSvr, strBan, strThreNo);
}

const ResponseRecord &formMain::record() const { return m_thread->record(); }
QStringList formMain::getResNoArray() const { return m_thread->record().numbers(); }

std::optional<QString> formMain::getResNoArray2(qint16 intA) const { return m_thread->record().number(intA); }
std::optional<QString> formMain::getResNameArray2(qint16 intA) const { return m_thread->record().name(intA); }
std::optional<QString> formMain::getResTimeArray2(qint16 intA) const { return m_thread->record().time(intA); }
std::optional<QString> formMain::getResArray2(qint16 intA) const { return m_thread->record().body(intA); }
QString formMain::getResMailArray2(qint16 intA) const { return m_thread->record().mail(intA); }

QString formMain::lblCaptionText() const { return Frame6->lblCaption->text(); }

QRect formMain::mainWindowFrame() const { return frameGeometry(); }
