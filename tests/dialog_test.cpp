// The dialog base: one window per kind, brought forward while open, unloaded on close,
// modal with its owner disabled, and closed with the main window.
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/Dialog.h"
#include "system/App.h"
#include "system/Registry.h"

#include <gtest/gtest.h>

namespace {

struct Counters {
    int loads = 0;
    int unloads = 0;
};

class frmProbe : public Dialog<frmProbe> {
public:
    static constexpr wchar_t kClassName[] = L"CorvellTestProbe";
    static constexpr int kClientWidth = 3000;
    static constexpr int kClientHeight = 1500;
    enum : int { IDC_txtName = 100, IDC_cmdOK, IDC_cmdAsk };

    frmProbe(Counters& counters, std::wstring name) : counters_(counters), name_(std::move(name)) {}
    std::wstring Caption() const { return L"Probe"; }
    void CreateControls() {
        txtName = AddControl(WC_EDITW, L"", WS_TABSTOP | ES_AUTOHSCROLL, IDC_txtName, {120, 120, 2760, 330},
                             WS_EX_CLIENTEDGE);
        cmdOK = AddControl(WC_BUTTONW, L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDC_cmdOK, {1800, 900, 1080, 400});
        cmdAsk = AddControl(WC_BUTTONW, L"Ask", WS_TABSTOP, IDC_cmdAsk, {120, 900, 1080, 400});
        SetDefaultButton(IDC_cmdOK);
    }
    void Form_Load() {
        ++counters_.loads;
        SetWindowTextW(txtName, name_.c_str());
    }
    void Form_Unload() { ++counters_.unloads; }
    bool OnCommand(UINT id, UINT code, HWND) {
        if (id == IDC_cmdOK && code == BN_CLICKED) {
            Unload();
            return true;
        }
        if (id == IDC_cmdAsk && code == BN_CLICKED) {
            Seam::ShowMessage(hwnd(), L"Probe asks", L"", MB_OK);
            answered = hwnd() != nullptr;  // the dialog is still there to go on
            return true;
        }
        return false;
    }

