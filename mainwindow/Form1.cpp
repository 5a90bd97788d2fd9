// Form1's start-up, layout, clock and shutdown, and the two switches that route
// every command and notification of the main window.
#include "mainwindow/Form1.h"

#include "mainwindow/ControlIds.h"
#include "mainwindow/Forms.h"
#include "mainwindow/ListView.h"
#include "mainwindow/MenuIds.h"
#include "menus/modMenus.h"
#include "resources/Images.h"
#include "resources/resource.h"
#include "system/App.h"
#include "system/Paths.h"
#include "system/Registry.h"
#include "system/Screen.h"
#include "system/Seam.h"
#include "system/Text.h"
#include "system/WindowsVersion.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <utility>

namespace {

constexpr wchar_t kClassName[] = L"CorvellForm1";

// The client area a new window opens with, in twips; a saved geometry replaces it at load.
constexpr int kDesignClientWidth = 10830;
constexpr int kDesignClientHeight = 7545;
// Below this outer size the layout's formulas would give negative sizes.
constexpr int kMinWidthTwips = 3450 + 3000;
constexpr int kMinHeightTwips = 2300 + 2500;

constexpr wchar_t kSelectStartupItem[] = L"Please select a Startup item     ";

constexpr wchar_t kBackupTitle[] = L"First Run Backup Warning";
constexpr wchar_t kBackupText[] =
    L"Since this is the first time you've used Corvell, a backup of all your current Startups and Services "
    L"settings has not been created yet.  It's highly recommended you create a backup before making any "
    L"changes.  You can also create another backup at any time and it will replace any existing one."
    L"\r\n\r\n"
    L"Would you like to create a backup now?  It only takes a few seconds and can be easily restored in case "
    L"of problems.     ";

struct Place {
    int left, top, width, height;
};

// A stored size or position in twips; nullopt when it is missing, no number, not finite or
// outside an int, all of which count as not stored.
std::optional<int> StoredTwips(const std::wstring& key, const wchar_t* name) {
    double v = 0;
    if (!Text::ParseDouble(General::GetStringValue(key, name), v) || !std::isfinite(v)) return std::nullopt;
    if (v <= static_cast<double>(INT_MIN) - 1 || v >= static_cast<double>(INT_MAX) + 1) return std::nullopt;
    return static_cast<int>(v);
}

// The top-left corner (pixels) that centres a window of that size on the screen, reckoned in
// twips as the first run does.
POINT CentredOnScreen(const Form1& form, int widthPixels, int heightPixels) {
    const int left = form.ToTwips(GetSystemMetrics(SM_CXSCREEN)) / 2 - form.ToTwips(widthPixels) / 2;
    const int top = form.ToTwips(GetSystemMetrics(SM_CYSCREEN)) / 2 - form.ToTwips(heightPixels) / 2;
    return POINT{form.Twips(left), form.Twips(top)};
}

// How much of the caption bar must lie on a work area for the window to be dragged by it.
constexpr int kGrabWidthPixels = 120;

HWND MakeControl(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id, DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, cls, text, style | WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

// Writes the window's outer geometry, each in twips as the text of a single-precision number.
void WriteGeometry(int width, int height, int left, int top) {
    const std::wstring& key = App::AppKey();
    General::SetStringValue(key, App::Value::kWidth, Text::FormatSingle(static_cast<float>(width)));
    General::SetStringValue(key, App::Value::kHeight, Text::FormatSingle(static_cast<float>(height)));
    General::SetStringValue(key, App::Value::kLeft, Text::FormatSingle(static_cast<float>(left)));
    General::SetStringValue(key, App::Value::kTop, Text::FormatSingle(static_cast<float>(top)));
}

} // namespace

Form1::Form1() = default;

Form1::~Form1() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void Form1::Form_Initialize() {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES;
    InitCommonControlsEx(&icc);
}

bool Form1::Create() {
    Form_Initialize();
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_CORVELL));
    RegisterClassOnce(kClassName, icon, GetSysColorBrush(COLOR_BTNFACE));
    BuildMenus();
    CreateWindowExW(0, kClassName, App::Title().c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menus.Bar(), GetModuleHandleW(nullptr), this);
    return hwnd_ != nullptr;
}

int Form1::Twips(int twips) const { return MulDiv(twips, dpi_, 1440); }
int Form1::ToTwips(int pixels) const { return MulDiv(pixels, 1440, dpi_); }

