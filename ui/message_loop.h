#pragma once
// The application's run: the message loop, the single-message pump used before a popup is
// tracked, and the end of the run, when the application window and all it owns are released.
#include "platform/win32.h"

namespace mvorbel {

class WindowObject;

// Library-wide, zero at start. `terminated` is never cleared once set.
extern WindowObject* applicationWindow;
extern bool terminated;

// Handles at most one message of any window of the thread; false when the queue was empty or
// the message was WM_NULL. WM_QUIT is not dispatched: it sets `terminated`.
bool ProcessMessage(WindowObject* window);
// Drains the queue; a WM_QUIT met on the way does not stop the drain.
void ProcessMessages(WindowObject* window);
// Runs until the quit message, then releases the window and nulls the variable behind `window`.
void Run(WindowObject*& window);
void Terminate(WindowObject*& window);

// Attached to every form: when the logon really ends, the application window is released and
// the process exits without returning.
bool EndOfLogonHandler(WindowObject* window, MSG& message, LRESULT* result);

}  // namespace mvorbel
