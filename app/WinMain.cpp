// The program's entry point: the main window and its message loop.
#include "mainwindow/Form1.h"
#include "mainwindow/Forms.h"

#include <windows.h>
#include <objbase.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int exitCode = 0;
    {
        Form1 form;
        if (!form.Create()) return 1;
        form.Form_Load();
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (Forms::TranslateDialogMessage(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        exitCode = static_cast<int>(msg.wParam);
    }
    CoUninitialize();
    return exitCode;
}
