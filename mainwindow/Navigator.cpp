// The navigator tree: its 21 nodes, selection by key, expand and collapse images,
// and the node-click dispatcher that turns a node into a view.
#include "mainwindow/Form1.h"

#include "mainwindow/ListView.h"
#include "system/App.h"
#include "system/Paths.h"
#include "system/Registry.h"
#include "system/Text.h"

#include <optional>
#include <iterator>

namespace {

constexpr int kFolderClosed = 0;
constexpr int kFolderOpen = 1;

// The nine Action menus; the dispatcher shows one of them.
constexpr const wchar_t* kActionMenus[] = {L"mnuPopup",  L"mnuPopup2", L"mnuPopup3", L"mnuPopup4", L"mnuPopup5",
                                           L"mnuPopup6", L"mnuPopup7", L"mnuPopup8", L"mnuPopup9"};
// Shown with the registry Action menu in the "All Startups" view only.
constexpr const wchar_t* kExportEntries[] = {L"sep20", L"mnuExportText", L"mnuExportCSV"};

constexpr wchar_t kBackupFile[] = L"\\Backups\\RegKeys.reg";
constexpr wchar_t kKernelFaultCheck[] = L"KernelFaultCheck";

// View titles, written into lblCount and panel 2.
constexpr wchar_t kTitleDisabled[] = L"Disabled Startups All Users";
constexpr wchar_t kTitleDisabledRegistry[] = L"Disabled Startups Registry All Users";
constexpr wchar_t kTitleDisabledFolder[] = L"Disabled Startup Folder Items All Users";
constexpr wchar_t kTitleStartupFolder[] = L"Startup Folder All Users";
constexpr wchar_t kTitleHklmRun[] = L"Registry All Users Run";
constexpr wchar_t kTitleHklmRunOnce[] = L"Registry All Users Run Once";
constexpr wchar_t kTitleHklmRunOnceEx[] = L"Registry All Users Run OnceEx";
constexpr wchar_t kTitleHklm[] = L"Registry All Users";
constexpr wchar_t kTitleHkcu[] = L"Registry Current User";
constexpr wchar_t kTitleHkcuRun[] = L"Registry Current User Run";
constexpr wchar_t kTitleHkcuRunOnce[] = L"Registry Current User Run Once";
constexpr wchar_t kTitleAllRegistry[] = L"All Registry Startups";
constexpr wchar_t kTitleAllStartups[] = L"All Startups";
constexpr wchar_t kTitleFileSystem[] = L"File System Startups";
constexpr wchar_t kTitleWinlogon[] = L"Windows Logon Startups";
constexpr wchar_t kTitleWinIni[] = L"Possible Win.ini Startups";
constexpr wchar_t kTitleSystemIni[] = L"Possible System.ini Startups";
constexpr wchar_t kTitleAutoExec[] = L"Possible AutoExec.bat Startups";
constexpr wchar_t kTitleBootIni[] = L"Possible Boot.ini Startups";
constexpr wchar_t kTitleConfigSys[] = L"Possible Config.sys Startups";

// The whole file as bytes; nullopt when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    UniqueHandle owner(file);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 0x7FFFFFFF) return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD done = 0;
    if (!bytes.empty() && (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) ||
                           done != bytes.size()))
        return std::nullopt;
    return bytes;
}

struct NodeSpec {
    const wchar_t* key;
    const wchar_t* text;
    const wchar_t* parent;
};

// In the order they are added; keys are compared without regard to case.
constexpr NodeSpec kNodes[] = {
    {L"one", L"All Startups", L""},
    {L"two", L"Startup Folder", L"one"},
    {L"three", L"Registry", L"one"},
    {L"another", L"All Users", L"three"},
    {L"another11", L"Run", L"another"},
    {L"another22", L"RunOnce", L"another"},
    {L"another33", L"RunOnceEx", L"another"},
    {L"another25", L"Current User", L"three"},
    {L"another26", L"Run", L"another25"},
    {L"another27", L"RunOnce", L"another25"},
    {L"seven", L"Disabled Startups", L"one"},
    {L"another 44", L"Registry", L"seven"},
    {L"another 45", L"Startup Folder", L"seven"},
    {L"ten", L"WinLogon", L"one"},
    {L"eleven", L"File System Startups", L""},
    {L"five", L"AutoExec.bat", L"eleven"},
    {L"boot", L"Boot.ini", L"eleven"},
    {L"nine", L"Config.sys", L"eleven"},
    {L"eight", L"System.ini", L"eleven"},
    {L"four", L"Win.ini", L"eleven"},
    {L"six", L"Services", L""},
};

