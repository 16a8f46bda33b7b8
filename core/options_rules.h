#pragma once
// The rules of the options dialog that need no window: which frame a tab
// shows, the sentence explaining each frame, the settings folder as typed,
// the time-out check and the file choosers' filters.

#include "core/platform.h"

#include <QString>

namespace vortan::options {

// The frame of the frame array Frame1 that the tab at 0-based position `k`
// shows: tabs 0 and 1 show frames 1 and 2, tabs 2 to 4 frames 4 to 6
// (frames 0 and 3 belong to no tab).
int frameOfTab(int k);

// The explanation sentence of a frame; empty for a frame without one.
QString explanationOfFrame(int frame);

// The settings folder as the settings keep it: the typed text without the
// blanks around it and without one trailing "\" ("C:\DATA\" gives
// "C:\DATA"). Elsewhere than on Windows a trailing "/" goes as well, except
// for the root folder "/" itself.
QString settingsFolderFromInput(const QString& text, platform::PathStyle style = platform::nativePathStyle());

// A serial time-out below 6 seconds is refused (the text's leading number).
bool timeoutTooShort(const QString& text);

// A file chooser filter "caption|patterns" in the form Qt's file dialog
// takes: "データベース (*.mdb)|*.mdb" gives "データベース (*.mdb)", patterns
// separated by ";" become blank-separated.
QString qtFileFilter(const QString& filter);

} // namespace vortan::options
