#include "viewers/ViewerHosts.h"

bool reopenBoardAsOpened(ThreadListHost &host)
{
    switch (host.intGetSureFrom()) {
    case 1:
        host.List3_DblClick();
        return true;
    case 2:
        host.TreeViewIta_DblClick();
        return true;
    case 3:
        host.comboFavorite_Click();
        return true;
    default:
        return false;
    }
}
