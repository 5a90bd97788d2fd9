// frmAbout: the About box, its tabs, its links and its pointer and focus rules.
#include "mainwindow/frmAbout.h"

#include "resources/resource.h"
#include "system/App.h"
#include "system/Paths.h"
#include "system/Seam.h"

#include <commctrl.h>
#include <algorithm>
#include <iterator>

namespace {

// Design places, in twips.
constexpr int kMargin = 120;
constexpr DialogSupport::Place kLabel9Place{kMargin, 120, frmAbout::kClientWidth - 2 * kMargin, 300};
constexpr int kLabel10Top = 450;
constexpr int kLabel10Height = 270;
constexpr DialogSupport::Place kTabStripPlace{kMargin, 840, frmAbout::kClientWidth - 2 * kMargin, 3840};
// Out of sight: to the right of the client area.
constexpr int kHiddenLeft = frmAbout::kClientWidth + 600;
constexpr int kButtonWidth = 3600;
constexpr int kButtonHeight = 420;
// A fixed link blue: the system's hot-light colour is not blue in every theme.
constexpr COLORREF kLinkColor = RGB(0, 102, 204);

constexpr wchar_t kReleaseFirstParagraphRest[] =
    L"  It lists every program that starts with Windows: the Run keys of the registry, the Startup folders, the "
    L"Winlogon entry and the old start-up files.  Startups can be disabled and enabled again, backed up and "
    L"restored, deleted, and new ones can be installed, for all users or for the current user.  The list of all "
    L"Startups can be exported as a text or .csv (Excel) file.";
constexpr wchar_t kReleaseSecondParagraph[] =
    L"Disabling the Startups and Services you do not need saves memory that your own programs can use.  Every "
    L"Service comes with a description of what it does and the list of its dependencies, so you can see what "
    L"relies on it before you change its setting.";

constexpr wchar_t kLicense[] =
    L"Terms of Use\r\n\r\n"
    L"You may use Corvell on as many computers as you like, at home or at work, free of charge.  You may give "
    L"copies to others as long as you pass on the program whole and unchanged and ask nothing for it.\r\n\r\n"
    L"Corvell changes what starts with Windows: registry values, shortcuts, system files and services.  Make a "
    L"backup before you change anything, and change only what you understand.\r\n\r\n"
    L"No Warranty\r\n\r\n"
    L"Corvell comes as it is.  Ferrowyn makes no promise that it is free of faults, that it will do what you need, "
    L"or that it will work on your computer.  You use it at your own risk.  Ferrowyn is not responsible for any "
    L"loss or harm that comes from using Corvell or from being unable to use it, such as lost data, lost work or "
    L"a computer that no longer starts as it did.";

// The message font with one change.
UniqueHfont MessageFontWith(LONG weight, BYTE underline) {
    LOGFONTW font{};
    GetObjectW(DialogSupport::MessageFont(), sizeof(font), &font);
    font.lfWeight = weight;
    font.lfUnderline = underline;
    return UniqueHfont(CreateFontIndirectW(&font));
}

void SetFont(HWND control, HFONT font) {
    if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

} // namespace

std::wstring frmAbout::ReleaseText() {
    return App::Title() + L"\r\n\r\n" + kReleaseFirstSentence + kReleaseFirstParagraphRest + L"\r\n\r\n" +
           kReleaseSecondParagraph;
}

std::wstring frmAbout::LicenseText() { return kLicense; }

std::wstring frmAbout::Caption() const { return App::Title(); }

void frmAbout::CreateControls() {
    // cmdDummy comes first, so it is first in the tab order and takes the focus at the start.
    cmdDummy = AddControl(WC_BUTTONW, L"", BS_PUSHBUTTON | WS_TABSTOP, IDC_cmdDummy, {kHiddenLeft, 120, 600, 300});
    txtName = AddControl(WC_EDITW, L"", ES_READONLY | ES_AUTOHSCROLL, IDC_txtName, {kHiddenLeft, 480, 3000, 300});
    txtFileName =
        AddControl(WC_EDITW, L"", ES_READONLY | ES_AUTOHSCROLL, IDC_txtFileName, {kHiddenLeft, 840, 3000, 300});
    txtSwitch = AddControl(WC_EDITW, L"", ES_READONLY | ES_AUTOHSCROLL, IDC_txtSwitch, {kHiddenLeft, 1200, 3000, 300});
    SendMessageW(txtFileName, EM_SETLIMITTEXT, 0, 0);  // a long path is kept whole

    boldFont_ = MessageFontWith(FW_BOLD, FALSE);
    linkFont_ = MessageFontWith(FW_NORMAL, TRUE);
    Label9 = AddControl(WC_STATICW, L"", SS_CENTER | SS_NOPREFIX, IDC_Label9, kLabel9Place);
    SetFont(Label9, boldFont_.get());
    Label10 = AddControl(WC_STATICW, kMakerName, SS_CENTER | SS_NOPREFIX | SS_NOTIFY, IDC_Label10,
                         {kMargin, kLabel10Top, kClientWidth - 2 * kMargin, kLabel10Height});
    SetFont(Label10, linkFont_.get());
    FitLink();

    tabs.Create(hwnd(), IDC_TabStrip1, IDC_Frame2, kTabStripPlace,
                {kTabs[kFilePropertiesTab], kTabs[kReleaseTab], kTabs[kLicenseTab], kTabs[kMakerTab]});
    if (tabs.Frame2.size() != std::size(kTabs)) return;
    const int frameWidth = tabs.FrameWidth();
    const int frameHeight = tabs.FrameHeight();

    panel.Create(tabs.Frame2[kFilePropertiesTab], IDC_lblInfo, frameWidth);

    const DWORD noteStyle = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP;
    const Place notePlace{kMargin, kMargin, frameWidth - 2 * kMargin, frameHeight - 2 * kMargin};
    txtRelease = DialogSupport::AddChild(tabs.Frame2[kReleaseTab], WC_EDITW, ReleaseText(), noteStyle, IDC_txtRelease,
                                         notePlace, WS_EX_CLIENTEDGE);
    txtLicense = DialogSupport::AddChild(tabs.Frame2[kLicenseTab], WC_EDITW, LicenseText(), noteStyle, IDC_txtLicense,
                                         notePlace, WS_EX_CLIENTEDGE);

    HWND makerFrame = tabs.Frame2[kMakerTab];
    Label11 = DialogSupport::AddChild(makerFrame, WC_STATICW, L"", SS_CENTER | SS_NOPREFIX, IDC_Label11,
                                      {kMargin, 360, frameWidth - 2 * kMargin, 300});
    SetFont(Label11, boldFont_.get());
    const int buttonLeft = std::max(kMargin, (frameWidth - kButtonWidth) / 2);
    Command7 = DialogSupport::AddChild(makerFrame, WC_BUTTONW, kCommand7Caption, BS_PUSHBUTTON | WS_TABSTOP,
                                       IDC_Command7, {buttonLeft, 1080, kButtonWidth, kButtonHeight});
    Command8 = DialogSupport::AddChild(makerFrame, WC_BUTTONW, kCommand8Caption, BS_PUSHBUTTON | WS_TABSTOP,
                                       IDC_Command8, {buttonLeft, 1680, kButtonWidth, kButtonHeight});
    toolTips.Set(Command7, kCommand7ToolTip);
    toolTips.Set(Command8, kCommand8ToolTip);

    linkCursor_ = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDCUR_LINKHAND));

    for (HWND box : {txtName, txtFileName, txtSwitch, txtRelease, txtLicense}) WatchMouse(box);
    for (HWND box : panel.txtInfo) WatchMouse(box);
    SetInitialFocus(cmdDummy);
}

