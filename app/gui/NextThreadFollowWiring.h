#pragma once
// The follow by title on the main window: the board re-opened as it was opened, List5 and List6
// read back, the chosen row made current and started, the wait's caption on both countdown
// labels and both Start buttons reading "停止" while it waits.

class formMain;
class NextThreadFollow;

// A child of main; its timer and its listings end with the window.
NextThreadFollow *makeNextThreadFollow(formMain &main);
