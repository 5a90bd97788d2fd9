// The tab strip of a tabbed dialog and the frames it switches.
#include "mainwindow/TabFrames.h"

#include <commctrl.h>

void TabFrames::Create(HWND parent, int tabStripId, int firstFrameId, DialogSupport::Place place,
                       std::initializer_list<const wchar_t*> captions) {
    TabStrip1 = DialogSupport::AddChild(parent, WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, tabStripId, place);
    if (!TabStrip1) return;
    int index = 0;
    for (const wchar_t* caption : captions) {
        std::wstring text = caption;
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(TabStrip1, TCM_INSERTITEMW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&item));
    }

    // The page: the tab strip's area below its tabs, in the parent's coordinates.
    RECT page{};
    GetClientRect(TabStrip1, &page);
    SendMessageW(TabStrip1, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    MapWindowPoints(TabStrip1, parent, reinterpret_cast<POINT*>(&page), 2);
    frameWidth_ = DialogSupport::ToTwips(page.right - page.left);
    frameHeight_ = DialogSupport::ToTwips(page.bottom - page.top);
    const DialogSupport::Place framePlace{DialogSupport::ToTwips(page.left), DialogSupport::ToTwips(page.top),
                                          frameWidth_, frameHeight_};

    // The frames lie above the tab strip, so it never paints over them, and right after the
    // sibling before it, so Tab reaches the strip and its frames where the strip was made.
    HWND above = GetWindow(TabStrip1, GW_HWNDPREV);
    HWND after = above ? above : HWND_TOP;
    for (int i = 0; i < index; ++i) {
        HWND frame = DialogSupport::AddFrame(parent, firstFrameId + i, framePlace, true);
        if (!frame) continue;
        SetWindowPos(frame, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        Frame2.push_back(frame);
        after = frame;
    }
    SetWindowPos(TabStrip1, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TabFrames::TabStrip1_Click() {
    const int selected = SelectedTab();
    for (int i = 0; i < static_cast<int>(Frame2.size()); ++i) {
        HWND frame = Frame2[static_cast<size_t>(i)];
        const bool show = i == selected;
        // Its own visibility: the dialog itself may not be shown yet.
        if (((GetWindowLongW(frame, GWL_STYLE) & WS_VISIBLE) != 0) == show) continue;
        HWND focus = GetFocus();
        if (!show && focus && IsChild(frame, focus)) SetFocus(TabStrip1);
        ShowWindow(frame, show ? SW_SHOWNA : SW_HIDE);
    }
}

void TabFrames::SelectTab(int index) {
    SendMessageW(TabStrip1, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    TabStrip1_Click();
}

int TabFrames::SelectedTab() const { return static_cast<int>(SendMessageW(TabStrip1, TCM_GETCURSEL, 0, 0)); }

void TabFrames::SetCaption(int index, const std::wstring& caption) {
    std::wstring text = caption;
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageW(TabStrip1, TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

std::wstring TabFrames::Caption(int index) const {
    wchar_t text[256] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 256;
    if (!SendMessageW(TabStrip1, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return {};
    return item.pszText ? item.pszText : L"";
}

bool TabFrames::OnNotify(const NMHDR* header) {
    if (!header || !TabStrip1 || header->hwndFrom != TabStrip1 || header->code != TCN_SELCHANGE) return false;
    TabStrip1_Click();
    return true;
}