void frmAbout::Form_Load() {
    SetWindowTextW(hwnd(), App::Title().c_str());
    TabStrip1_Click();
    // The program's own file as the system reports it, so a renamed program still shows itself.
    const std::wstring path = App::ExeName();
    SetWindowTextW(txtName, MyMod::GetFileName(path).c_str());
    SetWindowTextW(txtFileName, path.c_str());
    SetWindowTextW(Label9, (kAboutPrefix + App::Title()).c_str());
    SetWindowTextW(Label11, App::Title().c_str());
    panel.Load(hwnd(), ControlText(txtFileName), FileProperties::NameRule::OriginalFileName);
}

bool frmAbout::OnCommand(UINT id, UINT code, HWND) {
    switch (id) {
    case IDC_Label10:
        if (code == STN_CLICKED) Label10_Click();
        return true;
    case IDC_Command7:
        if (code == BN_CLICKED) Command7_Click();
        return true;
    case IDC_Command8:
        if (code == BN_CLICKED) Command8_Click();
        return true;
    case IDC_cmdDummy:
        return true;  // only holds the focus
    default:
        return false;
    }
}

LRESULT frmAbout::OnNotify(NMHDR* header) {
    tabs.OnNotify(header);
    return 0;
}

LRESULT frmAbout::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SETCURSOR: {
        // Children pass the question up through their frames, naming themselves in wp.
        const HWND control = reinterpret_cast<HWND>(wp);
        if (LOWORD(lp) != HTCLIENT || !linkCursor_) break;
        if (control == Label10) Label10_MouseMove();
        else if (control == Command7) Command7_MouseMove();
        else if (control == Command8) Command8_MouseMove();
        else break;
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lp) == Label10) {
            const HDC dc = reinterpret_cast<HDC>(wp);
            SetTextColor(dc, kLinkColor);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    default:
        break;
    }
    return Dialog<frmAbout>::HandleMessage(msg, wp, lp);
}