void SetNodeImage(HWND tree, HTREEITEM item, int image) {
    if (!item) return;
    TVITEMW tv{};
    tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tv.hItem = item;
    tv.iImage = image;
    tv.iSelectedImage = image;
    TreeView_SetItem(tree, &tv);
}

} // namespace

void Form1::NavigatorNodes() {
    TreeView_DeleteAllItems(tvwDemo);
    nodes.clear();
    for (const auto& spec : kNodes) {
        const NavigatorNode* parent = spec.parent[0] ? FindNode(spec.parent) : nullptr;
        TVINSERTSTRUCTW ins{};
        ins.hParent = parent ? parent->item : TVI_ROOT;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
        ins.item.pszText = const_cast<wchar_t*>(spec.text);
        ins.item.iImage = kFolderClosed;
        ins.item.iSelectedImage = kFolderClosed;
        ins.item.lParam = static_cast<LPARAM>(nodes.size());
        NavigatorNode node{spec.key, spec.text, spec.parent, nullptr};
        node.item = TreeView_InsertItem(tvwDemo, &ins);
        nodes.push_back(std::move(node));
    }
}

const Form1::NavigatorNode* Form1::FindNode(const std::wstring& key) const {
    for (const auto& n : nodes)
        if (Text::EqualsNoCase(n.key, key)) return &n;
    return nullptr;
}

bool Form1::SelectNode(const std::wstring& key) {
    const NavigatorNode* node = FindNode(key);
    if (!node) return false;
    // A selection made by the program dispatches nothing by itself (TVC_UNKNOWN).
    TreeView_SelectItem(tvwDemo, node->item);
    return true;
}

std::wstring Form1::SelectedNodeKey() const {
    const HTREEITEM selected = TreeView_GetSelection(tvwDemo);
    for (const auto& n : nodes)
        if (n.item == selected) return n.key;
    return {};
}

void Form1::ExpandAllNodes() {
    // The handler runs itself: whether TVM_EXPAND notifies differs between systems.
    for (const auto& n : nodes) {
        if (!TreeView_GetChild(tvwDemo, n.item)) continue;
        TreeView_Expand(tvwDemo, n.item, TVE_EXPAND);
        tvwDemo_Expand(n.item);
    }
}

void Form1::CollapseAllNodes() {
    for (const auto& n : nodes) {
        if (!TreeView_GetChild(tvwDemo, n.item)) continue;
        TreeView_Expand(tvwDemo, n.item, TVE_COLLAPSE);
        tvwDemo_Collapse(n.item);
    }
}

void Form1::tvwDemo_Expand(HTREEITEM node) {
    SetNodeImage(tvwDemo, TreeView_GetSelection(tvwDemo), kFolderOpen);
    SetNodeImage(tvwDemo, node, kFolderOpen);
}

void Form1::tvwDemo_Collapse(HTREEITEM node) {
    SetNodeImage(tvwDemo, TreeView_GetSelection(tvwDemo), kFolderClosed);
    SetNodeImage(tvwDemo, node, kFolderClosed);
}

void Form1::cmdWL_Click() { tvwDemo_NodeClick(SelectedNodeKey()); }

void Form1::mnuSeeSubs_Click() {
    SelectNode(L"five");
    tvwDemo_NodeClick(SelectedNodeKey());
}

void Form1::ShowActionMenu(const wchar_t* menu, bool withExport) {
    for (const wchar_t* name : kActionMenus) menus.SetVisible(name, std::wstring_view(name) == menu);
    for (const wchar_t* name : kExportEntries) menus.SetVisible(name, withExport);
}

void Form1::RestoreCheck() {
    if (MyMod::FileExists(App::Path() + kBackupFile) && ListView::Count(lv2) > 0) menus.SetVisible(L"mnuRestore", true);
}

void Form1::DispatchStep(const wchar_t* name, void (Form1::*procedure)()) {
    if (onDispatchStep) onDispatchStep(name);
    (this->*procedure)();
}

// Runs the view of a node. The dispatcher yields to the message loop; a node click that
// arrives meanwhile (from the tree, a menu or a dialog pressing cmdWL) is kept and runs
// when this one has finished, the latest one winning, so no second dispatch starts into
// half-filled lists. A close that arrives meanwhile waits until the dispatch returns.
void Form1::tvwDemo_NodeClick(const std::wstring& key) {
    if (dispatching) {
        pendingNodeKey = key;
        hasPendingNode = true;
        return;
    }
    dispatching = true;
    std::wstring next = key;
    for (;;) {
        DispatchNodeCase(next);
        DispatchTail();
        if (!hasPendingNode || closePending) break;
        next = std::move(pendingNodeKey);
        hasPendingNode = false;
    }
    hasPendingNode = false;
    pendingNodeKey.clear();
    dispatching = false;
    if (closePending) {
        closePending = false;
        PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    }
}

