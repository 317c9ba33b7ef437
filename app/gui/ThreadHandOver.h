#pragma once
// A thread address from outside the window: the command line at start-up, or another kestrelon
// started with the same program folder. Whatever runs is stopped; the address's board is
// opened, the thread selected and started; the window comes to the front. An empty address
// only brings the window to the front.

#include <QString>

class formMain;

void openHandedThread(formMain &window, const QString &threadUrl);
