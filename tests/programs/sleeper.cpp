// A program that does nothing for a minute (or the seconds given), for tests that need
// a running process under a chosen file name.
#include <windows.h>
#include <cstdlib>

int wmain(int argc, wchar_t** argv) {
    const int seconds = argc > 1 ? _wtoi(argv[1]) : 60;
    Sleep(static_cast<DWORD>(seconds) * 1000);
    return 0;
}
