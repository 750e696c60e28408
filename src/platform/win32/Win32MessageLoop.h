#pragma once

#include <windows.h>

namespace zembrel {

// Lets the keyboard move between the controls of a top-level window as in a dialog box: Tab and
// the arrow keys, access keys, Enter for the default button, Escape for the cancel button.
void enableDialogKeys(HWND window);

// Translates one message and hands it to its window, through the dialog keys of its top-level
// window when that has them.
void dispatchMessage(MSG& message);

// Runs the messages that are pending. False when the program has been asked to quit: the quit
// message stays queued for the outermost loop.
bool runPendingMessages();

} // namespace zembrel
