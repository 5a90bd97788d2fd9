// The program's list of open windows other than Form1.
#include "mainwindow/Forms.h"

#include <algorithm>
#include <vector>

namespace Forms {
namespace {
std::vector<HWND>& Open() {
    static std::vector<HWND> windows;
    return windows;
}
} // namespace

void Register(HWND window) {
    auto& w = Open();
    if (std::find(w.begin(), w.end(), window) == w.end()) w.push_back(window);
}

void Unregister(HWND window) {
    auto& w = Open();
    w.erase(std::remove(w.begin(), w.end(), window), w.end());
}

void UnloadAll() {
    // Copy first: destroying a window unregisters it.
    const std::vector<HWND> windows = Open();
    for (HWND h : windows)
        if (IsWindow(h)) DestroyWindow(h);
    Open().clear();
}

bool TranslateDialogMessage(MSG& msg) {
    if (!msg.hwnd) return false;
    const HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    const auto& w = Open();
    if (std::find(w.begin(), w.end(), root) == w.end()) return false;
    return IsDialogMessageW(root, &msg) != FALSE;
}

} // namespace Forms