void Form1::DoEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the real loop
            break;
        }
        if (Forms::TranslateDialogMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Form1::CreateControls() {
    dpi_ = Screen::Dpi();

    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    font_.reset(CreateFontIndirectW(&ncm.lfMessageFont));
    LOGFONTW big = ncm.lfMessageFont;
    big.lfHeight = -MulDiv(20, dpi_, 72);
    big.lfWeight = FW_BOLD;
    headerFont_.reset(CreateFontIndirectW(&big));

    HWND h = hwnd_;
    lblHeader = MakeControl(h, WC_STATICW, L"", WS_VISIBLE, IDC_lblHeader);
    Line3 = MakeControl(h, WC_STATICW, L"", WS_VISIBLE | SS_ETCHEDHORZ, IDC_Line3);
    Line1 = MakeControl(h, WC_STATICW, L"", WS_VISIBLE | SS_ETCHEDHORZ, IDC_Line1);
    Image1 = MakeControl(h, WC_STATICW, App::Title().c_str(), WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, IDC_Image1);
    Image3 = MakeControl(h, WC_STATICW, L"", WS_VISIBLE | SS_ICON | SS_CENTERIMAGE, IDC_Image3);
    lblCount = MakeControl(h, WC_STATICW, L"", WS_VISIBLE | SS_CENTER | SS_NOPREFIX, IDC_lblCount);
    tvwDemo = MakeControl(h, WC_TREEVIEWW, L"",
                          WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                          IDC_tvwDemo, WS_EX_CLIENTEDGE);
    // The lists share ImageList1, which the window frees once after they have gone.
    const DWORD listStyle = WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_SHAREIMAGELISTS;
    lv = MakeControl(h, WC_LISTVIEWW, L"", listStyle, IDC_lv, WS_EX_CLIENTEDGE);
    lv2 = MakeControl(h, WC_LISTVIEWW, L"", listStyle | WS_VISIBLE, IDC_lv2, WS_EX_CLIENTEDGE);
    lv3 = MakeControl(h, WC_LISTVIEWW, L"", listStyle, IDC_lv3, WS_EX_CLIENTEDGE);
    txtFiles = MakeControl(h, WC_EDITW, L"",
                           WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                               ES_WANTRETURN,
                           IDC_txtFiles, WS_EX_CLIENTEDGE);
    SendMessageW(txtFiles, EM_SETLIMITTEXT, 0, 0);  // as long as the file is
    cmdSave = MakeControl(h, WC_BUTTONW, L"&Save", WS_TABSTOP | BS_PUSHBUTTON, IDC_cmdSave);
    StatusBar1 = MakeControl(h, STATUSCLASSNAMEW, L"", WS_VISIBLE | SBARS_SIZEGRIP, IDC_StatusBar1);
    lblChange = MakeControl(h, WC_STATICW, L"0", 0, IDC_lblChange);
    cmdWL = MakeControl(h, WC_BUTTONW, L"Ref WL", BS_PUSHBUTTON, IDC_cmdWL);
    Command1 = MakeControl(h, WC_BUTTONW, L"Start", BS_PUSHBUTTON, IDC_Command1);
    Command2 = MakeControl(h, WC_BUTTONW, L"Stop", BS_PUSHBUTTON, IDC_Command2);
    Command3 = MakeControl(h, WC_BUTTONW, L"Pause", BS_PUSHBUTTON, IDC_Command3);
    Command4 = MakeControl(h, WC_BUTTONW, L"Remove", BS_PUSHBUTTON, IDC_Command4);
    Command5 = MakeControl(h, WC_BUTTONW, L"Install", BS_PUSHBUTTON, IDC_Command5);
    Command6 = MakeControl(h, WC_BUTTONW, L"Refresh", BS_PUSHBUTTON, IDC_Command6);

    for (HWND c : {lblHeader, Image1, Image3, lblCount, tvwDemo, lv, lv2, lv3, txtFiles, cmdSave, StatusBar1, lblChange,
                   cmdWL, Command1, Command2, Command3, Command4, Command5, Command6})
        SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    SendMessageW(Image1, WM_SETFONT, reinterpret_cast<WPARAM>(headerFont_.get()), FALSE);
    // A static control never frees the icon it shows: the window keeps it until it goes.
    image3Icon_.reset(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_CORVELL), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR)));
    SendMessageW(Image3, STM_SETICON, reinterpret_cast<WPARAM>(image3Icon_.get()), 0);

    // Starting places (twips) of the controls; Form_Resize then keeps them against the window's edges.
    const struct { HWND control; Place place; } places[] = {
        {lblHeader, {0, 0, 10695, 855}},  {Line3, {0, 0, 10800, 30}},     {Line1, {0, 855, 10800, 30}},
        {Image1, {3600, 30, 3750, 570}},  {Image3, {9600, 80, 720, 720}}, {lblCount, {0, 600, 10695, 195}},
        {tvwDemo, {120, 1080, 3015, 5550}}, {lv, {3240, 1080, 7455, 5535}}, {lv2, {3240, 1080, 7455, 5535}},
        {lv3, {3240, 1080, 7455, 5535}},  {txtFiles, {3240, 1080, 7455, 5535}}, {cmdSave, {8760, 5640, 1095, 375}},
    };
    for (const auto& d : places)
        MoveWindow(d.control, Twips(d.place.left), Twips(d.place.top), Twips(d.place.width), Twips(d.place.height),
                   FALSE);
    SetWindowPos(lblCount, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(Image1, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(Image3, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    CreateImageLists();
    SetupListColumns();
}

void Form1::CreateImageLists() {
    ImageList1.reset(Images::CreateListImages());
    ImageList2.reset(Images::CreateMenuImages());
    imgPictures.reset(Images::CreateTreeImages());
    TreeView_SetImageList(tvwDemo, imgPictures.get(), TVSIL_NORMAL);
    for (HWND list : {lv, lv2, lv3}) {
        ListView_SetImageList(list, ImageList1.get(), LVSIL_SMALL);
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_LABELTIP);
        HWND header = ListView_GetHeader(list);
        if (header) Header_SetImageList(header, ImageList1.get());
    }
}

void Form1::SetupListColumns() {
    const struct { HWND list; const wchar_t* caption; int width; } columns[] = {
        {lv, L"Display Name", 2500},           {lv, L"Service Name", 2000},      {lv, L"Status", 1000},
        {lv, L"Setting", 1000},                {lv, L"Depends on Service", 2000}, {lv, L"Dependant Services", 2050},
        {lv, L"Service Path", 4000},           {lv, L"Date First Detected", 2000},
        {lv2, L"Application", 2000},           {lv2, L"Application Path", 5000},
        {lv2, L"Registry Key or User Path", 5000}, {lv2, L"Date Detected", 2100},
        {lv3, L"Startup Name", 2000},          {lv3, L"Startup Target", 5000},   {lv3, L"User Folder", 5000},
        {lv3, L"Date Detected", 2100},
    };
    for (const auto& c : columns) ListView::AddColumn(c.list, c.caption, Twips(c.width));
}

void Form1::ApplyDesignGeometry() {
    RECT r{0, 0, Twips(kDesignClientWidth), Twips(kDesignClientHeight)};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), menus.Bar() != nullptr,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

bool Form1::CaptionReachable(int left, int top, int width) const {
    // Frame and caption above the client area of a window of this style without its menu bar:
    // the caption bar is the last SM_CYCAPTION pixels of it.
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    const int captionHeight = GetSystemMetrics(SM_CYCAPTION);
    const int captionTop = top - frame.top - captionHeight;
    const RECT caption{left, captionTop, left + width, captionTop + captionHeight};
    return Screen::ReachableOnWorkArea(caption, std::min(kGrabWidthPixels, width), (captionHeight + 1) / 2);
}

int Form1::WindowState() const {
    if (IsIconic(hwnd_)) return 1;
    if (IsZoomed(hwnd_)) return 2;
    return 0;
}

std::wstring Form1::ControlText(HWND control) const {
    const int n = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(control, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    return text;
}

void Form1::SetPanelText(int panel, const std::wstring& text) {
    SendMessageW(StatusBar1, SB_SETTEXTW, static_cast<WPARAM>(panel - 1), reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring Form1::PanelText(int panel) const {
    const LRESULT info = SendMessageW(StatusBar1, SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel - 1), 0);
    std::wstring text(LOWORD(info) + 1, L'\0');
    SendMessageW(StatusBar1, SB_GETTEXTW, static_cast<WPARAM>(panel - 1), reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(info));
    return text;
}

void Form1::SetViewTitle(const std::wstring& title) {
    SetWindowTextW(lblCount, title.c_str());
    SetPanelText(2, ControlText(lblCount));
}

std::wstring Form1::ClockText() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t date[128] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &now, nullptr, date, 128);
    SYSTEMTIME later{};
    GetLocalTime(&later);  // the date and the time are read separately
    const int hour12 = later.wHour % 12 == 0 ? 12 : later.wHour % 12;
    wchar_t time[32] = {};
    wsprintfW(time, L"%d:%02d %s", hour12, later.wMinute, later.wHour < 12 ? L"AM" : L"PM");
    return std::wstring(date) + L"  " + time + L"  ";
}

void Form1::BringToFront(HWND control) {
    const HWND views[] = {lv, lv2, lv3, txtFiles};
    bool isView = false;
    for (HWND v : views) isView = isView || v == control;
    if (isView) {
        for (HWND v : views)
            if (v != control) ShowWindow(v, SW_HIDE);
        ShowWindow(cmdSave, SW_HIDE);  // it lies behind any view brought forward
    }
    SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

void Form1::Form_Load() {
    // A target on an empty or missing drive answers as missing instead of raising the system's
    // "No Disk" box in the middle of a list load.
    SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);  // flags set before kept
    modMenus::SetupMenus(hwnd_, ImageList2.get());

    SetWindowTextW(hwnd_, App::Title().c_str());
    helpFile = App::Path() + L"\\Help.chm";

    const std::wstring& key = App::AppKey();
    // The settings key and its sub-keys, those missing: a store deleted since the first run
    // would otherwise make every Disable fail.
    App::CreateSettingsKeys();
    int showCommand = SW_SHOWNORMAL;
    const std::wstring state = General::GetStringValue(key, App::Value::kState);
    if (MyMod::InStrArray(2, state, {L"0", L"1", L"2"})) {
        long value = -1;
        if (Text::ParseLong(state, value) && value == 1) showCommand = SW_SHOWMINIMIZED;
        if (Text::ParseLong(state, value) && value == 2) showCommand = SW_SHOWMAXIMIZED;
        if (showCommand == SW_SHOWNORMAL) {
            // A value that is no usable number is not applied; the others still are.
            RECT r{};
            GetWindowRect(hwnd_, &r);
            const int designWidth = r.right - r.left, designHeight = r.bottom - r.top;
            int width = designWidth, height = designHeight, left = r.left, top = r.top;
            if (const auto v = StoredTwips(key, App::Value::kWidth)) width = Twips(*v);
            if (const auto v = StoredTwips(key, App::Value::kHeight)) height = Twips(*v);
            if (const auto v = StoredTwips(key, App::Value::kLeft)) left = Twips(*v);
            if (const auto v = StoredTwips(key, App::Value::kTop)) top = Twips(*v);
            // The size as the system will clamp it, so the place is judged for the window it shows.
            MINMAXINFO limits{};
            limits.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
            limits.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
            OnGetMinMaxInfo(&limits);
            width = std::clamp<int>(width, limits.ptMinTrackSize.x, limits.ptMaxTrackSize.x);
            height = std::clamp<int>(height, limits.ptMinTrackSize.y, limits.ptMaxTrackSize.y);
            // A caption the user cannot take hold of (off the screen, a monitor since unplugged,
            // a few pixels at an edge) opens centred as on a first run, at the stored size when
            // that fits the screen.
            if (!CaptionReachable(left, top, width)) {
                if (width > GetSystemMetrics(SM_CXSCREEN) || height > GetSystemMetrics(SM_CYSCREEN)) {
                    width = designWidth;
                    height = designHeight;
                }
                const POINT centred = CentredOnScreen(*this, width, height);
                left = centred.x;
                top = centred.y;
            }
            SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    } else {
        RECT r{};
        GetWindowRect(hwnd_, &r);
        const POINT centred = CentredOnScreen(*this, r.right - r.left, r.bottom - r.top);
        SetWindowPos(hwnd_, nullptr, centred.x, centred.y, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
        GetWindowRect(hwnd_, &r);
        WriteGeometry(ToTwips(r.right - r.left), ToTwips(r.bottom - r.top), ToTwips(r.left), ToTwips(r.top));
    }

    for (const std::wstring& folder : {App::ParkedFolder(), App::BackupFolder()})
        if (!MyMod::FolderExists(folder)) CreateDirectoryW(folder.c_str(), nullptr);

    BringToFront(lv2);

    NavigatorNodes();
    SelectNode(L"one");
    ExpandAllNodes();

    SetViewTitle(L"All Startups");
    SetPanelText(3, ClockText());
    SetPanelText(1, App::Title() + L" " + std::to_wstring(App::Major()) + L"." + std::to_wstring(App::Minor()));

    const bool byServiceName = Text::EqualsNoCase(General::GetStringValue(key, App::Value::kSorted), L"1");
    ListView::SetColumnIcon(lv, 0, byServiceName ? Images::kIconOtherColumn : Images::kIconSortColumn);
    ListView::SetColumnIcon(lv, 1, byServiceName ? Images::kIconSortColumn : Images::kIconOtherColumn);
    // The list starts in the saved order too, so a close before the services view was ever
    // opened writes the user's choice back rather than the display-name order ("0").
    lvSortKey = byServiceName ? ServiceSortKey::ServiceName : ServiceSortKey::DisplayName;

    if (WindowsVersion::ProductContains(L"Windows 2000")) menus.SetVisible(L"mnuConfig", false);

    DoEvents();
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    SetTimer(hwnd_, IDT_Timer1, 1000, nullptr);

    tvwDemo_NodeClick(SelectedNodeKey());

    SetServiceToolTips();
    SetStartupToolTips();
    lv2_Click();

    // A close that came during the load waits in the queue; the question would only be
    // closed under the user, so it waits for the next start.
    MSG closing{};
    if (PeekMessageW(&closing, hwnd_, WM_CLOSE, WM_CLOSE, PM_NOREMOVE)) return;

    double backup = 0;
    if (!(Text::ParseDouble(General::GetStringValue(key, App::Value::kBackup), backup) && backup == 1)) {
        const int answer = Seam::ShowMessage(hwnd_, kBackupText, kBackupTitle, MB_YESNO | MB_ICONEXCLAMATION);
        General::SetStringValue(key, App::Value::kBackup, L"1");
        if (answer == IDYES) mnuBackup_Click();
    }
}

void Form1::Form_Resize() {
    if (!hwnd_ || IsIconic(hwnd_)) return;
    RECT r{};
    GetWindowRect(hwnd_, &r);
    const int W = ToTwips(r.right - r.left);
    const int H = ToTwips(r.bottom - r.top);
    auto size = [this](HWND c, int left, int top, int width, int height) {
        MoveWindow(c, Twips(left), Twips(top), Twips(width), Twips(height), TRUE);
    };
    auto rectOf = [this](HWND c) {
        RECT rc{};
        GetWindowRect(c, &rc);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&rc), 2);
        return RECT{ToTwips(rc.left), ToTwips(rc.top), ToTwips(rc.right), ToTwips(rc.bottom)};
    };
    const RECT lvRect = rectOf(lv);
    size(lv, lvRect.left, lvRect.top, W - 3450, H - 2300);
    for (HWND list : {lv2, lv3}) size(list, rectOf(list).left, lvRect.top, W - 3450, H - 2300);
    const RECT txt = rectOf(txtFiles);
    size(txtFiles, txt.left, txt.top, W - 3450, H - 2300);
    const RECT tree = rectOf(tvwDemo);
    size(tvwDemo, tree.left, tree.top, tree.right - tree.left, H - 2300);
    for (HWND label : {lblHeader, lblCount}) {
        const RECT lr = rectOf(label);
        size(label, lr.left, lr.top, W, lr.bottom - lr.top);
    }
    for (HWND line : {Line1, Line3}) {
        const RECT lr = rectOf(line);
        size(line, 0, lr.top, W, lr.bottom - lr.top);
    }
    const RECT i3 = rectOf(Image3);
    size(Image3, W - 1000, i3.top, i3.right - i3.left, i3.bottom - i3.top);
    const RECT i1 = rectOf(Image1);
    size(Image1, W / 2 - (i1.right - i1.left) / 2, i1.top, i1.right - i1.left, i1.bottom - i1.top);
    const RECT save = rectOf(cmdSave);
    size(cmdSave, W - 1650, H - 1650, save.right - save.left, save.bottom - save.top);
    const RECT count = rectOf(lblCount);
    size(lblCount, W / 2 - (count.right - count.left) / 2, count.top, count.right - count.left,
         count.bottom - count.top);
    // Centred text moves with the width; a static control would paint only the strip it gained.
    InvalidateRect(lblCount, nullptr, TRUE);

    SendMessageW(StatusBar1, WM_SIZE, 0, 0);
    RECT client{};
    GetClientRect(hwnd_, &client);
    int parts[3] = {Twips(2400), client.right - Twips(4200), -1};
    if (parts[1] <= parts[0]) parts[1] = parts[0] + 1;
    SendMessageW(StatusBar1, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
}

int Form1::CheckListSelection(HWND list) {
    const int current = ListView::Current(list);
    if (current >= 0 && (ListView_GetItemState(list, current, LVIS_SELECTED) & LVIS_SELECTED)) return current;
    Seam::ShowMessage(hwnd_, kSelectStartupItem, App::Title(), MB_OK | MB_ICONEXCLAMATION);
    SetFocus(list);
    if (current >= 0) ListView::Select(list, current);
    return -1;
}

void Form1::Timer1_Timer() { SetPanelText(3, ClockText()); }

void Form1::OnGetMinMaxInfo(MINMAXINFO* info) const {
    info->ptMinTrackSize.x = Twips(kMinWidthTwips);
    info->ptMinTrackSize.y = Twips(kMinHeightTwips);
}

void Form1::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    // The registry writes report nothing; a failed one never keeps the window from closing.
    const std::wstring& key = App::AppKey();
    const int state = WindowState();
    General::SetStringValue(key, App::Value::kState, std::to_wstring(state));
    if (state == 0) {
        RECT r{};
        GetWindowRect(hwnd_, &r);
        WriteGeometry(ToTwips(r.right - r.left), ToTwips(r.bottom - r.top), ToTwips(r.left), ToTwips(r.top));
        SaveServiceSortKey();
    }
    KillTimer(hwnd_, IDT_Timer1);
    Forms::UnloadAll();
}

void Form1::mnuExit_Click() { SendMessageW(hwnd_, WM_CLOSE, 0, 0); }

LRESULT Form1::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        CreateControls();
        ApplyDesignGeometry();
        return 0;
    case WM_SIZE:
        Form_Resize();
        return 0;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lp));
        return 0;
    case WM_TIMER:
        if (wp == IDT_Timer1) Timer1_Timer();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
        return 0;
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lp));
    case WM_CTLCOLORSTATIC: {
        const HWND c = reinterpret_cast<HWND>(lp);
        if (c == lblHeader || c == lblCount || c == Image1 || c == Image3) {
            SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        break;
    }
    case WM_SETCURSOR:
        if (waitPointers_ > 0) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_CLOSE:
        // A close while work yields waits until the work's Busy scope ends, and one while a
        // dialog's code runs (a message box of its own is up) until that code has returned.
        if (busy_) {
            closePending_ = true;
            return 0;
        }
        if (Forms::AnyInUse()) {
            Forms::WhenNoneInUse([window = hwnd_] {
                if (IsWindow(window)) PostMessageW(window, WM_CLOSE, 0, 0);
            });
            return 0;
        }
        Form_Unload();
        DestroyWindow(hwnd_);
        return 0;
    case WM_ENDSESSION:
        // Log-off and shut-down end the program without a close: it unloads as a close would.
        if (wp) Form_Unload();
        return 0;
    case WM_DESTROY:
        if (quitOnDestroy) PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

void Form1::OnCommand(UINT id, UINT code, HWND control) {
    (void)control;
    switch (id) {
    case IDC_cmdWL: cmdWL_Click(); break;
    case IDC_cmdSave:
        if (code == BN_CLICKED) cmdSave_Click();
        break;
    // Menu entries; mnuNone ("No Startups") and mnuRemoveS run nothing.
    case IDM_mnuExit: mnuExit_Click(); break;
    case IDM_mnuExportTextSrv: mnuExportTextSrv_Click(); break;
    case IDM_mnuExportCSVSsrv: mnuExportCSVSsrv_Click(); break;
    case IDM_mnuFind: mnuFind_Click(); break;
    case IDM_mnuGoog2: mnuGoog2_Click(); break;
    case IDM_mnuRun2: mnuRun2_Click(); break;
    case IDM_mnuStopR: mnuStopR_Click(); break;
    case IDM_mnuBackup: mnuBackup_Click(); break;
    case IDM_mnuRestore: mnuRestore_Click(); break;
    case IDM_mnuNew: mnuNew_Click(); break;
    case IDM_mnuExportText: mnuExportText_Click(); break;
    case IDM_mnuExportCSV: mnuExportCSV_Click(); break;
    case IDM_mnuLegend: mnuLegend_Click(); break;
    case IDM_mnuProperites2: mnuProperites2_Click(); break;
    case IDM_mnuFind2: mnuFind2_Click(); break;
    case IDM_mnuGoog3: mnuGoog3_Click(); break;
    case IDM_mnuEnable2: mnuEnable2_Click(); break;
    case IDM_mnuDisable2: mnuDisable2_Click(); break;
    case IDM_mnuRun3: mnuRun3_Click(); break;
    case IDM_mnuStop3: mnuStop3_Click(); break;
    case IDM_mnuDelete2: mnuDelete2_Click(); break;
    case IDM_mnuLegend2: mnuLegend2_Click(); break;
    case IDM_mnuProperties3: mnuProperties3_Click(); break;
    case IDM_mnuMsg: mnuMsg_Click(); break;
    case IDM_mnuRestore2: mnuRestore2_Click(); break;
    case IDM_mnuProperties4: mnuProperties4_Click(); break;
    case IDM_mnuSeeSubs: mnuSeeSubs_Click(); break;
    case IDM_mnuSave: mnuSave_Click(); break;
    case IDM_mnuConfig: mnuConfig_Click(); break;
    case IDM_mnuSysConfig: mnuSysConfig_Click(); break;
    case IDM_mnuAUR: mnuAUR_Click(); break;
    case IDM_mnuAURO: mnuAURO_Click(); break;
    case IDM_mnuAUROEX: mnuAUROEX_Click(); break;
    case IDM_mnuCUR: mnuCUR_Click(); break;
    case IDM_mnuCURO: mnuCURO_Click(); break;
    case IDM_mnuCurrent: mnuCurrent_Click(); break;
    case IDM_mnuAll: mnuAll_Click(); break;
    case IDM_mnuWindows: mnuWindows_Click(); break;
    case IDM_mnuSystem: mnuSystem_Click(); break;
    case IDM_mnuContent: mnuContent_Click(); break;
    case IDM_mnuAbout: mnuAbout_Click(); break;
    // Registry startup actions.
    case IDM_mnuDisable: mnuDisable_Click(); break;
    case IDM_mnuEnable: mnuEnable_Click(); break;
    case IDM_mnuDelete: mnuDelete_Click(); break;
    // Services view: its menu entries and hidden buttons.
    case IDM_mnuStart: mnuStart_Click(); break;
    case IDM_mnuStop: mnuStop_Click(); break;
    case IDM_mnuAuto: mnuAuto_Click(); break;
    case IDM_mnuManual: mnuManual_Click(); break;
    case IDM_mnuDisabled: mnuDisabled_Click(); break;
    case IDM_mnuInstallS: mnuInstallS_Click(); break;
    case IDM_mnuSortDisplay: mnuSortDisplay_Click(); break;
    case IDM_mnuSortService: mnuSortService_Click(); break;
    case IDM_mnuProperites: mnuProperites_Click(); break;
    case IDM_mnuFind3: mnuFind3_Click(); break;
    case IDM_mnuGoog: mnuGoog_Click(); break;
    case IDM_mnuMsService: mnuMsService_Click(); break;
    case IDM_mnuLegend3: mnuLegend3_Click(); break;
    case IDC_Command1: Command1_Click(); break;
    case IDC_Command2: Command2_Click(); break;
    case IDC_Command6: Command6_Click(); break;
    default: break;
    }
}

LRESULT Form1::OnNotify(NMHDR* header) {
    if (header->hwndFrom == tvwDemo) {
        switch (header->code) {
        case TVN_SELCHANGEDW: {
            // Programmatic selections (TVC_UNKNOWN) dispatch nothing: their caller dispatches.
            const auto* tv = reinterpret_cast<NMTREEVIEWW*>(header);
            if (tv->action == TVC_BYMOUSE || tv->action == TVC_BYKEYBOARD) {
                if (tv->action == TVC_BYMOUSE && clickAwaitingSelChange == tv->itemNew.hItem) {
                    clickAwaitingSelChange = nullptr;    // its NM_CLICK came first
                } else {
                    selChangeAwaitingClick = tv->action == TVC_BYMOUSE ? tv->itemNew.hItem : nullptr;
                }
                tvwDemo_NodeClick(SelectedNodeKey());
            }
            return 0;
        }
        case NM_CLICK: {
            // A click on the node already selected changes no selection: it dispatches here.
            // A click that selects another node dispatches on TVN_SELCHANGED, before or after this.
            TVHITTESTINFO hit{};
            const DWORD pos = GetMessagePos();
            hit.pt = {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
            ScreenToClient(tvwDemo, &hit.pt);
            const HTREEITEM item = TreeView_HitTest(tvwDemo, &hit);
            const HTREEITEM awaited = std::exchange(selChangeAwaitingClick, nullptr);
            clickAwaitingSelChange = nullptr;
            if (!item || !(hit.flags & TVHT_ONITEM)) return 0;
            if (item != TreeView_GetSelection(tvwDemo)) {
                clickAwaitingSelChange = item;
            } else if (item != awaited) {
                tvwDemo_NodeClick(SelectedNodeKey());
            }
            return 0;
        }
        case TVN_ITEMEXPANDEDW: {
            const auto* tv = reinterpret_cast<NMTREEVIEWW*>(header);
            if (tv->action & TVE_EXPAND) tvwDemo_Expand(tv->itemNew.hItem);
            else if (tv->action & TVE_COLLAPSE) tvwDemo_Collapse(tv->itemNew.hItem);
            return 0;
        }
        default:
            return 0;
        }
    }
    // Services list: clicks, right-button releases, header clicks, colours and tooltips.
    if (header->hwndFrom == lv) {
        switch (header->code) {
        case NM_CLICK: {
            POINT pt = reinterpret_cast<NMITEMACTIVATE*>(header)->ptAction;
            ClientToScreen(lv, &pt);
            lv_MouseUp(1, pt);
            lv_Click();
            return 0;
        }
        case NM_RCLICK: {
            POINT pt = reinterpret_cast<NMITEMACTIVATE*>(header)->ptAction;
            ClientToScreen(lv, &pt);
            lv_MouseUp(2, pt);
            return 0;
        }
        case NM_DBLCLK: lv_DblClick(); return 0;
        case LVN_COLUMNCLICK: lv_ColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem); return 0;
        case NM_CUSTOMDRAW: return lv_CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
        case LVN_GETINFOTIPW: lv_GetInfoTip(reinterpret_cast<NMLVGETINFOTIPW*>(header)); return 0;
        case LVN_GETDISPINFOW: lv_GetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(header)); return 0;
        default: break;
        }
    }
    if ((header->hwndFrom == lv || header->hwndFrom == lv2 || header->hwndFrom == lv3) &&
        header->code == NM_CUSTOMDRAW) {
        return ListView::CustomDraw(header);
    }
    // Startup lists: clicks, right-button releases, double clicks, the Delete key, tooltips and row deletions.
    if (header->hwndFrom == lv2 || header->hwndFrom == lv3) {
        const bool isLv2 = header->hwndFrom == lv2;
        switch (header->code) {
        case NM_CLICK:
            if (isLv2) lv2_Click();
            else lv3_Click();
            return 0;
        case NM_RCLICK: {
            POINT pt = reinterpret_cast<NMITEMACTIVATE*>(header)->ptAction;
            ClientToScreen(header->hwndFrom, &pt);
            if (isLv2) lv2_MouseUp(2, pt);
            else lv3_MouseUp(2, pt);
            return 0;
        }
        case LVN_KEYDOWN:
            if (isLv2) lv2_KeyDown(reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey);
            else lv3_KeyDown(reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey);
            return 0;
        case LVN_GETINFOTIPW:
            if (isLv2) lv2_GetInfoTip(reinterpret_cast<NMLVGETINFOTIPW*>(header));
            else lv3_GetInfoTip(reinterpret_cast<NMLVGETINFOTIPW*>(header));
            return 0;
        // The rows' folder items follow the rows.
        case LVN_DELETEITEM: OnListRowsDeleted(header); return 0;
        case LVN_DELETEALLITEMS:
            OnListRowsDeleted(header);
            return TRUE;  // no row needs a notice of its own: emptying a long list stays quick
        case NM_DBLCLK:
            if (isLv2) lv2_DblClick();
            else lv3_DblClick();
            return 0;
        default:
            break;
        }
    }
    return 0;
}
