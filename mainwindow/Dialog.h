// The base of every dialog of the program: a top-level window with controls laid out in
// twips, created once, brought to the front while it is open (or made anew in its place for
// another item, ShowAnew), unloaded when it closes, shown modal or modeless, and registered
// with Forms so the main window's unload ends it.
// A dialog whose own code runs is never unloaded or freed from outside.
#pragma once

#include "mainwindow/Forms.h"
#include "mainwindow/Window.h"
#include "system/Screen.h"

#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace DialogSupport {

struct Place {
    int left, top, width, height;  // twips
};

// The system's message font, made once and kept for the program's life.
[[nodiscard]] HFONT MessageFont();
// Runs the thread's messages until the window is gone; tab, Enter and Esc work as in a dialog.
void RunModal(HWND window);
// Twips to pixels at the screen's DPI.
[[nodiscard]] inline int Twips(int twips) { return MulDiv(twips, Screen::Dpi(), 1440); }
[[nodiscard]] inline int ToTwips(int pixels) { return MulDiv(pixels, 1440, Screen::Dpi()); }
// The window's text, of any length.
[[nodiscard]] std::wstring WindowText(HWND window);
// A visible child control of parent at its place in the layout (twips), in the message font.
HWND AddChild(HWND parent, const wchar_t* windowClass, const std::wstring& text, DWORD style, int id, Place place,
              DWORD exStyle = 0);
// A box with its caption label above it (at the box's left, kCaptionHeight + 15 twips higher);
// returns the box.
inline constexpr int kCaptionHeight = 255;
HWND AddCaptionedBox(HWND parent, const wchar_t* caption, int labelId, const wchar_t* boxClass, DWORD boxStyle,
                     int boxId, Place box, DWORD boxExStyle = WS_EX_CLIENTEDGE);
// A frame: a plain child window that holds controls, is shown and hidden with them, and passes
// their WM_COMMAND, WM_NOTIFY and colour requests on to its own parent (so to the dialog).
// Tab and arrow keys move into it. Visible unless hidden is set.
HWND AddFrame(HWND parent, int id, Place place, bool hidden = false);

// The tooltips of one window's controls (a control's second text, for texts longer than its box).
class ToolTips {
public:
    ToolTips() = default;
    ToolTips(const ToolTips&) = delete;
    ToolTips& operator=(const ToolTips&) = delete;
    // Gives control the tooltip text, replacing the one it had; the tooltip window is made on first use.
    void Set(HWND control, const std::wstring& text);
    // The control's tooltip text; "" when it has none.
    [[nodiscard]] std::wstring Text(HWND control) const;

private:
    HWND window_ = nullptr;  // owned by the dialog: destroyed with it
};

} // namespace DialogSupport

// T provides: static constexpr wchar_t kClassName[]; static constexpr int kClientWidth and
// kClientHeight (twips); std::wstring Caption() const; void CreateControls(); void Form_Load();
// void Form_Unload(); bool OnCommand(UINT id, UINT code, HWND control) (true when handled).
// T may define its own HandleMessage and pass what it leaves to Dialog<T>::HandleMessage, and
// LRESULT OnNotify(NMHDR*), which then receives the WM_NOTIFY of its controls.
template <typename T>
class Dialog : public Window<T> {
public:
    using Place = DialogSupport::Place;

    // The open dialog of this kind, or nullptr.
    [[nodiscard]] static T* Current() noexcept {
        T* open = Slot().get();
        return open && open->hwnd() ? open : nullptr;
    }

    // True while code of this dialog runs: one of its handlers (a message box of its own is up,
    // work it started yields) or its load.
    [[nodiscard]] bool InUse() const noexcept { return this->HandlersRunning() > 0 || loading_ > 0; }

    // Unloads the open dialog of this kind from outside, then runs next (which shows another).
    // One in use is not unloaded under its running code: the request waits until that code has
    // returned, a later request replacing a waiting one.
    static void UnloadThen(std::function<void()> next) {
        T* open = Current();
        if (open && open->InUse()) {
            Waiting() = std::move(next);
            return;
        }
        if (open) open->Unload();
        if (next) next();
    }

