// The mini window against a fake main window: the builders' effects on both windows and the
// page file, the mode list, the title pictures, dragging, layout and closing.
#include "TestSupport.h"
#include "platform/gui/ChromePicture.h"
#include "platform/gui/TitleStrip.h"
#include "mini/MiniHost.h"
#include "mini/gui/formMiniMode.h"
#include "net/ResponseRecord.h"
#include "platform/Cp932.h"
#include "present/ThreadPosition.h"
#include "present/gui/MarqueeSurface.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSizeGrip>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

const QString kThread = QStringLiteral("http://127.0.0.1/test/read.cgi/livenhk/1231808850/");

// Records what the mini window asks of the main window, in order.
class FakeHost : public MiniHost
{
public:
    QStringList calls;
    ThreadPosition position;
    ResponseRecord record;
    QString text2Value;
    QString label3 = kThread + QStringLiteral("l50");
    QString label1;
    QString comboMax = QStringLiteral("30");
    int maxRow = 2;
    int nextWhen1000 = 2;
    qint32 msgCount = 0;
    bool timerReget = false;
    bool command1Enabled = true;
    QString command1Caption = QStringLiteral("停止");
    bool chkOutLineModeEnabled = true;
    formMiniMode *window = nullptr;

    void command1Click() override { calls << QStringLiteral("command1Click"); }
    void showMainWindow() override { calls << QStringLiteral("showMainWindow"); }
    void selectComboMode(int index) override { calls << QStringLiteral("selectComboMode %1").arg(index); }
    void closeMainWindow() override { calls << QStringLiteral("closeMainWindow"); }
    void showSureItiranAtTop(int top) override { calls << QStringLiteral("showSureItiranAtTop %1").arg(top); }
    void autoMoveNextSure() override { calls << QStringLiteral("autoMoveNextSure"); }

    ThreadPosition &threadPosition() override { return position; }
    const ResponseRecord &responseRecord() const override { return record; }
    QString text2() const override { return text2Value; }
    void setText2(const QString &text) override { text2Value = text; }
    QString label3Caption() const override { return label3; }
    void setLabel3Caption(const QString &caption) override
    {
        calls << QStringLiteral("Label3");
        if (caption != label3)
            command1Enabled = true; // the Label3 change handler enables Start
        label3 = caption;
    }
    void setLabel1Caption(const QString &caption) override { label1 = caption; }
    QString strGetSintyakuFooter() const override { return QStringLiteral("n-"); }
    QString comboMaxText() const override { return comboMax; }
    int intMaxRow() const override { return maxRow; }
    int intNextWhen1000() const override { return nextWhen1000; }
    qint32 &lngMsgCount() override { return msgCount; }
    void setRegetTimerEnabled(bool enabled) override { timerReget = enabled; }
    // Both Start buttons, as the main window writes them through its hooks.
    void setStartEnabled(bool enabled) override
    {
        command1Enabled = enabled;
        if (window)
            window->Command1->setEnabled(enabled);
    }
    void setStartCaption(const QString &caption) override
    {
        command1Caption = caption;
        if (window)
            window->Command1->setText(caption);
    }
    void setChkOutLineModeEnabled(bool enabled) override { chkOutLineModeEnabled = enabled; }

    void setResponses(int count, const QString &lastBody = QString())
    {
        QStringList numbers, others, bodies;
        for (int n = 1; n <= count; ++n) {
            numbers << QString::number(n);
            others << QString();
            bodies << (n == count && !lastBody.isNull() ? lastBody : QStringLiteral("レス%1").arg(n));
        }
        numbers << QString();
        others << QString();
        bodies << QString();
        record.assign(numbers, others, others, bodies);
    }
};

struct MiniFixture
{
    testsupport::TempProgramFolder home;
    testsupport::RecordedMessages messages;
    FakeHost host;
    formMiniMode window{&host};
    MiniFixture() { host.window = &window; }

    QString pagePath() const { return home.file(QStringLiteral("tempHtml2.html")); }
    QString pageOnDisk() const { return platform::decodeCp932(testsupport::readBytes(pagePath())); }

