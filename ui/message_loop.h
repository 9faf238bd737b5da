#pragma once
// The application's run: the message loop, the single-message pump used before a popup is
// tracked, and the end of the run, when the application window and all it owns are released.
#include <exception>

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

// An exception must not unwind out of a window procedure through the platform's frames (the
// 32-bit build's unwinder can't cross them, and the process would end without a word). The
// window procedure keeps it, and it is raised again once control is back in our own code: after
// a dispatched message, after a tracked popup and at the end of the run.
void DeferError(std::exception_ptr error);
void RaiseDeferredError();

// Attached to every form: when the logon really ends, the application window is released and
// the process exits without returning.
bool EndOfLogonHandler(WindowObject* window, MSG& message, LRESULT* result);

}  // namespace mvorbel
