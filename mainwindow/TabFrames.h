// The tab strip of a tabbed dialog with its frames: TabStrip1 and Frame2(0 .. n-1), one frame
// per tab over the tab's page; TabStrip1_Click shows the selected tab's frame and hides the others.
//
// Use, in a Dialog<T>:
//   CreateControls:  tabs.Create(hwnd(), IDC_TabStrip1, IDC_Frame2, {120, 480, 6360, 4200},
//                                {L"File Properties", L"Startup Properties"});
//                    then put each tab's controls on its frame:
//                    DialogSupport::AddChild(tabs.Frame2[1], WC_EDITW, L"", style, IDC_txtName, {...});
//   OnNotify:        if (tabs.OnNotify(header)) return 0;   (a change of tab runs TabStrip1_Click)
//   Form_Load:       tabs.TabStrip1_Click() or tabs.SelectTab(i).
// Controls on a frame report to the dialog as if they were its own (see DialogSupport::AddFrame),
// so their ids must differ from the dialog's other ids.
#pragma once

#include "mainwindow/Dialog.h"

#include <windows.h>
#include <initializer_list>
#include <string>
#include <vector>

class TabFrames {
public:
    // Makes TabStrip1 at place (twips, in parent) with one tab per caption, and frame i (id
    // firstFrameId + i) over the tab's page, all hidden until TabStrip1_Click.
    void Create(HWND parent, int tabStripId, int firstFrameId, DialogSupport::Place place,
                std::initializer_list<const wchar_t*> captions);

    // For each tab, its frame is made visible when the tab is selected and hidden when it is
    // not; a frame already so is left alone. The focus leaves a frame that is hidden.
    void TabStrip1_Click();
    // Selects the tab (0-based) and runs TabStrip1_Click.
    void SelectTab(int index);
    // The selected tab (0-based), or -1.
    [[nodiscard]] int SelectedTab() const;
    void SetCaption(int index, const std::wstring& caption);
    [[nodiscard]] std::wstring Caption(int index) const;
    // True when header is TabStrip1's change of tab, which then has run TabStrip1_Click.
    bool OnNotify(const NMHDR* header);
    // The inner size of every frame, in twips, for laying out the controls on it.
    [[nodiscard]] int FrameWidth() const noexcept { return frameWidth_; }
    [[nodiscard]] int FrameHeight() const noexcept { return frameHeight_; }

    HWND TabStrip1 = nullptr;
    std::vector<HWND> Frame2;

private:
    int frameWidth_ = 0;
    int frameHeight_ = 0;
};
