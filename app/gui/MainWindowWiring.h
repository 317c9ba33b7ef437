#pragma once
// Creates the windows that live beside the main window (mini mode, replay, image viewer, thread
// list, thread view, TV graph, general web window) and fills formMain::hooks() with them. The
// program calls it once, after constructing formMain and before its start-up (Form_Load).

class formMain;

void wireOtherWindows(formMain &main);
