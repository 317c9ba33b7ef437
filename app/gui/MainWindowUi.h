#pragma once
// The main window's controls, created with the names the program knows them by, as a form
// designer's generated class would: setupUi builds them into the window, connectHandlers
// connects them to formMain's handlers (control, underscore, event), applyLayout places them
// from the layout in twips. formMain derives from it and so holds the controls as members.

class BoardNavigator;
class BoardTreeView;
class MarqueeSurface;
class ModelListView;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class QWidget;
class ThreadTitlePopup;
class TitleStrip;
class formMain;
struct MainLayout;
namespace present { class LabelStrip; }

class MainWindowUi
{
public:
    TitleStrip *Frame6 = nullptr;
    QWidget *Frame1 = nullptr;           // comment strip: WebScroll, the label strip, the video
    MarqueeSurface *WebScroll = nullptr;
    present::LabelStrip *lblMsgStrip = nullptr;
    QWidget *Frame2 = nullptr;           // bottom panel
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *cmdConfig = nullptr;
    QPushButton *cmdFont = nullptr;
    QPushButton *cmdImageView = nullptr;
    QPushButton *cmdWrite = nullptr;
    QCheckBox *chkSaizenmen = nullptr;
    QComboBox *comboMode = nullptr;
    QLabel *lblCountDown = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *lblNgCount = nullptr;       // "NG: n", shown only while there is a rule
    QLabel *Label3 = nullptr;
    QWidget *Frame3 = nullptr;           // side panel
    QComboBox *comboFavorite = nullptr;
    QPushButton *cmdAll2ch = nullptr;
    QPushButton *cmdGoLive = nullptr;
    ModelListView *List3 = nullptr;
    BoardTreeView *TreeViewIta = nullptr;
    ModelListView *List5 = nullptr;
    QWidget *frameWmpControl = nullptr;  // replay controls: left empty for the replay window
    ModelListView *List1 = nullptr;      // hidden lists
    ModelListView *List2 = nullptr;
    ModelListView *List4 = nullptr;
    ModelListView *List6 = nullptr;
    ModelListView *listFavoriteHide = nullptr;
    ThreadTitlePopup *PictureListbox = nullptr;
    QLabel *lblList = nullptr;
    QTimer *TimerReget = nullptr;
    QTimer *TimerList = nullptr;
    QMenu *menuParent = nullptr;         // "親メニュー"
    QAction *menuAddFavoriteTree = nullptr;
    QAction *menuAddFavorite = nullptr;
    QMenu *menuFunctions = nullptr;      // "機能リスト"
    QAction *menuWmp = nullptr;
    QAction *menuImageView = nullptr;
    QAction *menuTv2ch = nullptr;
    QAction *menuConfig = nullptr;
    QAction *menuToumei = nullptr;
    QAction *menuNg = nullptr;  // "NG設定"
    QMenu *menuOpen = nullptr;           // "List5メニュー"
    QAction *menuOpenIE = nullptr;
    QAction *menuOpenURL = nullptr;

protected:
    // The controls as children of window; the board lists, the thread list and the favourites
    // box show the navigator's models. The menus are built apart (app/gui/MainCommands.h), and
    // TimerReget belongs to the live session.
    void setupUi(QWidget *window, BoardNavigator &boards);
    // Clicks, double clicks and the mouse releases formMain's event filter watches.
    void connectHandlers(formMain &w);
    void applyLayout(QWidget *window, const MainLayout &layout);
};
