#pragma once
// Where the current thread stands for the presenters: which responses have been shown and the
// address of the next page. Reset when a thread is chosen; kept up to date by every build.

#include <QString>

struct ThreadPosition
{
    bool blnIsFirst = true;      // the next build is the first one of this thread
    int intLastDt = 0;           // number of the last response shown
    int intZenkaiLastDT = 0;     // intLastDt before the latest fetch (dat mode)
    QString strNextURL;          // page address showing the responses after intLastDt
};
