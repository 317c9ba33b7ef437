#pragma once
// The main window's pop-up menus and its board-menu buttons, as widgets: "親メニュー",
// "機能リスト" and "List5メニュー" with their entries connected to formMain's handlers, which
// entries a pop-up shows where it opens, and the buttons kept off while a board menu loads.

#include "app/DialogPlacement.h"

#include <QPoint>

class QMouseEvent;
class QObject;
class QWidget;
class formMain;

// Creates the three menus (formMain's menu members) and connects their entries.
void buildMainMenus(formMain &main);
// "List5メニュー": "開く（人大杉用）" shown only from the Web button, not from the thread list.
void popupList5Menu(formMain &main, QPoint globalPos, bool withOpenUrl);
// "親メニュー" with the favourites entry of the board tree or of the board list.
void popupParentMenu(formMain &main, QPoint globalPos, bool forTree);
// "All2ch" (wholeTree, the favourites box off too) and "実況板": the wait cursor and both
// buttons off while the board menu loads.
void loadBoardMenuFromButton(formMain &main, bool wholeTree);
// Where the mouse was released over a bottom-panel button (pos inside it), in twips, for the
// dialog positions.
ButtonRelease buttonReleaseOver(const formMain &main, QWidget *button, QPoint pos);
// A mouse release over a watched control: the settings and font dialogs open at it, the
// function button records it, a right button pops up the menu of the list or tree.
void routeMouseRelease(formMain &main, QObject *watched, const QMouseEvent &event);
