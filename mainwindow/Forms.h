// The program's list of open windows other than Form1, so the unload of the main
// window can unload every one of them.
#pragma once

#include <windows.h>

namespace Forms {

void Register(HWND window);
void Unregister(HWND window);
// Destroys every registered window, in the order they were opened.
void UnloadAll();
// Gives Tab, Enter and Esc to the open window the message is for; true when it took the message.
bool TranslateDialogMessage(MSG& msg);

} // namespace Forms
