#include "mini/gui/formMiniMode.h"

#include "platform/gui/ChromePicture.h"
#include "platform/gui/TitleStrip.h"
#include "platform/gui/WindowDragger.h"
#include "platform/gui/WindowEffects.h"
#include "core/TextStore.h"
#include "mini/MiniHost.h"
#include "net/ResponseRecord.h"
#include "platform/MessageService.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/PlainText.h"
#include "present/ThreadPosition.h"
#include "present/gui/MarqueeSurface.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QSizeGrip>
#include <QPushButton>
#include <QTimer>

#include <cmath>

namespace {

// The classic browser's top page margin, which the shifted browser rect hides.
constexpr double kPageTopMargin = 15;

const char *const kStyle = R"(
QPushButton {
    color: #e6ecf2; background: rgba(40, 60, 84, 220);
    border: 1px solid rgba(140, 170, 200, 150); border-radius: 3px; padding: 0 8px;
}
QPushButton:hover { background: rgba(58, 86, 118, 230); }
QPushButton:pressed { background: rgba(28, 42, 60, 240); }
QPushButton:disabled { color: rgba(230, 236, 242, 110); border-color: rgba(140, 170, 200, 70); }
QComboBox {
    color: #e6ecf2; background: rgba(40, 60, 84, 220);
    border: 1px solid rgba(140, 170, 200, 150); border-radius: 3px; padding: 0 6px;
}
QComboBox QAbstractItemView {
    color: #e6ecf2; background: #24364b; selection-background-color: #3d5b7d;
}
QCheckBox { color: #e6ecf2; background: transparent; spacing: 5px; }
QCheckBox::indicator {
    width: 12px; height: 12px; border: 1px solid rgba(160, 190, 220, 200); border-radius: 2px;
    background: rgba(40, 60, 84, 220);
}
QCheckBox::indicator:checked { background: #7fb2e5; border-color: #cfe3f7; }
QLabel#lblCountDown { color: #ffd27a; background: transparent; font-weight: 600; }
QWidget#Frame1 { background: gainsboro; border: none; }
)";

} // namespace

formMiniMode::formMiniMode(MiniHost *host, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_host(host)
{
    setObjectName(QStringLiteral("formMiniMode"));
    setWindowTitle(QStringLiteral("Kestrelon"));
    setAttribute(Qt::WA_TranslucentBackground);
    // The program's lifetime follows the main window: closing this one alone must not quit
    // before the main window's closing has written the settings.
    setAttribute(Qt::WA_QuitOnClose, false);
    setStyleSheet(QString::fromUtf8(kStyle));

    Image1 = new TitleImage(this);
    lblCaption = createCaptionLabel(initialCaption(), this);
    picMin = createMinPicture(this);
    picClose = createClosePicture(this);

    Frame1 = new QWidget(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setAttribute(Qt::WA_StyledBackground);
    WebScroll = new MarqueeSurface(Frame1);
    WebScroll->setFlowTopMargin(kPageTopMargin);

    Command1 = new QPushButton(QStringLiteral("開始"), this);
    comboMode = new QComboBox(this);
    chkSaizenmen = new QCheckBox(QStringLiteral("常に最前面"), this);
    lblCountDown = new QLabel(this);
    lblCountDown->setObjectName(QStringLiteral("lblCountDown"));
    lblCountDown->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // Frameless, so the user resizes it by this grip in the bottom right corner.
    m_sizeGrip = new QSizeGrip(this);

    m_dragger = new WindowDragger(this);
    m_dragger->addHandle(Image1);
    m_dragger->addHandle(lblCaption);

    connect(Command1, &QPushButton::clicked, this, &formMiniMode::Command1_Click);
    // activated, not currentIndexChanged: choosing the entry already selected acts again
    // (the selection is kept after "スレ一覧" and "元に戻す").
    connect(comboMode, &QComboBox::activated, this, &formMiniMode::comboMode_Click);
    connect(chkSaizenmen, &QCheckBox::clicked, this, &formMiniMode::chkSaizenmen_Click);
    connect(picMin, &ChromePicture::activated, this, &formMiniMode::picMin_Click);
    connect(picClose, &ChromePicture::activated, this, &formMiniMode::picClose_Click);

    // Load: the three entries, the first selected.
    comboMode->addItems({QStringLiteral("レスモード"), QStringLiteral("スレ一覧"),
                         QStringLiteral("元に戻す")});
    comboMode->setCurrentIndex(0);
    comboMode_Click();

    const double dpiX = logicalDpiX(), dpiY = logicalDpiY();
    setMinimumSize(twipsToPixels(miniMinimumWidth(), dpiX), twipsToPixels(minisizes::kWindowHeight, dpiY));
    resize(twipsToPixels(minisizes::kWindowWidth, dpiX), twipsToPixels(minisizes::kWindowHeight, dpiY));
    applyLayout();
}

formMiniMode::~formMiniMode() = default;

QString formMiniMode::initialCaption()
{
    return QStringLiteral("Kestrelon\u3000スレッドが選択されていません");
}

void formMiniMode::setCaption(const QString &text)
{
    lblCaption->setText(text);
    lblCaption->setToolTip(platform::plainToolTip(text));
}

// ---- layout ----

void formMiniMode::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    applyLayout();
}

void formMiniMode::applyLayout()
{
    const double dpiX = logicalDpiX(), dpiY = logicalDpiY();
    m_layout = miniLayoutFor(int(std::lround(pixelsToTwips(width(), dpiX))),
                             int(std::lround(pixelsToTwips(height(), dpiY))));
    Image1->setGeometry(rect()); // the whole window, to the pixel
    lblCaption->setGeometry(twipsToPixelRect(m_layout.pictures.caption, this));
    picMin->setGeometry(twipsToPixelRect(m_layout.pictures.picMin, this));
    picClose->setGeometry(twipsToPixelRect(m_layout.pictures.picClose, this));
    Frame1->setGeometry(twipsToPixelRect(m_layout.frame1, this));
    WebScroll->setGeometry(twipsToPixelRect(m_layout.webScroll, this));
    Command1->setGeometry(twipsToPixelRect(m_layout.command1, this));
    comboMode->setGeometry(twipsToPixelRect(m_layout.comboMode, this));
    chkSaizenmen->setGeometry(twipsToPixelRect(m_layout.chkSaizenmen, this));
    lblCountDown->setGeometry(twipsToPixelRect(m_layout.lblCountDown, this));
    const QSize grip = m_sizeGrip->sizeHint();
    m_sizeGrip->setGeometry(width() - grip.width(), height() - grip.height(), grip.width(), grip.height());
    m_sizeGrip->raise();
}

// ---- controls ----

void formMiniMode::Command1_Click()
{
    if (m_host)
        m_host->command1Click();
}

void formMiniMode::comboMode_Click()
{
    switch (comboMode->currentIndex()) {
    case 1: // "スレ一覧"
        if (m_host)
            m_host->showSureItiranAtTop(y());
        break;
    case 2: // "元に戻す"
        hide();
        if (m_host) {
            m_host->showMainWindow();
            m_host->selectComboMode(1); // "モード２"
        }
        break;
    default: // "レスモード"
        break;
    }
}

void formMiniMode::chkSaizenmen_Click()
{
    setAlwaysOnTop(this, chkSaizenmen->isChecked());
}

void formMiniMode::picMin_Click()
{
    showMinimized();
}

void formMiniMode::picClose_Click()
{
    if (!confirmExit(this))
        return;
    close();
    if (m_host)
        m_host->closeMainWindow();
}

void formMiniMode::closeEvent(QCloseEvent *event)
{
    event->accept();
    // Closed by the window system (there is no frame, but a desktop may still close it):
    // the main window is hidden in mini mode, so end the program through its closing rather
    // than leave it running with no window.
    if (event->spontaneous() && m_host)
        QTimer::singleShot(0, this, [this] { m_host->closeMainWindow(); });
}

// ---- builders ----

MiniSettings formMiniMode::settingsFromHost() const
{
    MiniSettings settings;
    settings.label3 = m_host->label3Caption();
    settings.strGetSintyakuFooter = m_host->strGetSintyakuFooter();
    settings.comboMax = m_host->comboMaxText();
    settings.intMaxRow = m_host->intMaxRow();
    settings.intNextWhen1000 = m_host->intNextWhen1000();
    settings.filter = m_host->responseFilter();
    return settings;
}

void formMiniMode::createTextFromDatWebScrollMini()
{
    if (!m_host)
        return;
    const MiniBuild build = ::createTextFromDatWebScrollMini(
        m_host->threadPosition(), m_host->responseRecord(), settingsFromHost(), m_host->lngMsgCount());
    applyBuild(build);
}

void formMiniMode::createTextWebScrollMini()
{
    if (!m_host)
        return;
    QString text2 = m_host->text2();
    const QString before = text2;
    const MiniBuild build = ::createTextWebScrollMini(m_host->threadPosition(), text2,
                                                      settingsFromHost(), m_host->lngMsgCount());
    if (text2 != before)
        m_host->setText2(text2); // the text box keeps the page trimmed to its first "<dt>"
    applyBuild(build);
}

void formMiniMode::applyBuild(const MiniBuild &build)
{
    // Captions first: the Label3 change enables the main Start button, which a thread that is
    // already full then disables again.
    if (build.label1 && build.outcome == ViewBuild::Outcome::FirstCall)
        m_host->setLabel1Caption(*build.label1);
    if (build.label3)
        m_host->setLabel3Caption(*build.label3);
    if (build.label1 && build.outcome != ViewBuild::Outcome::FirstCall)
        m_host->setLabel1Caption(*build.label1);

    if (build.outcome == ViewBuild::Outcome::FirstCall) {
        if (build.alreadyFull) {
            platform::showMessage(alreadyFullMessage(), this);
            m_host->setStartEnabled(false);
        } else if (build.startCountdown) {
            m_host->setRegetTimerEnabled(true);
        }
        return;
    }

    // A page that cannot be written leaves the previous one on screen; the end of the thread
    // is handled all the same, so a finished thread never keeps being fetched.
    if (build.outcome == ViewBuild::Outcome::Shown) {
        const QString path = platform::programPath(miniPageFileName());
        if (writeFileText(build.page, path, Durability::None))
            WebScroll->showRows(path, build.rows);
    }

    if (!build.threadEnded)
        return;
    // Both Start buttons go off, except that web mode leaves this window's as it was.
    const bool ownStartEnabled = Command1->isEnabled();
    m_host->setStartEnabled(false);
    if (!build.disableMiniCommand1)
        Command1->setEnabled(ownStartEnabled);
    m_host->setRegetTimerEnabled(false);
    m_host->setStartCaption(QStringLiteral("開始"));
    m_host->setChkOutLineModeEnabled(false);
    switch (build.next) {
    case EndOfThreadAction::AutoMoveNextSure:
        m_host->autoMoveNextSure();
        break;
    case EndOfThreadAction::ShowSureItiran:
        m_host->showSureItiranAtTop(y());
        break;
    case EndOfThreadAction::Nothing:
        break;
    }
}
