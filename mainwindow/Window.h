// The small CRTP base of every window: stores `this` at WM_NCCREATE and hands each
// message to T::HandleMessage; nothing escapes the window procedure.
#pragma once

#include <windows.h>

template <typename T>
class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    [[nodiscard]] HWND hwnd() const noexcept { return hwnd_; }
    // How many of this window's message handlers are running: more than one while a handler
    // waits in a loop (a message box, a yield) that hands the window further messages.
    [[nodiscard]] int HandlersRunning() const noexcept { return handlersRunning_; }

protected:
    ~Window() = default;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
        T* self = nullptr;
        if (msg == WM_NCCREATE) {
            self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
        LRESULT result = 0;
        ++self->handlersRunning_;
        try {
            result = self->HandleMessage(msg, wp, lp);
        } catch (...) {
            // An exception must never unwind through the system's frames.
            result = DefWindowProcW(hwnd, msg, wp, lp);
        }
        --self->handlersRunning_;
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        // T may want to know when the last of its handlers has returned.
        if constexpr (requires { self->OnHandlersReturned(); })
            if (self->handlersRunning_ == 0) self->OnHandlersReturned();
        return result;
    }

    // Registers the class once (per name) with this base's procedure.
    static bool RegisterClassOnce(const wchar_t* className, HICON icon, HBRUSH background) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &wc)) return true;
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &Window::WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hIcon = icon;
        wc.hIconSm = icon;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = background;
        wc.lpszClassName = className;
        return RegisterClassExW(&wc) != 0;
    }

    HWND hwnd_ = nullptr;

private:
    int handlersRunning_ = 0;
};