void Form1::DispatchNodeCase(const std::wstring& key) {
    if (onDispatchStep) onDispatchStep(L"Clear");
    ListView::Clear(lv3);
    ListView::Clear(lv2);
    ListView::Clear(lv);

    const NavigatorNode* node = FindNode(key);
    if (!node) return;
    const std::wstring& k = node->key;
    auto is = [&k](const wchar_t* name) { return k == name; };
    auto runKeyView = [this](const wchar_t* title, void (Form1::*loader)(), const wchar_t* loaderName) {
        BringToFront(lv2);
        SetViewTitle(title);
        DispatchStep(loaderName, loader);
        DispatchStep(L"CleanStartupPaths", &Form1::CleanStartupPaths);
        ShowActionMenu(L"mnuPopup2");
        DispatchStep(L"MarkRunningStartups", &Form1::MarkRunningStartups);
        ActiveListTag = 2;
        RestoreCheck();
        DispatchStep(L"lv2_Click", &Form1::lv2_Click);
    };

    if (is(L"six")) {
        BringToFront(lv);
        const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        DoEvents();
        DispatchStep(L"LoadServices", &Form1::LoadServices);
        ShowActionMenu(L"mnuPopup");
        ActiveListTag = 1;
        DoEvents();
        DispatchStep(L"SaveServiceSortKey", &Form1::SaveServiceSortKey);
        SetCursor(previous ? previous : LoadCursorW(nullptr, IDC_ARROW));
        DispatchStep(L"lv_Click", &Form1::lv_Click);
    } else if (is(L"seven")) {
        BringToFront(lv2);
        DispatchStep(L"LoadDisabledStartups", &Form1::LoadDisabledStartups);
        DispatchStep(L"AddDisabledFolderStartups", &Form1::AddDisabledFolderStartups);
        SetViewTitle(kTitleDisabled);
        // A selected row whose path column holds ":\\" is a parked startup-folder item. With no
        // current row the test cannot be made and counts as met.
        const int current = ListView::Current(lv2);
        const bool folderItem =
            current < 0 || (ListView::Count(lv2) > 0 && ListView_GetItemState(lv2, current, LVIS_SELECTED) != 0 &&
                            Text::ContainsNoCase(ListView::Text(lv2, current, 2), L":\\"));
        if (folderItem) {
            ShowActionMenu(L"mnuPopup4");
        } else {
            ShowActionMenu(L"mnuPopup2");
            ActiveListTag = 2;
        }
        RestoreCheck();
        DispatchStep(L"lv2_Click", &Form1::lv2_Click);
    } else if (is(L"another 44")) {
        BringToFront(lv2);
        DispatchStep(L"LoadDisabledStartups", &Form1::LoadDisabledStartups);
        DispatchStep(L"MarkRunningDisabledStartups", &Form1::MarkRunningDisabledStartups);
        SetViewTitle(kTitleDisabledRegistry);
        ShowActionMenu(L"mnuPopup2");
        ActiveListTag = 2;
        RestoreCheck();
        DispatchStep(L"lv2_Click", &Form1::lv2_Click);
    } else if (is(L"another 45")) {
        BringToFront(lv3);
        ListView::Clear(lv3);
        DispatchStep(L"LoadDisabledFolderItems", &Form1::LoadDisabledFolderItems);
        SetViewTitle(kTitleDisabledFolder);
        ShowActionMenu(L"mnuPopup3");
        ActiveListTag = 3;
        DispatchStep(L"lv3_Click", &Form1::lv3_Click);
    } else if (is(L"two")) {
        BringToFront(lv3);
        SetViewTitle(kTitleStartupFolder);
        DispatchStep(L"LoadCommonStartupFolder", &Form1::LoadCommonStartupFolder);
        DispatchStep(L"LoadUserStartupFolder", &Form1::LoadUserStartupFolder);
        ShowActionMenu(L"mnuPopup3");
        DispatchStep(L"MarkRunningFolderStartups", &Form1::MarkRunningFolderStartups);
        ActiveListTag = 3;
        DispatchStep(L"lv3_Click", &Form1::lv3_Click);
    } else if (is(L"another11")) {
        runKeyView(kTitleHklmRun, &Form1::LoadRunHKLM, L"LoadRunHKLM");
    } else if (is(L"another22")) {
        runKeyView(kTitleHklmRunOnce, &Form1::LoadRunOnceHKLM, L"LoadRunOnceHKLM");
    } else if (is(L"another33")) {
        runKeyView(kTitleHklmRunOnceEx, &Form1::LoadRunOnceExHKLM, L"LoadRunOnceExHKLM");
    } else if (is(L"another")) {
        BringToFront(lv2);
        SetViewTitle(kTitleHklm);
        DispatchStep(L"LoadRunHKLM", &Form1::LoadRunHKLM);
        DispatchStep(L"LoadRunOnceHKLM", &Form1::LoadRunOnceHKLM);
        DispatchStep(L"LoadRunOnceExHKLM", &Form1::LoadRunOnceExHKLM);
        DispatchStep(L"CleanStartupPaths", &Form1::CleanStartupPaths);
        DispatchStep(L"MarkRunningStartups", &Form1::MarkRunningStartups);
        ShowActionMenu(L"mnuPopup2");
        ActiveListTag = 2;
        RestoreCheck();
        DispatchStep(L"lv2_Click", &Form1::lv2_Click);
    } else if (is(L"another25")) {
        BringToFront(lv2);
        SetViewTitle(kTitleHkcu);
        DispatchStep(L"LoadRunHKCU", &Form1::LoadRunHKCU);
        DispatchStep(L"LoadRunOnceHKCU", &Form1::LoadRunOnceHKCU);
        DispatchStep(L"CleanStartupPaths", &Form1::CleanStartupPaths);
        ShowActionMenu(L"mnuPopup2");
        DispatchStep(L"MarkRunningStartups", &Form1::MarkRunningStartups);
        ActiveListTag = 2;
        RestoreCheck();
        DispatchStep(L"lv2_Click", &Form1::lv2_Click);
    } else if (is(L"another26")) {
        runKeyView(kTitleHkcuRun, &Form1::LoadRunHKCU, L"LoadRunHKCU");
    } else if (is(L"another27")) {
        runKeyView(kTitleHkcuRunOnce, &Form1::LoadRunOnceHKCU, L"LoadRunOnceHKCU");
    } else if (is(L"three")) {
        BringToFront(lv2);
        SetViewTitle(kTitleAllRegistry);
        DispatchStep(L"LoadRunHKLM", &Form1::LoadRunHKLM);
        DispatchStep(L"LoadRunOnceHKLM", &Form1::LoadRunOnceHKLM);
        DispatchStep(L"LoadRunOnceExHKLM", &Form1::LoadRunOnceExHKLM);
        DispatchStep(L"LoadRunHKCU", &Form1::LoadRunHKCU);
        DispatchStep(L"LoadRunOnceHKCU", &Form1::LoadRunOnceHKCU);
        DispatchStep(L"CleanStartupPaths", &Form1::CleanStartupPaths);
        DispatchStep(L"MarkRunningStartups", &Form1::MarkRunningStartups);
        ShowActionMenu(L"mnuPopup2");
        ActiveListTag = 2;
        RestoreCheck();
        DispatchStep(L"lv2_Click", &Form1::lv2_Click);
    } else if (is(L"one")) {
        // The largest list: lv2 does not redraw until it is complete. Only one window can be
        // locked at a time; when another one holds the lock it is left to its owner.
        const bool locked = LockWindowUpdate(lv2) != FALSE;
        BringToFront(lv2);
        SetViewTitle(kTitleAllStartups);
        DispatchStep(L"LoadRunHKLM", &Form1::LoadRunHKLM);
        DispatchStep(L"LoadRunOnceHKLM", &Form1::LoadRunOnceHKLM);
        DispatchStep(L"LoadRunOnceExHKLM", &Form1::LoadRunOnceExHKLM);
        DispatchStep(L"LoadRunHKCU", &Form1::LoadRunHKCU);
        DispatchStep(L"LoadRunOnceHKCU", &Form1::LoadRunOnceHKCU);
        DispatchStep(L"CleanStartupPaths", &Form1::CleanStartupPaths);
        DispatchStep(L"LoadCommonStartupFolder", &Form1::LoadCommonStartupFolder);
        DispatchStep(L"LoadUserStartupFolder", &Form1::LoadUserStartupFolder);
        DispatchStep(L"MarkRunningStartups", &Form1::MarkRunningStartups);
        DispatchStep(L"MarkRunningFolderStartups", &Form1::MarkRunningFolderStartups);
        DoEvents();
        DispatchStep(L"AddFolderItemsToAllList", &Form1::AddFolderItemsToAllList);
        ShowActionMenu(L"mnuPopup2", true);
        ActiveListTag = 2;
        RestoreCheck();
        DispatchStep(L"lv2_Click", &Form1::lv2_Click);
        if (locked) LockWindowUpdate(nullptr);
    } else if (is(L"eleven")) {
        BringToFront(lv2);
        SetViewTitle(kTitleFileSystem);
        ShowActionMenu(L"mnuPopup7");
        DispatchStep(L"LoadSystemFiles", &Form1::LoadSystemFiles);
        DispatchStep(L"ShowSystemFileWarning", &Form1::ShowSystemFileWarning);
        DispatchStep(L"lv2_Click", &Form1::lv2_Click);
    } else if (is(L"ten")) {
        BringToFront(lv2);
        DispatchStep(L"LoadUserinitEntry", &Form1::LoadUserinitEntry);
        SetViewTitle(kTitleWinlogon);
        ShowActionMenu(L"mnuPopup6");
        DispatchStep(L"lv2_Click", &Form1::lv2_Click);
    } else {
        const std::wstring windows = MyMod::GetWindowsDir();
        const std::wstring drive = windows.substr(0, 3);
        if (is(L"four")) DispatchFileCase(L"ini", windows + L"\\Win.ini", kTitleWinIni);
        else if (is(L"eight")) DispatchFileCase(L"ini2", windows + L"\\System.ini", kTitleSystemIni);
        else if (is(L"five")) DispatchFileCase(L"bat", drive + L"\\AutoExec.bat", kTitleAutoExec);
        else if (is(L"boot")) DispatchFileCase(L"boot", drive + L"\\boot.ini", kTitleBootIni);
        else if (is(L"nine")) DispatchFileCase(L"sys", drive + L"\\Config.sys", kTitleConfigSys);
    }
}

