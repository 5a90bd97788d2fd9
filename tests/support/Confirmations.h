// Answering the delete confirmations (frmDelete, frmDelete2) while they wait, and what they showed.
#pragma once

#include "TestUtil.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <functional>
#include <string>

namespace Confirmations {

struct Seen {
    bool looked = false;  // the answer's time came, with or without a dialog open
    bool shown = false;
    bool ownerDisabled = false;
    std::wstring caption, label, yes, no, ask;
};

inline constexpr int kPressEnter = -1;
inline constexpr int kPressEscape = -2;

// About 150 ms from now, reads the open dialog D into seen, ticks "Don't ask me again" when tick,
// runs meanwhile (what happens while the dialog waits), then presses button: a control id, 0 for
// the close box, or one of the keys above. Where no dialog is to open, pump until seen.looked
// before checking that none did.
template <typename D>
void Answer(Seen& seen, HWND owner, bool tick, int button, std::function<void()> meanwhile = {}) {
    TestUtil::AfterDelay(150, [&seen, owner, tick, button, meanwhile = std::move(meanwhile)] {
        seen.looked = true;
        D* d = D::Current();
        if (!d) return;
        seen.shown = true;
        seen.ownerDisabled = !IsWindowEnabled(owner);
        seen.caption = d->ControlText(d->hwnd());
        seen.label = d->ControlText(d->Label1);
        seen.yes = d->ControlText(d->cmdYes);
        seen.no = d->ControlText(d->cmdNo);
        seen.ask = d->ControlText(d->chkAsk);
        if (tick) SendMessageW(d->chkAsk, BM_SETCHECK, BST_CHECKED, 0);
        if (meanwhile) meanwhile();
        if (D::Current() != d) return;  // closed by what happened meanwhile
        if (button == 0) {
            SendMessageW(d->hwnd(), WM_CLOSE, 0, 0);
        } else if (button < 0) {
            // A key goes through the dialog's own message loop, to the control that has the focus.
            const WPARAM key = button == kPressEnter ? VK_RETURN : VK_ESCAPE;
            PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
            PostMessageW(GetFocus(), WM_KEYUP, key, 0);
        } else {
            HWND control = GetDlgItem(d->hwnd(), button);
            SendMessageW(d->hwnd(), WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(control));
        }
    });
}

// What both confirmations show for the startup named name, each text compared exactly.
inline void ExpectDeleteTexts(const Seen& seen, const std::wstring& name) {
    EXPECT_EQ(seen.caption, L"Delete Startup");
    EXPECT_EQ(seen.label,
              L"Are you sure you want to delete the Startup " + name +
                  L"?  This action can only be reversed by restoring a backup.  It's recommended to disable it "
                  L"first for a few days to make sure it doesn't cause problems.");
    EXPECT_EQ(seen.yes, L"&Yes");
    EXPECT_EQ(seen.no, L"&No");
    EXPECT_EQ(seen.ask, L"Don't ask me again");
}

} // namespace Confirmations
