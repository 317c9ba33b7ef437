#pragma once
// What closing the main window does to the program folder, without the window.

#include "app/Options.h"
#include "app/SettingsFile.h"

// Writes the settings file and options.ini, each whole. The message to show when one of them
// could not be written (the settings file's first: one box at most), empty when both were.
QString saveAtClosing(const SettingsFileContent &content, const Options &options);

// Deletes the generated pages, tempHtml2.html and the image folder's tempHtml3.html; a missing
// file is no error.
void removeGeneratedPages();