// A legacy file in the editor. A file that exists but cannot be read counts as missing, so
// the editor never keeps the previous file's text under another file's name for Save. So does
// a file holding a NUL (a Unicode file, say): the editor ends its text there, and saving it back
// would cut the file short. Both Save controls stay disabled while the editor holds no file.
void Form1::DispatchFileCase(const wchar_t* tag, const std::wstring& path, const wchar_t* title) {
    BringToFront(txtFiles);
    SystemFileTag = tag;
    BringToFront(cmdSave);
    SetViewTitle(title);
    std::optional<std::string> bytes;
    if (MyMod::FileExists(path)) bytes = ReadWholeFile(path);
    if (bytes && bytes->find('\0') != std::string::npos) bytes.reset();
    menus.SetEnabled(L"mnuSave", bytes.has_value());
    EnableWindow(cmdSave, bytes.has_value());
    if (bytes) {
        SetWindowTextW(txtFiles, Text::FromAnsi(*bytes).c_str());
    } else {
        SetWindowTextW(txtFiles, L"");
    }
    DispatchStep(L"ShowSystemFileWarning", &Form1::ShowSystemFileWarning);
    ShowActionMenu(L"mnuPopup8");
}

void Form1::DispatchTail() {
    if (onDispatchStep) onDispatchStep(L"Tail");
    // The empty test comes before the KernelFaultCheck rows are dropped.
    const bool empty = (ActiveListTag == 1 && ListView::Count(lv) == 0) ||
                       (ActiveListTag == 2 && ListView::Count(lv2) == 0) ||
                       (ActiveListTag == 3 && ListView::Count(lv3) == 0);
    if (empty) {
        for (const wchar_t* name : kActionMenus) menus.SetVisible(name, std::wstring_view(name) == L"mnuPopup9");
    }
    for (int row = ListView::Count(lv2) - 1; row >= 0; --row)
        if (Text::EqualsNoCase(ListView::Text(lv2, row, 0), kKernelFaultCheck)) ListView::DeleteRow(lv2, row);
    ActiveListTag = 0;
    DispatchStep(L"ShowEnableDisableMenus", &Form1::ShowEnableDisableMenus);
    DispatchStep(L"SetStartupToolTips", &Form1::SetStartupToolTips);
    DispatchStep(L"SetFolderToolTips", &Form1::SetFolderToolTips);
    DispatchStep(L"MarkStartupDates", &Form1::MarkStartupDates);
    General::SetStringValue(App::AppKey(), App::Value::kLv2DT, L"1");
}
