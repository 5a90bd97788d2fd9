// The program's list of open windows other than Form1, so the unload of the main
// window can unload every one of them, and the work that waits until none of their code runs.
#pragma once

#include <windows.h>

#include <functional>

namespace Forms {

// inUse tells whether code of the window is running (a message box of its own is up, work it
// started yields); a window registered without it never is.
void Register(HWND window, std::function<bool()> inUse = {});
void Unregister(HWND window);
// Destroys every registered window, in the order they were opened.
void UnloadAll();
// Gives Tab, Enter and Esc to the open window the message is for; true when it took the message.
bool TranslateDialogMessage(MSG& msg);

// True while code of an open window runs.
[[nodiscard]] bool AnyInUse();
// Runs then from the message loop once no open window's code runs.
void WhenNoneInUse(std::function<void()> then);
// Told by a window whose running code has all returned: starts the work waiting for that.
void CodeReturned();
// Runs task from the message loop, after the code that posts it has returned.
void Post(std::function<void()> task);

} // namespace Forms
