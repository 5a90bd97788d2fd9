// The menu engine's set-up and window procedure, its module state, and the small
// helpers it shares (the form search, the Windows-version test).
#include "menus/modMenus.h"

#include "menus/modDrawing.h"

#include <vector>

namespace modMenus {

State& Module() {
    static State state;
    return state;
}

clsMyMenu* EngineOf(HWND hwnd) {
    auto& menus = Module().colMenus;
    const auto it = menus.find(hwnd);
    return it == menus.end() ? nullptr : it->second.get();
}

clsMyMenu* RecordsOf(HWND hwnd) {
    clsMyMenu* own = EngineOf(hwnd);
    if (!own) return nullptr;
    clsMyMenu* parent = own->ParentForm ? EngineOf(own->ParentForm) : nullptr;
    return parent ? parent : own;
}

void SetupMenus(HWND form, HIMAGELIST images) {
    bool isMdi = false;
    if (FindFormByHwnd(form, isMdi) == -1) return;
    auto& m = Module();
    if (!EngineOf(form)) {
        auto engine = std::make_unique<clsMyMenu>();
        engine->SetImageViewer(images);
        engine->MainMenuID = GetMenu(form);
        engine->ParentForm = form;
        m.colMenus.emplace(form, std::move(engine));
    }
    m.CurrentMenuKey = form;
    // A second set-up drops the records of popups destroyed in the meantime.
    m.PendingPurgeWindow = form;
    PurgeDeadMenus();
    SubclassWindow(true);
}

void SubclassWindow(bool enable) {
    auto& m = Module();
    clsMyMenu* engine = EngineOf(m.CurrentMenuKey);
    if (!engine) return;
    if (enable && !engine->OldWinProc) {
        engine->OldWinProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            m.CurrentMenuKey, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MenuWindowProc)));
    } else if (!enable && engine->OldWinProc) {
        SetWindowLongPtrW(m.CurrentMenuKey, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(engine->OldWinProc));
        engine->OldWinProc = nullptr;
    }
}

namespace {

// The window's own procedure for the unchanged message.
LRESULT PassOn(WNDPROC old, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return old ? CallWindowProcW(old, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

// The value that accompanies WM_INITMENUPOPUP for the window's system menu.
constexpr LPARAM kSystemMenuParam = 0x10000;

void OnMdiActivate(HWND hwnd) {
    clsMyMenu* engine = EngineOf(hwnd);
    if (!engine) return;
    HWND client = GetParent(hwnd);
    HWND frame = client ? GetParent(client) : nullptr;
    if (!frame) return;
    engine->ParentForm = frame;
    if (clsMyMenu* frameEngine = EngineOf(frame)) frameEngine->GetSetMDIchildSysMenu(GetSystemMenu(hwnd, FALSE), true);
    engine->ChildStatus = 1;
}

} // namespace

LRESULT CALLBACK MenuWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    auto& m = Module();
    clsMyMenu* engine = EngineOf(hwnd);
    const WNDPROC old = engine ? engine->OldWinProc : nullptr;
    if (!engine) return DefWindowProcW(hwnd, msg, wp, lp);

    const bool untouched = lp == kSystemMenuParam || (msg == WM_INITMENUPOPUP && wp == 0);
    if (!untouched) {
        try {
            m.CurrentMenuKey = hwnd;
            switch (msg) {
            case WM_DRAWITEM:
            case WM_MEASUREITEM:
                if (modDrawing::HandleMenuMessage(msg, lp, wp)) return TRUE;
                break;
            case WM_INITMENUPOPUP:
                modDrawing::HandleMenuMessage(msg, 0, 0);
                PreparePopupMenu(reinterpret_cast<HMENU>(wp));
                break;
            case WM_ENTERIDLE:
                modDrawing::HandleMenuMessage(msg, 0, 0);
                break;
            case WM_ENTERMENULOOP:
                m.PreparedPopups.emplace();
                break;
            case WM_EXITMENULOOP:
                m.PreparedPopups.reset();
                break;
            case WM_MDIACTIVATE:
                OnMdiActivate(hwnd);
                break;
            default:
                break;
            }
        } catch (...) {
            // Nothing escapes: the window's own procedure gets the message unchanged.
        }
    }

    if (msg == WM_NCDESTROY) {
        // The subclass ends with the window; its engine object (and the side-bar fonts it
        // made) goes with it, and the menu fonts when no engine is left.
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        const LRESULT result = PassOn(old, hwnd, msg, wp, lp);
        m.colMenus.erase(hwnd);
        if (m.CurrentMenuKey == hwnd) m.CurrentMenuKey = nullptr;
        if (m.PendingPurgeWindow == hwnd) m.PendingPurgeWindow = nullptr;
        if (m.colMenus.empty()) modDrawing::ReleaseMenuFonts();
        return result;
    }
    return PassOn(old, hwnd, msg, wp, lp);
}

void PurgeDeadMenus() {
    auto& m = Module();
    if (!m.PendingPurgeWindow) return;
    if (clsMyMenu* engine = EngineOf(m.PendingPurgeWindow)) {
        for (int i = engine->PanelIDcount(); i >= 1; --i) {
            HMENU h = engine->GetPanelID(i);
            if (GetMenuItemCount(h) < 0) engine->PurgeObsoleteMenus(h);
        }
    }
    m.PendingPurgeWindow = nullptr;
}

namespace {
BOOL CALLBACK CollectForm(HWND hwnd, LPARAM lp) {
    if (reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd, GWLP_HINSTANCE)) == GetModuleHandleW(nullptr))
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    return TRUE;
}
} // namespace

int FindFormByHwnd(HWND hwnd, bool& isMdi) {
    // The program's loaded forms are the top-level windows its module made on the UI thread.
    std::vector<HWND> forms;
    EnumThreadWindows(GetCurrentThreadId(), &CollectForm, reinterpret_cast<LPARAM>(&forms));
    for (int i = static_cast<int>(forms.size()) - 1; i >= 0; --i) {
        if (forms[static_cast<size_t>(i)] != hwnd) continue;
        if (FindWindowExW(hwnd, nullptr, L"MDICLIENT", nullptr)) isMdi = true;
        return i;
    }
    return -1;
}

void ApplyWindowsVersion(const std::wstring& version, HDC dc) {
    auto& m = Module();
    if (version == L"1.4.10") m.MenuVersionOffset = 32;  // Windows 98
    else if (version == L"2.5.0" || version == L"2.4.0" || version == L"2.5.1") m.MenuVersionOffset = 0;
    else if (version == L"2.3.51" && dc) SetGraphicsMode(dc, GM_ADVANCED);
}

void CheckWindowsVersion(HDC dc) {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
    if (!GetVersionExW(&info)) return;
    ApplyWindowsVersion(std::to_wstring(info.dwPlatformId) + L"." + std::to_wstring(info.dwMajorVersion) + L"." +
                            std::to_wstring(info.dwMinorVersion),
                        dc);
}

} // namespace modMenus