    // Start, then a first fetch at `shown` responses.
    void startAt(int shown)
    {
        host.position = ThreadPosition();
        host.setResponses(shown);
        window.createTextFromDatWebScrollMini();
    }
};

} // namespace

// The friend QEvent keeps for marking an event as coming from the window system (as QtTest does).
class QSpontaneKeyEvent
{
public:
    static void setSpontaneous(QEvent *event) { event->setSpontaneous(); }
};

namespace {

void sendMouse(QWidget *widget, QEvent::Type type, QPoint local)
{
    const QPointF global = widget->mapToGlobal(QPointF(local));
    QMouseEvent event(type, QPointF(local), global, Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

TEST(formMiniMode, LoadsWithItsCaptionModeListAndStartButton)
{
    MiniFixture f;
    EXPECT_EQ(f.window.lblCaption->text(), QStringLiteral("Kestrelon\u3000スレッドが選択されていません"));
    ASSERT_EQ(f.window.comboMode->count(), 3);
    EXPECT_EQ(f.window.comboMode->itemText(0), QStringLiteral("レスモード"));
    EXPECT_EQ(f.window.comboMode->itemText(1), QStringLiteral("スレ一覧"));
    EXPECT_EQ(f.window.comboMode->itemText(2), QStringLiteral("元に戻す"));
    EXPECT_EQ(f.window.comboMode->currentIndex(), 0);
    EXPECT_EQ(f.window.Command1->text(), QStringLiteral("開始"));
    EXPECT_EQ(f.window.chkSaizenmen->text(), QStringLiteral("常に最前面"));
    EXPECT_TRUE(f.window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(f.host.calls.isEmpty()); // selecting "レスモード" at load does nothing

    f.window.setCaption(QStringLiteral("Kestrelon 実況スレ (123)"));
    EXPECT_EQ(f.window.lblCaption->toolTip(), QStringLiteral("Kestrelon 実況スレ (123)"));

    f.window.Command1->click();
    EXPECT_EQ(f.host.calls, QStringList{QStringLiteral("command1Click")});
}

TEST(formMiniMode, DatBuildsWriteTheRowAndShowItOnlyWhenSomethingArrived)
{
    MiniFixture f;
    f.startAt(120);
    EXPECT_TRUE(f.host.timerReget);
    EXPECT_EQ(f.host.label3, kThread + QStringLiteral("120n-"));
    EXPECT_EQ(f.host.label1, QStringLiteral("120"));
    EXPECT_FALSE(QFile::exists(f.pagePath())); // the first call shows nothing

    f.host.setResponses(123);
    f.window.createTextFromDatWebScrollMini();
    ASSERT_TRUE(QFile::exists(f.pagePath()));
    EXPECT_EQ(f.pageOnDisk().count(QStringLiteral("<td>")), 3);
    EXPECT_EQ(f.window.WebScroll->locationURL(), f.pagePath());
    ASSERT_EQ(f.window.WebScroll->marqueeCount(), 1);
    EXPECT_EQ(f.window.WebScroll->page().marquees.at(0).blocks.size(), 3);
    EXPECT_EQ(f.host.label1, QStringLiteral("123"));

    // Nothing new: the file is not written again and the shown page stays.
    QFile::remove(f.pagePath());
    f.window.createTextFromDatWebScrollMini();
    EXPECT_FALSE(QFile::exists(f.pagePath()));
    EXPECT_EQ(f.window.WebScroll->page().marquees.at(0).blocks.size(), 3);
    EXPECT_EQ(f.host.label1, QStringLiteral("123"));
    EXPECT_TRUE(f.messages.shown().isEmpty());
}

TEST(formMiniMode, ThreadEndStopsBothWindowsAndDisablesMiniStartOnlyInDatMode)
{
    struct Case
    {
        bool datMode;
        int nextWhen1000;
        bool miniStartEnabled;
        QString follow;
    };
    const Case cases[] = {
        {true, 0, false, QStringLiteral("autoMoveNextSure")},
        {false, 1, true, QStringLiteral("showSureItiranAtTop %1")},
        {true, 2, false, QString()},
    };
    for (const Case &c : cases) {
        MiniFixture f;
        f.window.move(40, 321);
        f.host.nextWhen1000 = c.nextWhen1000;
        f.host.position.blnIsFirst = false;
        f.host.position.intLastDt = 999;
        f.host.label3 = kThread + QStringLiteral("999n-");
        if (c.datMode) {
            f.host.setResponses(1001, QStringLiteral("このスレッドは1000を超えました。"));
            f.window.createTextFromDatWebScrollMini();
        } else {
            f.host.text2Value = QStringLiteral(
                "<html><dl><dt>999 ：名無し：x<dd> 999 <br><br><dt>1000 ：名無し：x<dd> 1000 <br><br>"
                "<dt>1001 ：１００１：Over 1000 Thread<dd> このスレッドは1000を超えました。 <br><br></dl>");
            f.window.createTextWebScrollMini();
            EXPECT_TRUE(f.host.text2Value.startsWith(QStringLiteral("<dt>999 ")));
        }
        ASSERT_TRUE(QFile::exists(f.pagePath())) << c.datMode;
        EXPECT_EQ(f.window.Command1->isEnabled(), c.miniStartEnabled) << c.datMode;
        EXPECT_EQ(f.window.Command1->text(), QStringLiteral("開始"));
        EXPECT_FALSE(f.host.command1Enabled);
        EXPECT_EQ(f.host.command1Caption, QStringLiteral("開始"));
        EXPECT_FALSE(f.host.timerReget);
        EXPECT_FALSE(f.host.chkOutLineModeEnabled);
        const QString last = f.host.calls.isEmpty() ? QString() : f.host.calls.last();
        if (c.follow.isEmpty())
            EXPECT_EQ(last, QStringLiteral("Label3"));
        else
            EXPECT_EQ(last, c.follow.arg(f.window.y()));
    }
}

TEST(formMiniMode, FirstFetchOfAFullThreadSaysSoAndDisablesBothStarts)
{
    MiniFixture f;
    f.startAt(1001);
    EXPECT_EQ(f.messages.shown(), QStringList{QStringLiteral("すでに1000いってます｡")});
    EXPECT_FALSE(f.host.command1Enabled); // even after the Label3 change enabled it
    EXPECT_FALSE(f.window.Command1->isEnabled());
    EXPECT_FALSE(f.host.timerReget);
    EXPECT_FALSE(QFile::exists(f.pagePath()));
}

TEST(formMiniMode, ModeListShowsTheThreadListOrReturnsToMode2)
{
    MiniFixture f;
    f.window.move(50, 200);
    f.window.show();

    f.window.comboMode->setCurrentIndex(1);
    emit f.window.comboMode->activated(1);
    EXPECT_EQ(f.host.calls, QStringList{QStringLiteral("showSureItiranAtTop %1").arg(f.window.y())});
    EXPECT_TRUE(f.window.isVisible());

    // "元に戻す" hides this window, shows the main one and selects "モード２" there, whatever mode
    // the main window was in before; choosing it again later acts again.
    for (int round = 0; round < 2; ++round) {
        f.host.calls.clear();
        f.window.show();
        f.window.comboMode->setCurrentIndex(2);
        emit f.window.comboMode->activated(2);
        EXPECT_FALSE(f.window.isVisible());
        EXPECT_EQ(f.host.calls, (QStringList{QStringLiteral("showMainWindow"), QStringLiteral("selectComboMode 1")}));
        EXPECT_EQ(f.window.comboMode->currentIndex(), 2); // not reset
    }
}

TEST(formMiniMode, WideningMovesThePicturesAndLengthensTheCaption)
{
    MiniFixture f;
    f.window.show(); // a hidden window gets its resize events when shown
    f.window.resize(640, 89);
    const QRect close = f.window.picClose->geometry();
    const QRect min = f.window.picMin->geometry();
    const QRect caption = f.window.lblCaption->geometry();
    const QRect frame = f.window.Frame1->geometry();

    f.window.resize(840, 89);
    EXPECT_EQ(f.window.picClose->geometry(), close.translated(200, 0));
    EXPECT_EQ(f.window.picMin->geometry(), min.translated(200, 0));
    EXPECT_EQ(f.window.lblCaption->width(), caption.width() + 200);
    EXPECT_EQ(f.window.lblCaption->x(), caption.x());
    EXPECT_EQ(f.window.Image1->geometry(), QRect(0, 0, 840, 89));
    EXPECT_EQ(f.window.Frame1->width(), frame.width() + 200);

    // The browser is 300 twips (20 px) larger than its frame and 280 twips higher up.
    const QRect web = f.window.WebScroll->geometry();
    EXPECT_EQ(web.topLeft(), QPoint(0, -19));
    EXPECT_EQ(web.width(), f.window.Frame1->width() + 20);
    EXPECT_EQ(web.height(), f.window.Frame1->height() + 20);
}

// Frameless, the window is resized by its corner grip, with the same layout rules as any resize.
TEST(formMiniMode, TheCornerGripResizesTheWindowDownToItsControls)
{
    MiniFixture f;
    f.window.show();
    f.window.resize(640, 89);
    QSizeGrip *grip = f.window.sizeGrip();
    ASSERT_NE(grip, nullptr);
    EXPECT_TRUE(grip->isVisible());
    EXPECT_EQ(grip->geometry().bottomRight(), QPoint(639, 88));
    const QRect close = f.window.picClose->geometry();
    auto drag = [&](int dx) {
        sendMouse(grip, QEvent::MouseButtonPress, QPoint(2, 2));
        sendMouse(grip, QEvent::MouseMove, QPoint(2 + dx, 2));
        sendMouse(grip, QEvent::MouseButtonRelease, QPoint(2 + dx, 2));
    };
    drag(100);
    EXPECT_EQ(f.window.size(), QSize(740, 89));
    EXPECT_EQ(f.window.picClose->geometry(), close.translated(100, 0));
    EXPECT_EQ(grip->geometry().bottomRight(), QPoint(739, 88));

    drag(-1000);
    EXPECT_EQ(f.window.width(), f.window.minimumWidth());
    EXPECT_LE(f.window.lblCountDown->geometry().right(), f.window.width());
    EXPECT_GT(f.window.lblCaption->width(), 0);
}

TEST(formMiniMode, TheRowOfTextSitsInsideTheVisibleFrame)
{
    MiniFixture f;
    f.startAt(10);
    f.host.setResponses(12);
    f.window.createTextFromDatWebScrollMini();
    ASSERT_EQ(f.window.WebScroll->marqueeCount(), 1);
    const QRectF box = f.window.WebScroll->marqueeBox(0);
    const double top = box.top() + f.window.WebScroll->y();
    EXPECT_GE(top, -4.0); // only table spacing may be cut, never the text
    EXPECT_LE(top + box.height(), f.window.Frame1->height() + 4.0);
}

TEST(formMiniMode, ClosePictureActsOnlyOnAReleaseInsideAndClosesTheMainWindowAfter)
{
    MiniFixture f;
    f.window.show();
    ChromePicture *close = f.window.picClose;

    sendMouse(close, QEvent::MouseButtonPress, QPoint(5, 5));
    EXPECT_TRUE(close->pressedShown());
    sendMouse(close, QEvent::MouseButtonRelease, QPoint(close->width() + 10, 5));
    EXPECT_FALSE(close->pressedShown());
    EXPECT_TRUE(f.messages.shown().isEmpty());
    EXPECT_TRUE(f.window.isVisible());

    sendMouse(close, QEvent::MouseButtonPress, QPoint(5, 5));
    sendMouse(close, QEvent::MouseButtonRelease, QPoint(5, 5)); // No (the default answer)
    EXPECT_EQ(f.messages.shown(), QStringList{QStringLiteral("EXIT ?")});
    EXPECT_TRUE(f.window.isVisible());
    EXPECT_TRUE(f.host.calls.isEmpty());

    f.messages.service().queueAnswer(platform::MessageAnswer::Yes);
    sendMouse(close, QEvent::MouseButtonPress, QPoint(5, 5));
    sendMouse(close, QEvent::MouseButtonRelease, QPoint(5, 5));
    EXPECT_FALSE(f.window.isVisible());
    EXPECT_EQ(f.host.calls, QStringList{QStringLiteral("closeMainWindow")});
}

TEST(formMiniMode, ClosedByTheDesktopItEndsTheProgramThroughTheMainWindow)
{
    MiniFixture f;
    f.window.show();
    QCloseEvent fromDesktop;
    QSpontaneKeyEvent::setSpontaneous(&fromDesktop);
    qApp->notify(&f.window, &fromDesktop); // sendEvent would clear the flag
    EXPECT_TRUE(fromDesktop.isAccepted());
    EXPECT_TRUE(testsupport::waitUntil([&] { return !f.host.calls.isEmpty(); }));
    EXPECT_EQ(f.host.calls, QStringList{QStringLiteral("closeMainWindow")});

    // Closed by the program itself (the main window's closing): nothing more is asked of it.
    MiniFixture g;
    g.window.show();
    g.window.close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(g.host.calls.isEmpty());
}

TEST(formMiniMode, CaptionDragsTheWindowAndTopmostKeepsItsPlace)
{
    MiniFixture f;
    f.window.move(100, 100);
    f.window.show();
    const QPoint start = f.window.pos();
    sendMouse(f.window.lblCaption, QEvent::MouseButtonPress, QPoint(10, 5));
    sendMouse(f.window.lblCaption, QEvent::MouseMove, QPoint(40, 25));
    sendMouse(f.window.lblCaption, QEvent::MouseButtonRelease, QPoint(40, 25));
    EXPECT_EQ(f.window.pos(), start + QPoint(30, 20));

    const QRect before = f.window.geometry();
    f.window.chkSaizenmen->click();
    EXPECT_TRUE(f.window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(f.window.geometry(), before);
    EXPECT_TRUE(f.window.isVisible());
    f.window.chkSaizenmen->click();
    EXPECT_FALSE(f.window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(f.window.geometry(), before);
}

// Saves a picture of the window mid-scroll when KESTRELON_MINI_SHOT names a file (run it under
// xvfb-run to see it with a real window system).
TEST(formMiniMode, PictureOfARowOfResponses)
{
    const QString shot = qEnvironmentVariable("KESTRELON_MINI_SHOT");
    if (shot.isEmpty())
        GTEST_SKIP() << "set KESTRELON_MINI_SHOT to save a picture";
    MiniFixture f;
    qint64 now = 0;
    f.window.WebScroll->setClock([&now] { return now; });
    f.window.setCaption(QStringLiteral("Kestrelon 【実況】日曜洋画劇場 ★3"));
    f.window.lblCountDown->setText(QStringLiteral("あと7秒"));
    f.window.Command1->setText(QStringLiteral("停止"));
    f.host.position.blnIsFirst = false;
    f.host.position.intLastDt = 211;
    f.host.label3 = kThread + QStringLiteral("211n-");
    QStringList numbers, others, bodies;
    for (int n = 1; n <= 211; ++n)
        bodies << QStringLiteral("レス");
    bodies << QStringLiteral(" ｷﾀ━━━━(ﾟ∀ﾟ)━━━━!! ") << QStringLiteral(" この監督の作品好き ")
           << QStringLiteral(" ﾊｧﾊｧ ") << QStringLiteral(" 吹き替えの声が<br>いつもの人だ ")
           << QStringLiteral(" ウホッ！いい男 ") << QStringLiteral(" CMなげえ ");
    for (int n = 1; n <= bodies.size(); ++n) {
        numbers << QString::number(n);
        others << QString();
    }
    numbers << QString();
    others << QString();
    bodies << QString();
    f.host.record.assign(numbers, others, others, bodies);
    f.window.move(60, 60);
    f.window.show();
    f.window.createTextFromDatWebScrollMini();
    now = 3600; // the row has come in from the right edge
    f.window.WebScroll->update();
    QCoreApplication::processEvents();

    // The window over a picture of what it floats on, as the desktop shows it.
    QImage picture(f.window.size() + QSize(40, 40), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&picture);
    QLinearGradient backdrop(0, 0, picture.width(), picture.height());
    backdrop.setColorAt(0, QColor(32, 44, 30));
    backdrop.setColorAt(1, QColor(88, 70, 52));
    painter.fillRect(picture.rect(), backdrop);
    painter.drawImage(QPoint(20, 20), f.window.grab().toImage());
    painter.end();
    ASSERT_TRUE(picture.save(shot));
}
