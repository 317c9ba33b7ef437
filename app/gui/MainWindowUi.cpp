#include "app/gui/MainWindowUi.h"

#include "app/BoardNavigator.h"
#include "app/MainLayout.h"
#include "app/gui/BoardTreeView.h"
#include "app/gui/ThreadTitlePopup.h"
#include "app/gui/formMain.h"
#include "platform/gui/DesktopServices.h"
#include "platform/gui/ModelListView.h"
#include "platform/gui/PlainText.h"
#include "platform/gui/TitleStrip.h"
#include "present/gui/LabelStrip.h"
#include "present/gui/MarqueeSurface.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSizeGrip>
#include <QVBoxLayout>

namespace {

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
QListView, QTreeView { color: #e3e9f0; background: #232a33; border: 1px solid #333d49;
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

void MainWindowUi::setupUi(QWidget *window, BoardNavigator &boards)
{
    window->setObjectName(QStringLiteral("formMain"));
    window->setWindowTitle(QStringLiteral("Kestrelon"));
    // The comment strip paints nothing, so the window shows what lies behind it there.
    window->setAttribute(Qt::WA_TranslucentBackground);
    window->setStyleSheet(QString::fromUtf8(kStyle));
    window->resize(678, 306);

    Frame6 = new TitleStrip(window);

    Frame1 = new QWidget(window);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setAttribute(Qt::WA_TranslucentBackground);
    lblMsgStrip = new present::LabelStrip(Frame1);
    WebScroll = new MarqueeSurface(Frame1);
    WebScroll->hide();

    Frame2 = new QWidget(window);
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

    Frame3 = new QWidget(window);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Frame3->setAttribute(Qt::WA_StyledBackground);
    comboFavorite = new QComboBox(Frame3);
    comboFavorite->setToolTip(QStringLiteral("お気に入り"));
    cmdAll2ch = new QPushButton(QStringLiteral("All2ch"), Frame3);
    cmdGoLive = new QPushButton(QStringLiteral("実況板"), Frame3);
    comboFavorite->setModel(&boards.favorites());
    comboFavorite->setModelColumn(BoardListModel::NameColumn);
    // Reloaded favourites leave none chosen (the box would take the first one by itself).
    QObject::connect(&boards.favorites(), &QAbstractItemModel::modelReset, comboFavorite,
                     [box = comboFavorite] { box->setCurrentIndex(-1); });
    List3 = boardList(boards.liveBoards(), BoardListModel::NameColumn, "List3", Frame3);
    TreeViewIta = new BoardTreeView(Frame3);
    TreeViewIta->setModel(&boards.tree());
    TreeViewIta->hide();
    List5 = boardList(boards.threads(), ThreadListModel::EntryColumn, "List5", Frame3);
    List5->setMouseTracking(true);
    frameWmpControl = new QWidget(Frame3);
    frameWmpControl->setObjectName(QStringLiteral("frameWmpControl"));
    frameWmpControl->setAttribute(Qt::WA_StyledBackground);
    frameWmpControl->hide();
    new QSizeGrip(Frame3); // no system frame: the grip resizes the window (placed in applyLayout)

    // The side panel starts under the title strip's lower edge: keep the title pictures on top.
    Frame6->raise();

    // The hidden lists show the other column of the same models: the address beside each name.
    List1 = boardList(boards.allBoards(), BoardListModel::NameColumn, "List1", window);
    List2 = boardList(boards.allBoards(), BoardListModel::AddressColumn, "List2", window);
    List4 = boardList(boards.liveBoards(), BoardListModel::AddressColumn, "List4", window);
    List6 = boardList(boards.threads(), ThreadListModel::AddressColumn, "List6", window);
    listFavoriteHide =
        boardList(boards.favorites(), BoardListModel::AddressColumn, "listFavoriteHide", window);
    for (ModelListView *hidden : {List1, List2, List4, List6, listFavoriteHide})
        hidden->hide();

    PictureListbox = new ThreadTitlePopup(window);
    lblList = PictureListbox->lblList;
    TimerList = PictureListbox->TimerList;
}

void MainWindowUi::connectHandlers(formMain &w)
{
    QObject::connect(Command1, &QPushButton::clicked, &w, &formMain::Command1_Click);
    QObject::connect(Command2, &QPushButton::clicked, &w, &formMain::Command2_Click);
    QObject::connect(cmdImageView, &QPushButton::clicked, &w, &formMain::cmdImageView_Click);
    QObject::connect(cmdWrite, &QPushButton::clicked, &w, &formMain::cmdWrite_Click);
    QObject::connect(cmdAll2ch, &QPushButton::clicked, &w, &formMain::cmdAll2ch_Click);
    QObject::connect(cmdGoLive, &QPushButton::clicked, &w, &formMain::cmdGoLive_Click);
    QObject::connect(chkSaizenmen, &QCheckBox::clicked, &w, &formMain::chkSaizenmen_Click);
    QObject::connect(comboMode, &QComboBox::activated, &w, &formMain::comboMode_Click);
    QObject::connect(comboFavorite, &QComboBox::activated, &w, &formMain::comboFavorite_Click);
    QObject::connect(List1, &QListView::clicked, &w, &formMain::List1_Click);
    QObject::connect(List1, &QListView::doubleClicked, &w, &formMain::List1_DblClick);
    QObject::connect(List3, &QListView::clicked, &w, &formMain::List3_Click);
    QObject::connect(List3, &QListView::doubleClicked, &w, &formMain::List3_DblClick);
    QObject::connect(List5, &QListView::clicked, &w, &formMain::List5_Click);
    QObject::connect(List5, &QListView::doubleClicked, &w, &formMain::List5_DblClick);
    QObject::connect(TreeViewIta, &QTreeView::doubleClicked, &w, [&w](const QModelIndex &node) {
        // A category only folds; the board nodes open.
        if (node.parent().isValid())
            w.TreeViewIta_DblClick();
    });

    // Mouse releases: the panel buttons record where they were released; the lists open their
    // context menus on a right-button release; List5 remembers the pointer for its pop-up.
    for (QWidget *watched : {static_cast<QWidget *>(cmdConfig), static_cast<QWidget *>(cmdFont),
                             static_cast<QWidget *>(cmdImageView), List3->viewport(),
                             TreeViewIta->viewport(), List5->viewport()})
        watched->installEventFilter(&w);
}

void MainWindowUi::applyLayout(QWidget *window, const MainLayout &l)
{
    Frame6->applyLayout(l.titleStrip, l.titleImage, l.pictures);
    Frame1->setGeometry(twipsToPixelRect(l.strip, window));
    lblMsgStrip->setGeometry(0, 0, Frame1->width(), Frame1->height());
    WebScroll->setGeometry(twipsToPixelRect(l.webScroll, Frame1));
    Frame2->setGeometry(twipsToPixelRect(l.bottomPanel, window));
    Frame3->setGeometry(twipsToPixelRect(l.sidePanel, window));
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
    const int visibleBottom = window->height() - Frame3->y() - 4;
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