    HWND txtName = nullptr;
    HWND cmdOK = nullptr;
    HWND cmdAsk = nullptr;
    bool answered = false;

private:
    Counters& counters_;
    std::wstring name_;
};

class DialogTest : public testing::Test {
protected:
    void SetUp() override {
        TestUtil::FreshSettings();
    }
    TestSeam seam;
};

TEST_F(DialogTest, ModelessDialogIsMadeOnceBroughtForwardAndMadeAnewAfterClosing) {
    TestUtil::LiveForm live;
    Counters counters;
    frmProbe* first = frmProbe::Show(live.form.hwnd(), counters, L"first");
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(IsWindowVisible(first->hwnd()));
    EXPECT_EQ(GetWindow(first->hwnd(), GW_OWNER), live.form.hwnd());
    EXPECT_EQ(first->ControlText(first->txtName), L"first");
    EXPECT_EQ(GetFocus(), first->txtName);  // the first tab stop

    // Shown again while open: the same window, not loaded again, its text as it was.
    SetWindowTextW(first->txtName, L"edited");
    EXPECT_EQ(frmProbe::Show(live.form.hwnd(), counters, L"second"), first);
    EXPECT_EQ(counters.loads, 1);
    EXPECT_EQ(first->ControlText(first->txtName), L"edited");

    SendMessageW(first->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(frmProbe::Current(), nullptr);
    EXPECT_EQ(counters.unloads, 1);

    frmProbe* again = frmProbe::Show(live.form.hwnd(), counters, L"third");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(counters.loads, 2);
    EXPECT_EQ(again->ControlText(again->txtName), L"third");

    // Sized in twips at the screen's DPI.
    RECT client{};
    GetClientRect(again->hwnd(), &client);
    EXPECT_EQ(client.right, DialogSupport::Twips(frmProbe::kClientWidth));
    EXPECT_EQ(client.bottom, DialogSupport::Twips(frmProbe::kClientHeight));
}

TEST_F(DialogTest, MainWindowClosingUnloadsAnOpenDialog) {
    Counters counters;
    {
        TestUtil::LiveForm live;
        ASSERT_NE(frmProbe::Show(live.form.hwnd(), counters, L"open"), nullptr);
    }
    EXPECT_EQ(frmProbe::Current(), nullptr);
    EXPECT_EQ(counters.unloads, 1);
}

// The main window closed while a dialog waits in a message box of its own: neither goes under
// the box; the close follows once the box has closed.
TEST_F(DialogTest, MainWindowClosingWaitsForADialogsOwnMessageBox) {
    Counters counters;
    TestUtil::LiveForm live;
    frmProbe* probe = frmProbe::Show(live.form.hwnd(), counters, L"asking");
    ASSERT_NE(probe, nullptr);
    const HWND main = live.form.hwnd(), probeWindow = probe->hwnd();
    bool keptUnderTheBox = false;
    seam.onMessage = [&](const Seam::MessageRequest& m) {
        if (m.owner != probeWindow) return;
        SendMessageW(main, WM_CLOSE, 0, 0);
        TestUtil::Pump(50);
        keptUnderTheBox = IsWindow(main) && IsWindow(probeWindow) && counters.unloads == 0;
    };
    SendMessageW(probe->cmdAsk, BM_CLICK, 0, 0);
    seam.onMessage = nullptr;
    EXPECT_TRUE(keptUnderTheBox);
    EXPECT_TRUE(probe->answered);
    ASSERT_TRUE(TestUtil::PumpUntil([&] { return !IsWindow(main); }));
    EXPECT_EQ(counters.unloads, 1);
    EXPECT_EQ(frmProbe::Current(), nullptr);
}

// ShowAnew shows what is asked for now in place of the open dialog: at once, or, while that one
// waits in a message box of its own, once the box has closed; never for an owner that is gone.
TEST_F(DialogTest, ShowAnewMakesTheDialogAgainInItsPlaceOnceItsOwnCodeHasReturned) {
    TestUtil::LiveForm live;
    const HWND main = live.form.hwnd();
    Counters counters;
    auto showAnew = [&counters](HWND owner, const wchar_t* name) {
        frmProbe::ShowAnew(owner, [&counters, owner, name] { frmProbe::Show(owner, counters, name); });
    };
    ASSERT_NE(frmProbe::Show(main, counters, L"first"), nullptr);
    SetWindowPos(frmProbe::Current()->hwnd(), nullptr, 53, 47, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    showAnew(main, L"second");
    frmProbe* second = frmProbe::Current();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->ControlText(second->txtName), L"second");
    EXPECT_EQ(counters.loads, 2);
    EXPECT_EQ(counters.unloads, 1);
    RECT place{};
    GetWindowRect(second->hwnd(), &place);
    EXPECT_EQ(place.left, 53);
    EXPECT_EQ(place.top, 47);

    // Asked while "second" waits in its box: it stays until its code has returned.
    const HWND secondWindow = second->hwnd();
    bool keptUnderTheBox = false;
    seam.onMessage = [&](const Seam::MessageRequest& m) {
        if (m.owner != secondWindow) return;
        showAnew(main, L"third");
        TestUtil::Pump(50);
        keptUnderTheBox = IsWindow(secondWindow) && frmProbe::Current() == second && counters.loads == 2;
    };
    SendMessageW(second->cmdAsk, BM_CLICK, 0, 0);
    EXPECT_TRUE(keptUnderTheBox);
    EXPECT_TRUE(second->answered);
    ASSERT_TRUE(TestUtil::PumpUntil([&] { return counters.loads == 3; }));
    frmProbe* third = frmProbe::Current();
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->ControlText(third->txtName), L"third");

    // Asked for an owner that goes while the box waits: nothing is shown for it.
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    const HWND thirdWindow = third->hwnd();
    seam.onMessage = [&](const Seam::MessageRequest& m) {
        if (m.owner != thirdWindow) return;
        showAnew(owner, L"orphan");
        DestroyWindow(owner);
    };
    SendMessageW(third->cmdAsk, BM_CLICK, 0, 0);
    seam.onMessage = nullptr;
    ASSERT_TRUE(TestUtil::PumpUntil([] { return frmProbe::Current() == nullptr; }));
    TestUtil::Pump(100);
    EXPECT_EQ(frmProbe::Current(), nullptr);
    EXPECT_EQ(counters.loads, 3);
}

TEST_F(DialogTest, ModalDialogDisablesItsOwnerUntilItCloses) {
    TestUtil::LiveForm live;
    Counters counters;
    bool ownerDisabled = false;
    bool open = false;
    TestUtil::AfterDelay(150, [&] {
        frmProbe* d = frmProbe::Current();
        open = d != nullptr;
        ownerDisabled = !IsWindowEnabled(live.form.hwnd());
        // Enter presses the default button.
        if (d) {
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
            PostMessageW(GetFocus(), WM_KEYUP, VK_RETURN, 0);
        }
    });
    frmProbe::ShowModal(live.form.hwnd(), counters, L"modal");
    EXPECT_TRUE(open);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(live.form.hwnd()));
    EXPECT_EQ(frmProbe::Current(), nullptr);
    EXPECT_EQ(counters.loads, 1);
    EXPECT_EQ(counters.unloads, 1);
}

TEST_F(DialogTest, DialogOpensCentredOnItsOwnerAndWhollyOnTheScreen) {
    TestUtil::LiveForm live;
    const HWND owner = live.form.hwnd();
    ShowWindow(owner, SW_SHOWNORMAL);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &monitor));
    const RECT work = monitor.rcWork;
    RECT main{};
    GetWindowRect(owner, &main);
    const int width = main.right - main.left, height = main.bottom - main.top;
    const struct {
        const char* what;
        int left, top;
        bool centred;  // the owner lies wholly on the screen
    } cases[] = {
        {"owner in the middle", work.left + (work.right - work.left - width) / 2,
         work.top + (work.bottom - work.top - height) / 2, true},
        {"owner dragged below the bottom edge", work.left + 40, work.bottom - 20, false},
        {"owner dragged past the right edge", work.right - 20, work.top + 40, false},
        {"owner dragged above and left of the screen", work.left - width + 20, work.top - height + 20, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetWindowPos(owner, nullptr, c.left, c.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Counters counters;
        frmProbe* dialog = frmProbe::Show(owner, counters, L"probe");
        ASSERT_NE(dialog, nullptr);
        RECT r{};
        GetWindowRect(dialog->hwnd(), &r);
        EXPECT_GE(r.left, work.left);
        EXPECT_GE(r.top, work.top);
        EXPECT_LE(r.right, work.right);
        EXPECT_LE(r.bottom, work.bottom);
        if (c.centred) {
            EXPECT_EQ(r.left, c.left + (width - (r.right - r.left)) / 2);
            EXPECT_EQ(r.top, c.top + (height - (r.bottom - r.top)) / 2);
        }
        dialog->Unload();
    }
}

} // namespace
