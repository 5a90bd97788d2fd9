// The navigator tree: its 21 nodes, selection by key, expand and collapse images,
// and the node-click dispatcher that turns a node into a view.
#include "mainwindow/Form1.h"

#include "mainwindow/ListView.h"
#include "startups/RegistryParking.h"
#include "startups/SystemFiles.h"
#include "system/App.h"
#include "system/Paths.h"
#include "system/Registry.h"
#include "system/Text.h"

#include <array>
#include <optional>

namespace {

constexpr int kFolderClosed = 0;
constexpr int kFolderOpen = 1;

// The nine Action menus; the dispatcher shows one of them.
constexpr const wchar_t* kActionMenus[] = {L"mnuPopup",  L"mnuPopup2", L"mnuPopup3", L"mnuPopup4", L"mnuPopup5",
                                           L"mnuPopup6", L"mnuPopup7", L"mnuPopup8", L"mnuPopup9"};
// Shown with the registry Action menu in the "All Startups" view only.
constexpr const wchar_t* kExportEntries[] = {L"sep20", L"mnuExportText", L"mnuExportCSV"};

constexpr wchar_t kKernelFaultCheck[] = L"KernelFaultCheck";
constexpr wchar_t kDumprep[] = L"\\dumprep";
constexpr wchar_t kExe[] = L".exe";

// The system's own crash-dump entry: "KernelFaultCheck" in a Run key, running the system's
// dumprep ("%systemroot%\system32\dumprep 0 -k"). Any other program of that name, and every
// parked record, is listed like other startups.
bool IsSystemCrashDumpEntry(HWND list, int row) {
    if (!Text::EqualsNoCase(ListView::Text(list, row, 0), kKernelFaultCheck) ||
        RegistryParking::TargetOf(list, row) != RegistryParking::DeleteTarget::RunValue)
        return false;
    std::wstring command = MyMod::ExpandEnvironment(ListView::Text(list, row, 1));
    std::erase(command, L'"');
    const std::wstring program = MyMod::GetSystemDir() + kDumprep;
    if (!Text::StartsWithNoCase(command, program)) return false;
    std::wstring_view rest = std::wstring_view(command).substr(program.size());
    if (Text::StartsWithNoCase(rest, kExe)) rest.remove_prefix(std::size(kExe) - 1);
    return rest.empty() || rest.front() == L' ';
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

// ---- The dispatcher's table: one row per view ----

// What a step of a view does. Run calls a procedure of Form1; the others are the dispatcher's own.
enum class Do : unsigned char {
    End,                 // past the row's last step
    Run,                 // the procedure the step names
    Front,               // the row's view to the front; the editor with cmdSave in front of it
    Title,               // the row's title into lblCount, then panel 2
    Menus,               // the row's Action menu shown, the other eight hidden (ShowActionMenu)
    Tag,                 // ActiveListTag = the row's tag
    RestoreCheck,        // mnuRestore shown when the backup exists and lv2 has rows
    Yield,               // pending window messages run (DoEvents)
    Hourglass,           // the mouse pointer to the hourglass ...
    DefaultPointer,      // ... and back
    LockRedraw,          // lv2 stops redrawing (LockWindowUpdate) ...
    UnlockRedraw,        // ... and redraws again
    ClearFolderList,     // lv3 emptied again
    DisabledMenuChoice,  // a parked folder item in front: kFolderItemMenu; else Menus and Tag
    LegacyFile,          // the row's file into the editor, SystemFileTag and the Save controls set
};

struct ViewStep {
    Do what = Do::End;
    const wchar_t* name = nullptr;             // Run: the procedure's name, reported to onDispatchStep
    void (Form1::*procedure)() = nullptr;
};

// A procedure of Form1 as a step, under its own name.
#define CORVELL_WIDEN2(text) L##text
#define CORVELL_WIDEN(text) CORVELL_WIDEN2(text)
#define RUN(procedure) ViewStep{Do::Run, CORVELL_WIDEN(#procedure), &Form1::procedure}

constexpr ViewStep kFront{Do::Front};
constexpr ViewStep kTitle{Do::Title};
constexpr ViewStep kMenus{Do::Menus};
constexpr ViewStep kTag{Do::Tag};
constexpr ViewStep kRestoreCheck{Do::RestoreCheck};
constexpr ViewStep kYield{Do::Yield};
constexpr ViewStep kHourglass{Do::Hourglass};
constexpr ViewStep kDefaultPointer{Do::DefaultPointer};
constexpr ViewStep kLockRedraw{Do::LockRedraw};
constexpr ViewStep kUnlockRedraw{Do::UnlockRedraw};
constexpr ViewStep kClearFolderList{Do::ClearFolderList};
constexpr ViewStep kDisabledMenuChoice{Do::DisabledMenuChoice};
constexpr ViewStep kLegacyFile{Do::LegacyFile};

enum class View : unsigned char { Services, RegistryList, FolderList, Editor };  // lv, lv2, lv3, txtFiles

constexpr size_t kMaxSteps = 22;
constexpr wchar_t kFolderItemMenu[] = L"mnuPopup4";  // "See Startup Folder for options"

using ViewSteps = std::array<ViewStep, kMaxSteps>;

// A view of one Run key: its loader, then what every registry view does with the rows.
constexpr ViewSteps OneRunKeySteps(ViewStep loader) {
    return {kFront, kTitle, loader, RUN(CleanStartupPaths), kMenus, RUN(MarkRunningStartups), kTag, kRestoreCheck,
            RUN(lv2_Click)};
}

// A legacy file in the editor.
constexpr ViewSteps kLegacyFileSteps = {kFront, kTitle, kLegacyFile, RUN(ShowSystemFileWarning), kMenus};

struct NodeView {
    const wchar_t* key;          // compared without regard to case
    View front;
    const wchar_t* title;        // nullptr: the view writes its own (LoadServices)
    ViewSteps steps;             // in order, up to the first End
    const wchar_t* menu;         // the Action menu of Menus
    int tag;                     // ActiveListTag of Tag; 0 for views that set none
    bool withExport = false;     // Menus shows sep20 and the export entries as well
    const wchar_t* file = nullptr;  // the legacy file of LegacyFile, by name; SystemFiles knows where it lies
};

const NodeView kViews[] = {
    {L"six", View::Services, nullptr,
     {kFront, kHourglass, kYield, RUN(LoadServices), kMenus, kTag, kYield, RUN(SaveServiceSortKey), kDefaultPointer,
      RUN(lv_Click)},
     L"mnuPopup", 1},
    {L"seven", View::RegistryList, L"Disabled Startups All Users",
     {kFront, RUN(LoadDisabledStartups), RUN(AddDisabledFolderStartups), kTitle, kDisabledMenuChoice, kRestoreCheck,
      RUN(lv2_Click)},
     L"mnuPopup2", 2},
    {L"another 44", View::RegistryList, L"Disabled Startups Registry All Users",
     {kFront, RUN(LoadDisabledStartups), RUN(MarkRunningDisabledStartups), kTitle, kMenus, kTag, kRestoreCheck,
      RUN(lv2_Click)},
     L"mnuPopup2", 2},
    {L"another 45", View::FolderList, L"Disabled Startup Folder Items All Users",
     {kFront, kClearFolderList, RUN(LoadDisabledFolderItems), kTitle, kMenus, kTag, RUN(lv3_Click)},
     L"mnuPopup3", 3},
    {L"two", View::FolderList, L"Startup Folder All Users",
     {kFront, kTitle, RUN(LoadCommonStartupFolder), RUN(LoadUserStartupFolder), kMenus, RUN(MarkRunningFolderStartups),
      kTag, RUN(lv3_Click)},
     L"mnuPopup3", 3},
    {L"another11", View::RegistryList, L"Registry All Users Run",
     OneRunKeySteps(RUN(LoadRunHKLM)), L"mnuPopup2", 2},
    {L"another22", View::RegistryList, L"Registry All Users Run Once",
     OneRunKeySteps(RUN(LoadRunOnceHKLM)), L"mnuPopup2", 2},
    {L"another33", View::RegistryList, L"Registry All Users Run OnceEx",
     OneRunKeySteps(RUN(LoadRunOnceExHKLM)), L"mnuPopup2", 2},
    {L"another", View::RegistryList, L"Registry All Users",
     {kFront, kTitle, RUN(LoadRunHKLM), RUN(LoadRunOnceHKLM), RUN(LoadRunOnceExHKLM), RUN(CleanStartupPaths),
      RUN(MarkRunningStartups), kMenus, kTag, kRestoreCheck, RUN(lv2_Click)},
     L"mnuPopup2", 2},
    {L"another25", View::RegistryList, L"Registry Current User",
     {kFront, kTitle, RUN(LoadRunHKCU), RUN(LoadRunOnceHKCU), RUN(CleanStartupPaths), kMenus, RUN(MarkRunningStartups),
      kTag, kRestoreCheck, RUN(lv2_Click)},
     L"mnuPopup2", 2},
    {L"another26", View::RegistryList, L"Registry Current User Run",
     OneRunKeySteps(RUN(LoadRunHKCU)), L"mnuPopup2", 2},
    {L"another27", View::RegistryList, L"Registry Current User Run Once",
     OneRunKeySteps(RUN(LoadRunOnceHKCU)), L"mnuPopup2", 2},
    {L"three", View::RegistryList, L"All Registry Startups",
     {kFront, kTitle, RUN(LoadRunHKLM), RUN(LoadRunOnceHKLM), RUN(LoadRunOnceExHKLM), RUN(LoadRunHKCU),
      RUN(LoadRunOnceHKCU), RUN(CleanStartupPaths), RUN(MarkRunningStartups), kMenus, kTag, kRestoreCheck,
      RUN(lv2_Click)},
     L"mnuPopup2", 2},
    // The largest list: lv2 does not redraw until it is complete.
    {L"one", View::RegistryList, L"All Startups",
     {kLockRedraw, kFront, kTitle, RUN(LoadRunHKLM), RUN(LoadRunOnceHKLM), RUN(LoadRunOnceExHKLM), RUN(LoadRunHKCU),
      RUN(LoadRunOnceHKCU), RUN(CleanStartupPaths), RUN(LoadCommonStartupFolder), RUN(LoadUserStartupFolder),
      RUN(MarkRunningStartups), RUN(MarkRunningFolderStartups), kYield, RUN(AddFolderItemsToAllList), kMenus, kTag,
      kRestoreCheck, RUN(lv2_Click), kUnlockRedraw},
     L"mnuPopup2", 2, true},
    {L"eleven", View::RegistryList, L"File System Startups",
     {kFront, kTitle, kMenus, RUN(LoadSystemFiles), RUN(ShowSystemFileWarning), RUN(lv2_Click)},
     L"mnuPopup7", 0},
    {L"ten", View::RegistryList, L"Windows Logon Startups",
     {kFront, RUN(LoadUserinitEntry), kTitle, kMenus, RUN(lv2_Click)},
     L"mnuPopup6", 0},
    {L"four", View::Editor, L"Possible Win.ini Startups",
     kLegacyFileSteps, L"mnuPopup8", 0, false, L"Win.ini"},
    {L"eight", View::Editor, L"Possible System.ini Startups",
     kLegacyFileSteps, L"mnuPopup8", 0, false, L"System.ini"},
    {L"five", View::Editor, L"Possible AutoExec.bat Startups",
     kLegacyFileSteps, L"mnuPopup8", 0, false, L"AutoExec.bat"},
    {L"boot", View::Editor, L"Possible Boot.ini Startups",
     kLegacyFileSteps, L"mnuPopup8", 0, false, L"Boot.ini"},
    {L"nine", View::Editor, L"Possible Config.sys Startups",
     kLegacyFileSteps, L"mnuPopup8", 0, false, L"Config.sys"},
};

#undef RUN
#undef CORVELL_WIDEN
#undef CORVELL_WIDEN2

const NodeView* FindView(const std::wstring& key) {
    for (const auto& view : kViews)
        if (Text::EqualsNoCase(view.key, key)) return &view;
    return nullptr;
}

// What one dispatch carries from a step to a later one.
struct DispatchState {
    std::optional<Form1::WaitPointer> waitPointer;
    bool locked = false;
};

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
    if (StartupBackupExists() && ListView::Count(lv2) > 0) menus.SetVisible(L"mnuRestore", true);
}

void Form1::DispatchStep(const wchar_t* name, void (Form1::*procedure)()) {
    if (onDispatchStep) onDispatchStep(name);
    (this->*procedure)();
}

// ---- Busy: node clicks and a close wait while work yields ----

Form1::Busy::Busy(Form1& form) noexcept : form_(form), outermost_(!form.busy_) { form_.busy_ = true; }

Form1::Busy::~Busy() {
    if (outermost_) form_.RunWaitingWork();
}

Form1::WaitPointer::WaitPointer(Form1& form) noexcept
    : form_(form), previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {
    ++form_.waitPointers_;
}

Form1::WaitPointer::~WaitPointer() {
    --form_.waitPointers_;
    SetCursor(previous_ ? previous_ : LoadCursorW(nullptr, IDC_ARROW));
}

// Runs the waiting node click (and any that arrives during it, the latest winning) still held,
// so no dispatch starts into half-filled lists; then the close, posted so it comes after the work.
void Form1::RunWaitingWork() {
    while (pendingNodeKey_) {
        const std::wstring key = std::move(*pendingNodeKey_);
        pendingNodeKey_.reset();
        ShowView(key);
    }
    busy_ = false;
    if (closePending_) {
        closePending_ = false;
        PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    }
}

// Runs the view of a node. A click that arrives while work yields (from the tree, a menu or a
// dialog pressing cmdWL) waits for it; one that comes after a close is dropped with the window.
void Form1::tvwDemo_NodeClick(const std::wstring& key) {
    if (busy_) {
        if (!closePending_) pendingNodeKey_ = key;
        return;
    }
    // The clicks that waited run before drawing comes back.
    const ListView::RedrawOff quiet{lv2, lv3};
    Busy busy(*this);
    ShowView(key);
}

// Filling a list that draws every row costs seconds per thousand rows.
void Form1::ShowView(const std::wstring& key) {
    const ListView::RedrawOff quiet{lv2, lv3};
    // The running programs and the first-seen dates are read once for the whole view, tail included.
    ViewScope shared(*this);
    DispatchNodeCase(key);
    DispatchTail();
}

namespace {

// One step of a view's row (Run steps go through DispatchStep, which reports them).
void RunViewStep(Form1& form, const NodeView& view, const ViewStep& step, DispatchState& state) {
    switch (step.what) {
    case Do::End: break;
    case Do::Run: form.DispatchStep(step.name, step.procedure); break;
    case Do::Front:
        if (view.front == View::Editor) {
            form.BringToFront(form.txtFiles);
            form.BringToFront(form.cmdSave);
        } else {
            form.BringToFront(view.front == View::Services     ? form.lv
                              : view.front == View::FolderList ? form.lv3
                                                               : form.lv2);
        }
        break;
    case Do::Title: form.SetViewTitle(view.title); break;
    case Do::Menus: form.ShowActionMenu(view.menu, view.withExport); break;
    case Do::Tag: form.ActiveListTag = view.tag; break;
    case Do::RestoreCheck: form.RestoreCheck(); break;
    case Do::Yield: Form1::DoEvents(); break;
    case Do::Hourglass: state.waitPointer.emplace(form); break;
    case Do::DefaultPointer: state.waitPointer.reset(); break;
    case Do::LockRedraw:
        // Only one window can be locked at a time; when another one holds the lock it is left to its owner.
        state.locked = LockWindowUpdate(form.lv2) != FALSE;
        break;
    case Do::UnlockRedraw:
        if (state.locked) LockWindowUpdate(nullptr);
        state.locked = false;
        break;
    case Do::ClearFolderList: ListView::Clear(form.lv3); break;
    case Do::DisabledMenuChoice: {
        // A selected row whose path column holds ":\" is a parked startup-folder item. With no
        // current row the test cannot be made and counts as met.
        const HWND lv2 = form.lv2;
        const int current = ListView::Current(lv2);
        const bool folderItem =
            current < 0 || (ListView::Count(lv2) > 0 && ListView_GetItemState(lv2, current, LVIS_SELECTED) != 0 &&
                            Text::ContainsNoCase(ListView::Text(lv2, current, 2), L":\\"));
        if (folderItem) {
            form.ShowActionMenu(kFolderItemMenu);
        } else {
            form.ShowActionMenu(view.menu);
            form.ActiveListTag = view.tag;
        }
        break;
    }
    case Do::LegacyFile: {
        // A file that exists but cannot be read counts as missing, so the editor never keeps the
        // previous file's text under another file's name for Save. So does a file holding a NUL (a
        // Unicode file, say): the editor ends its text there, and saving it back would cut the file
        // short. Both Save controls stay disabled while the editor holds no file.
        // With the Windows folder unknown there is no path, and the file counts as missing too.
        const std::wstring path = SystemFiles::LivePath(view.file);
        form.SystemFileTag = SystemFiles::Tag(view.file);
        std::optional<std::string> bytes;
        if (MyMod::FileExists(path)) bytes = MyMod::ReadWholeFile(path);
        if (bytes && bytes->find('\0') != std::string::npos) bytes.reset();
        form.menus.SetEnabled(L"mnuSave", bytes.has_value());
        EnableWindow(form.cmdSave, bytes.has_value());
        SetWindowTextW(form.txtFiles, bytes ? Text::FromAnsi(*bytes).c_str() : L"");
        form.SystemFileBytes = bytes ? *bytes : std::string();
        break;
    }
    }
}

} // namespace

void Form1::DispatchNodeCase(const std::wstring& key) {
    if (onDispatchStep) onDispatchStep(L"Clear");
    ListView::Clear(lv3);
    ListView::Clear(lv2);
    ListView::Clear(lv);
    const NodeView* view = FindView(key);
    if (!view) return;
    DispatchState state;
    for (const ViewStep& step : view->steps) {
        if (step.what == Do::End) break;
        RunViewStep(*this, *view, step, state);
    }
}

void Form1::DispatchTail() {
    if (onDispatchStep) onDispatchStep(L"Tail");
    // The empty test comes before the system's KernelFaultCheck row is dropped.
    const bool empty = (ActiveListTag == 1 && ListView::Count(lv) == 0) ||
                       (ActiveListTag == 2 && ListView::Count(lv2) == 0) ||
                       (ActiveListTag == 3 && ListView::Count(lv3) == 0);
    if (empty) {
        for (const wchar_t* name : kActionMenus) menus.SetVisible(name, std::wstring_view(name) == L"mnuPopup9");
    }
    for (int row = ListView::Count(lv2) - 1; row >= 0; --row)
        if (IsSystemCrashDumpEntry(lv2, row)) ListView::DeleteRow(lv2, row);
    ActiveListTag = 0;
    DispatchStep(L"ShowEnableDisableMenus", &Form1::ShowEnableDisableMenus);
    DispatchStep(L"SetStartupToolTips", &Form1::SetStartupToolTips);
    DispatchStep(L"SetFolderToolTips", &Form1::SetFolderToolTips);
    DispatchStep(L"MarkStartupDates", &Form1::MarkStartupDates);
    General::SetStringValue(App::AppKey(), App::Value::kLv2DT, L"1");
}
