// The program's list of open windows other than Form1, and the work that waits for them.
#include "mainwindow/Forms.h"

#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

namespace Forms {
namespace {

struct OpenWindow {
    HWND window;
    std::function<bool()> inUse;
};

std::vector<OpenWindow>& Open() {
    static std::vector<OpenWindow> windows;
    return windows;
}

std::vector<std::function<void()>>& WaitingForNoneInUse() {
    static std::vector<std::function<void()>> waiting;
    return waiting;
}

std::deque<std::function<void()>>& Tasks() {
    static std::deque<std::function<void()>> tasks;
    return tasks;
}

constexpr wchar_t kTaskClass[] = L"CorvellTasks";
constexpr UINT kRunTask = WM_APP;

LRESULT CALLBACK TaskProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (msg != kRunTask) return DefWindowProcW(window, msg, wp, lp);
    if (Tasks().empty()) return 0;
    std::function<void()> task = std::move(Tasks().front());
    Tasks().pop_front();
    try {
        if (task) task();
    } catch (...) {
        // Nothing escapes a window procedure.
    }
    return 0;
}

// A message-only window whose messages run the posted tasks: message boxes and modal loops
// dispatch them too, unlike thread messages.
HWND TaskWindow() {
    static const HWND window = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &TaskProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kTaskClass;
        RegisterClassExW(&wc);
        return CreateWindowExW(0, kTaskClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                               nullptr);
    }();
    return window;
}

} // namespace

void Register(HWND window, std::function<bool()> inUse) {
    auto& w = Open();
    const auto found = std::find_if(w.begin(), w.end(), [window](const OpenWindow& o) { return o.window == window; });
    if (found == w.end()) w.push_back({window, std::move(inUse)});
}

void Unregister(HWND window) {
    auto& w = Open();
    w.erase(std::remove_if(w.begin(), w.end(), [window](const OpenWindow& o) { return o.window == window; }),
            w.end());
}

void UnloadAll() {
    // Copy first: destroying a window unregisters it.
    std::vector<HWND> windows;
    for (const OpenWindow& o : Open()) windows.push_back(o.window);
    for (HWND h : windows)
        if (IsWindow(h)) DestroyWindow(h);
    Open().clear();
}

bool TranslateDialogMessage(MSG& msg) {
    if (!msg.hwnd) return false;
    const HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    const auto& w = Open();
    if (std::none_of(w.begin(), w.end(), [root](const OpenWindow& o) { return o.window == root; })) return false;
    return IsDialogMessageW(root, &msg) != FALSE;
}

bool AnyInUse() {
    const auto& w = Open();
    return std::any_of(w.begin(), w.end(), [](const OpenWindow& o) { return o.inUse && o.inUse(); });
}

void WhenNoneInUse(std::function<void()> then) {
    WaitingForNoneInUse().push_back(std::move(then));
    CodeReturned();
}

void CodeReturned() {
    if (WaitingForNoneInUse().empty() || AnyInUse()) return;
    for (auto& then : std::exchange(WaitingForNoneInUse(), {})) Post(std::move(then));
}

void Post(std::function<void()> task) {
    const HWND window = TaskWindow();
    if (!window) return;
    Tasks().push_back(std::move(task));
    if (!PostMessageW(window, kRunTask, 0, 0)) Tasks().pop_back();
}

} // namespace Forms