    // Shows what the caller asks for now (the row selected, say) in place of an open dialog of
    // this kind, which may show another: the open one is unloaded and show runs (it calls Show or
    // decides to show nothing); a dialog it makes takes the place on the screen the old one had.
    // One in use goes once its running code has returned, and show runs then from the message
    // loop, reading what it shows at that time; nothing runs once owner is gone.
    static void ShowAnew(HWND owner, std::function<void()> show) {
        if (T* open = Current()) {
            RECT place{};
            if (GetWindowRect(open->hwnd(), &place) && !IsIconic(open->hwnd())) NextPlace() = place;
        }
        UnloadThen([owner, show = std::move(show)] {
            if (IsWindow(owner) && show) show();
            NextPlace().reset();
        });
    }

    // Modeless: an open dialog is brought to the front unchanged (not filled again); otherwise
    // a new one is made from args, loaded and shown. nullptr when the window cannot be made.
    template <typename... Args>
    static T* Show(HWND owner, Args&&... args) {
        if (T* open = Current()) {
            open->BringToFront();
            return open;
        }
        auto& slot = Slot();
        Replace(std::make_unique<T>(std::forward<Args>(args)...));
        if (!slot->Load(owner)) {
            slot.reset();
            return nullptr;
        }
        slot->ShowFirstTime();
        return slot.get();
    }

    // Modal: as Show, with the owner disabled until the dialog has been unloaded.
    template <typename... Args>
    static void ShowModal(HWND owner, Args&&... args) {
        if (T* open = Current()) {
            open->BringToFront();
            return;
        }
        auto& slot = Slot();
        Replace(std::make_unique<T>(std::forward<Args>(args)...));
        slot->modalOwner_ = owner && IsWindowEnabled(owner) ? owner : nullptr;
        if (!slot->Load(owner)) {
            slot.reset();
            return;
        }
        if (slot->modalOwner_) EnableWindow(slot->modalOwner_, FALSE);
        slot->ShowFirstTime();
        DialogSupport::RunModal(slot->hwnd());
    }

    // Closes the dialog: Form_Unload runs, the window is destroyed.
    void Unload() {
        if (this->hwnd_) DestroyWindow(this->hwnd_);
    }

    void BringToFront() {
        if (!this->hwnd_) return;
        if (IsIconic(this->hwnd_)) ShowWindow(this->hwnd_, SW_RESTORE);
        SetWindowPos(this->hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(this->hwnd_);
    }

    [[nodiscard]] std::wstring ControlText(HWND control) const { return DialogSupport::WindowText(control); }

    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
        T& self = static_cast<T&>(*this);
        switch (msg) {
        case WM_COMMAND:
            if (self.OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp))) return 0;
            if (LOWORD(wp) == IDCANCEL) Unload();  // Esc
            return 0;
        case WM_NOTIFY:
            if constexpr (requires { self.OnNotify(reinterpret_cast<NMHDR*>(lp)); })
                return self.OnNotify(reinterpret_cast<NMHDR*>(lp));
            else
                return 0;
        case DM_GETDEFID:
            return defaultButton_ ? MAKELRESULT(defaultButton_, DC_HASDEFID) : 0;
        case WM_CLOSE:
            Unload();
            return 0;
        case WM_DESTROY:
            self.Form_Unload();
            Forms::Unregister(this->hwnd_);
            // The owner comes back before the dialog goes, so activation returns to it.
            if (modalOwner_) {
                EnableWindow(modalOwner_, TRUE);
                SetActiveWindow(modalOwner_);
                modalOwner_ = nullptr;
            }
            return 0;
        default:
            return DefWindowProcW(this->hwnd_, msg, wp, lp);
        }
    }