void frmAbout::Label10_Click() { Seam::ShellOpen(hwnd(), kMakerSite); }
void frmAbout::Command7_Click() { Seam::ShellOpen(hwnd(), kMakerSite); }
void frmAbout::Command8_Click() { Seam::ShellOpen(hwnd(), kMailingListPage); }

void frmAbout::ShowLinkCursor() const { SetCursor(linkCursor_); }

void frmAbout::FocusDummy() const {
    if (GetActiveWindow() == hwnd() && GetFocus() != cmdDummy) SetFocus(cmdDummy);
}

LRESULT CALLBACK frmAbout::TextBoxProc(HWND box, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                       DWORD_PTR self) noexcept {
    if (msg == WM_MOUSEMOVE) reinterpret_cast<frmAbout*>(self)->TextBox_MouseMove(box);
    else if (msg == WM_NCDESTROY) RemoveWindowSubclass(box, &TextBoxProc, id);
    return DefSubclassProc(box, msg, wp, lp);
}

void frmAbout::WatchMouse(HWND box) {
    if (box) SetWindowSubclass(box, &TextBoxProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

void frmAbout::TextBox_MouseMove(HWND box) {
    if (box == txtName) return txtName_MouseMove();
    if (box == txtFileName) return txtFileName_MouseMove();
    if (box == txtSwitch) return txtSwitch_MouseMove();
    if (box == txtRelease) return txtRelease_MouseMove();
    if (box == txtLicense) return txtLicense_MouseMove();
    const auto info = std::find(panel.txtInfo.begin(), panel.txtInfo.end(), box);
    if (info != panel.txtInfo.end()) txtInfo_MouseMove(static_cast<int>(info - panel.txtInfo.begin()));
}

void frmAbout::FitLink() {
    const HDC dc = GetDC(Label10);
    if (!dc) return;
    const HGDIOBJ previous = SelectObject(dc, linkFont_ ? linkFont_.get() : DialogSupport::MessageFont());
    SIZE text{};
    const std::wstring name = kMakerName;
    const BOOL measured = GetTextExtentPoint32W(dc, name.c_str(), static_cast<int>(name.size()), &text);
    SelectObject(dc, previous);
    ReleaseDC(Label10, dc);
    if (!measured) return;
    const int width = text.cx + DialogSupport::Twips(60);
    SetWindowPos(Label10, nullptr, (DialogSupport::Twips(kClientWidth) - width) / 2, DialogSupport::Twips(kLabel10Top),
                 width, DialogSupport::Twips(kLabel10Height), SWP_NOZORDER | SWP_NOACTIVATE);
}
