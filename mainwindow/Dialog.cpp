// What every dialog shares: the message font, child controls and frames,
// tooltips and the modal message loop.
#include "mainwindow/Dialog.h"

#include "system/Handles.h"

namespace DialogSupport {

namespace {

constexpr wchar_t kFrameClass[] = L"CorvellFrame";

LRESULT CALLBACK FrameProc(HWND frame, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        if (HWND parent = GetParent(frame)) return SendMessageW(parent, msg, wp, lp);
        break;
    default:
        break;
    }
    return DefWindowProcW(frame, msg, wp, lp);
}

bool RegisterFrameClass() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        if (GetClassInfoExW(GetModuleHandleW(nullptr), kFrameClass, &wc)) return true;
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &FrameProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = kFrameClass;
        return RegisterClassExW(&wc) != 0;
    }();
    return registered;
}

} // namespace

std::wstring WindowText(HWND window) {
    const int n = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), n + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

HWND AddChild(HWND parent, const wchar_t* windowClass, const std::wstring& text, DWORD style, int id, Place place,
              DWORD exStyle) {
    HWND control = CreateWindowExW(exStyle, windowClass, text.c_str(), style | WS_CHILD | WS_VISIBLE, Twips(place.left),
                                   Twips(place.top), Twips(place.width), Twips(place.height), parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                   nullptr);
    if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont()), FALSE);
    return control;
}

HWND AddCaptionedBox(HWND parent, const wchar_t* caption, int labelId, const wchar_t* boxClass, DWORD boxStyle,
                     int boxId, Place box, DWORD boxExStyle) {
    AddChild(parent, WC_STATICW, caption, SS_LEFT | SS_NOPREFIX, labelId,
             {box.left, box.top - kCaptionHeight - 15, box.width, kCaptionHeight});
    return AddChild(parent, boxClass, L"", boxStyle, boxId, box, boxExStyle);
}

HWND AddFrame(HWND parent, int id, Place place, bool hidden) {
    if (!RegisterFrameClass()) return nullptr;
    HWND frame = AddChild(parent, kFrameClass, L"", WS_CLIPSIBLINGS, id, place, WS_EX_CONTROLPARENT);
    if (frame && hidden) ShowWindow(frame, SW_HIDE);
    return frame;
}

void ToolTips::Set(HWND control, const std::wstring& text) {
    if (!control) return;
    if (!window_ || !IsWindow(window_)) {
        window_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  GetAncestor(control, GA_ROOT), nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!window_) return;
        // Long paths and notices wrap instead of running off the screen.
        SendMessageW(window_, TTM_SETMAXTIPWIDTH, 0, Twips(6000));
    }
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    SendMessageW(window_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    std::wstring copy = text;
    tool.lpszText = copy.data();
    SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring ToolTips::Text(HWND control) const {
    if (!window_ || !IsWindow(window_) || !control) return {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    // Large enough for any text a tool holds, whether or not the tooltip reads the size given.
    std::wstring text(32768, L'\0');
    tool.lpszText = text.data();
    SendMessageW(window_, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

HFONT MessageFont() {
    static const UniqueHfont font = [] {
        NONCLIENTMETRICSW ncm{};
        ncm.cbSize = sizeof(ncm);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
        return UniqueHfont(CreateFontIndirectW(&ncm.lfMessageFont));
    }();
    return font.get() ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void RunModal(HWND window) {
    MSG msg;
    while (IsWindow(window)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // left for the program's own loop
            break;
        }
        if (got == -1) break;
        if (IsWindow(window) && IsDialogMessageW(window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace DialogSupport