protected:
    Dialog() = default;
    ~Dialog() {
        if (this->hwnd_ && IsWindow(this->hwnd_)) DestroyWindow(this->hwnd_);
    }

    // A child control at its place in the layout (twips), in the message font.
    HWND AddControl(const wchar_t* windowClass, const std::wstring& text, DWORD style, int id, Place place,
                    DWORD exStyle = 0) {
        return DialogSupport::AddChild(this->hwnd_, windowClass, text, style, id, place, exStyle);
    }

    // The button that Enter presses.
    void SetDefaultButton(int id) { defaultButton_ = id; }
    // The control that has the focus when the dialog first shows (else its first tab stop).
    void SetInitialFocus(HWND control) { initialFocus_ = control; }

private:
    friend class Window<T>;

    static std::unique_ptr<T>& Slot() {
        // Kept after the window has closed until the next show, so no handler frees itself.
        static std::unique_ptr<T> slot;
        return slot;
    }
    // Dialogs of this kind replaced while their code still ran, freed once it has returned.
    static std::vector<std::unique_ptr<T>>& Retired() {
        static std::vector<std::unique_ptr<T>> retired;
        return retired;
    }
    // Where the next dialog of this kind goes instead of the middle of its owner (ShowAnew).
    static std::optional<RECT>& NextPlace() {
        static std::optional<RECT> place;
        return place;
    }
    // The unload asked for from outside while the open dialog was in use.
    static std::function<void()>& Waiting() {
        static std::function<void()> waiting;
        return waiting;
    }

    static void Replace(std::unique_ptr<T> next) {
        auto& slot = Slot();
        if (slot && slot->InUse()) Retired().push_back(std::move(slot));
        slot = std::move(next);
        std::erase_if(Retired(), [](const std::unique_ptr<T>& d) { return !d->InUse(); });
    }

    // The last running code of this dialog has returned: a waiting unload goes ahead from the
    // message loop, where none of that code is on the stack any more.
    void OnHandlersReturned() {
        if (InUse()) return;
        if (Waiting() && Slot().get() == this)
            Forms::Post([] {
                if (auto next = std::exchange(Waiting(), nullptr)) UnloadThen(std::move(next));
            });
        Forms::CodeReturned();
    }

    bool Load(HWND owner) {
        T& self = static_cast<T&>(*this);
        Window<T>::RegisterClassOnce(T::kClassName, nullptr, GetSysColorBrush(COLOR_BTNFACE));
        const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
        RECT r{0, 0, DialogSupport::Twips(T::kClientWidth), DialogSupport::Twips(T::kClientHeight)};
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
        const int width = r.right - r.left, height = r.bottom - r.top;
        // Centred on the owner, or on the screen without one.
        RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (owner && !IsIconic(owner)) GetWindowRect(owner, &area);
        int left = area.left + ((area.right - area.left) - width) / 2;
        int top = area.top + ((area.bottom - area.top) - height) / 2;
        if (const auto& place = NextPlace()) {
            area = *place;
            left = place->left;
            top = place->top;
        }
        // An owner dragged partly off the screen must not take the dialog (a modal one above all,
        // which disables it) where nobody can see it: the dialog stays whole on the nearest screen.
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        if (GetMonitorInfoW(MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST), &monitor)) {
            const RECT& work = monitor.rcWork;
            left = std::max<int>(work.left, std::min<int>(left, work.right - width));
            top = std::max<int>(work.top, std::min<int>(top, work.bottom - height));
        }
        CreateWindowExW(exStyle, T::kClassName, self.Caption().c_str(), style, left, top, width, height, owner,
                        nullptr, GetModuleHandleW(nullptr), &self);
        if (!this->hwnd_) return false;
        Forms::Register(this->hwnd_, [this] { return InUse(); });
        ++loading_;
        self.CreateControls();
        self.Form_Load();
        --loading_;
        OnHandlersReturned();
        return this->hwnd_ != nullptr;
    }

    void ShowFirstTime() {
        ShowWindow(this->hwnd_, SW_SHOW);
        HWND focus = initialFocus_ ? initialFocus_ : GetNextDlgTabItem(this->hwnd_, nullptr, FALSE);
        if (focus) SetFocus(focus);
    }

    HWND modalOwner_ = nullptr;
    HWND initialFocus_ = nullptr;
    int defaultButton_ = 0;
    int loading_ = 0;  // CreateControls and Form_Load run
};
