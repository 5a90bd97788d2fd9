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
        try {
            result = self->HandleMessage(msg, wp, lp);
        } catch (...) {
            // An exception must never unwind through the system's frames.
            result = DefWindowProcW(hwnd, msg, wp, lp);
        }
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
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
};
