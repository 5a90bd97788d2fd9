// Form1, the main window: its controls, flags, and every handler of every view.
// Handlers are defined in the folder of the subsystem they belong to.
#pragma once

#include "mainwindow/MenuModel.h"
#include "mainwindow/Window.h"
#include "system/FirstSeen.h"
#include "system/Handles.h"
#include "system/Process.h"

#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

struct ServiceTriple;

class Form1 : public Window<Form1> {
public:
    Form1();
    ~Form1();

    // Form_Initialize, window creation (hidden) and the controls; false when the window cannot be made.
    bool Create();
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    // ---- Start-up, layout, clock and shutdown (mainwindow/Form1.cpp) ----
    static void Form_Initialize();
    void Form_Load();
    void Form_Resize();
    void Timer1_Timer();
    void Form_Unload();
    void mnuExit_Click();
    // Panel texts of StatusBar1; panels count from 1 (1 title and version, 2 view, 3 clock).
    void SetPanelText(int panel, const std::wstring& text);
    [[nodiscard]] std::wstring PanelText(int panel) const;
    // lblCount's caption, copied into panel 2.
    void SetViewTitle(const std::wstring& title);
    [[nodiscard]] std::wstring ControlText(HWND control) const;
    [[nodiscard]] static std::wstring ClockText();
    [[nodiscard]] int Twips(int twips) const;        // twips to pixels at the screen's DPI
    [[nodiscard]] int ToTwips(int pixels) const;
    // The check every command on a list's selected row makes first: the current row when it is
    // selected; otherwise "Please select a Startup item     ", the focus to the list, its
    // current row selected, and -1.
    int CheckListSelection(HWND list);
    // Window state as "State" stores it: 0 normal, 1 minimized, 2 maximized.
    [[nodiscard]] int WindowState() const;
    // Lets pending window messages run once, so a long load keeps the window painted and answering.
    static void DoEvents();
    void BringToFront(HWND control);

    // ---- Navigator (mainwindow/Navigator.cpp) ----
    struct NavigatorNode {
        std::wstring key;
        std::wstring text;
        std::wstring parent;
        HTREEITEM item = nullptr;
    };
    void NavigatorNodes();                       // adds the 21 nodes
    void ExpandAllNodes();
    void CollapseAllNodes();
    // Selects the node with that key (case ignored) without dispatching; false when there is none.
    bool SelectNode(const std::wstring& key);
    [[nodiscard]] std::wstring SelectedNodeKey() const;
    [[nodiscard]] const NavigatorNode* FindNode(const std::wstring& key) const;
    void tvwDemo_NodeClick(const std::wstring& key);
    void tvwDemo_Expand(HTREEITEM node);
    void tvwDemo_Collapse(HTREEITEM node);
    void cmdWL_Click();
    void mnuSeeSubs_Click();

    // ---- Menu bar (mainwindow/Menus.cpp) ----
    void BuildMenus();
    void OnCommand(UINT id, UINT code, HWND control);

    // ---- Registry startup lists, and the menu entries' handlers of the later views ----
    // Registry loaders and running state (startups/RegistryLoaders.cpp).
    void LoadRunHKLM();
    void LoadRunOnceHKLM();
    void LoadRunOnceExHKLM();
    void LoadRunHKCU();
    void LoadRunOnceHKCU();
    void CleanStartupPaths();
    void MarkRunningStartups();
    void MarkRunningDisabledStartups();
    void MarkRunningFolderStartups();
    // Startup-folder lists and their entries (startups/Form1_Folders.cpp).
    // lv3 gets the All Users Startup folder's files (emptied first), then the current user's; a
    // folder the system cannot name lists nothing. Rows show each name without ".lnk".
    void LoadCommonStartupFolder();
    void LoadUserStartupFolder();
    // The parked shortcuts: appended to lv2 (no date) or to lv3 (with their dates).
    void AddDisabledFolderStartups();
    void LoadDisabledFolderItems();
    // Copies lv3's rows into lv2 with their running icons (lv3's running-state pass has run).
    void AddFolderItemsToAllList();
    // Gives lv3's rows their tooltips: name, target and folder (not the date).
    void SetFolderToolTips();
    void lv3_GetInfoTip(NMLVGETINFOTIPW* tip);
    // One property of a shortcut file, read only: Wanted "TARGET", "NAME" (the .lnk file's own
    // full path), "ICON" ("path,index"), "START" (working folder) or "KEY" (hot key), case
    // ignored. Any other word, a missing file or a file that is no shell link gives "".
    [[nodiscard]] std::wstring LookPropertyLink(const std::wstring& TheFullPath, const std::wstring& Wanted) const;
    // The shortcut behind a startup-folder row. The row shows fileName without ".lnk"; live
    // and parked paths and the parking record are built from fileName, never from the row's text.
    struct FolderItem {
        std::wstring fileName;   // the file's real name: "App.lnk", "My.lnk.lnk", "Notes.url"
        bool parked = false;     // in the "Startups" folder beside the program, not in a Startup folder
    };
    // The item of a row of lv2 or lv3 that a folder loader listed; nullopt for any other row.
    [[nodiscard]] std::optional<FolderItem> FolderItemOf(HWND list, int row) const;
    // Parks the selected live lv3 row, puts a parked one back, deletes it (after frmDelete2 unless
    // "Confirmed" is "1"); each keeps every file it cannot safely replace and says why.
    void mnuDisable2_Click();
    void mnuEnable2_Click();
    void mnuDelete2_Click();
    void lv3_KeyDown(WORD keyCode);
    void mnuFind2_Click();
    void mnuGoog3_Click();
    void mnuRun3_Click();
    void mnuStop3_Click();
    void mnuMsg_Click();
    void mnuCurrent_Click();
    void mnuAll_Click();
    void mnuWindows_Click();
    void mnuSystem_Click();
    // First-seen dates (startups/Form1_Dates.cpp).
    void MarkStartupDates();
    // Winlogon entry and legacy start-up files (startups/Form1_SystemFiles.cpp).
    void LoadSystemFiles();
    void ShowSystemFileWarning();
    void LoadUserinitEntry();
    // Writes the editor's text back to the file SystemFileTag names (the button "&Save").
    void cmdSave_Click();
    void mnuSave_Click();
    // Run, stop, find and web search of registry startups (startups/Form1_RunStop.cpp); the
    // startup-folder twins and the folder entries are in startups/Form1_FolderActions.cpp.
    void mnuFind_Click();
    void mnuGoog2_Click();
    void mnuRun2_Click();
    void mnuStopR_Click();
    void WebSearchRunEntry();
    void WebSearchFolderEntry();
    // Shared by the commands that hand work to the shell: a folder opened in the file explorer
    // ("" opens nothing), and a startup's program run in its own folder ("" runs nothing).
    void OpenFolder(const std::wstring& folder);
    void RunProgram(const std::wstring& program);
    // Run's and stop's rebuild of the view of nodeKey: twice, 500 ms apart, so the running icon
    // follows the program. The caller holds Busy; when other work already held it (heldBefore),
    // one rebuild waits for that work instead.
    void RefreshTwice(const std::wstring& nodeKey, bool heldBefore);
    // Registry-editor jumps (startups/Form1_RegeditJumps.cpp).
    void mnuAUR_Click();
    void mnuAURO_Click();
    void mnuAUROEX_Click();
    void mnuCUR_Click();
    void mnuCURO_Click();
    // Backup and restore of all startups (startups/Form1_Backup.cpp). A backup is made whole in a
    // staging folder and staging records and only then takes the old one's place; a restore goes
    // on past a part that fails. Each step adds a line to failures for each part it could not do.
    // Both are ignored while the window is busy (one of them under way, or a view loading).
    void mnuBackup_Click();
    void BackupWinlogonUserinit(const std::wstring& folder, std::vector<std::wstring>& failures);
    void BackupSystemFiles(const std::wstring& folder, std::vector<std::wstring>& failures);
    // Copies every file of each Startup folder into a sub-folder of folder kept for that Startup
    // folder and records each under recordsKey (below HKEY_LOCAL_MACHINE): value named as the
    // copy's path inside folder, data the file's full path.
    void BackupStartupShortcuts(const std::wstring& folder, const std::wstring& recordsKey,
                                std::vector<std::wstring>& failures);
    void mnuRestore_Click();
    // True when the backup of all startups ("RegKeys.reg" in the backup folder) exists.
    [[nodiscard]] static bool StartupBackupExists();
    void mnuRestore2_Click();
    void RestoreSystemFiles(const std::wstring& folder, std::vector<std::wstring>& failures);
    // lv3 lists the backed-up shortcuts, one row per record of "Backups".
    void ListBackedUpShortcuts();
    // Copies back each backed-up shortcut whose place holds no file; an existing one stays.
    void RestoreStartupShortcuts(const std::wstring& folder, std::vector<std::wstring>& failures);
    // Properties, add-new and icon legends (startups/Form1_Properties.cpp).
    void mnuProperites2_Click();
    void mnuProperties3_Click();
    void mnuProperties4_Click();
    void lv2_DblClick();
    void lv3_DblClick();
    void mnuNew_Click();
    void mnuLegend_Click();
    void mnuLegend2_Click();
    // Export of the lists (mainwindow/Export.cpp).
    void mnuExportText_Click();
    void mnuExportCSV_Click();
    void mnuExportTextSrv_Click();
    void mnuExportCSVSsrv_Click();
    // Outside tools and help (mainwindow/Launchers.cpp).
    void mnuConfig_Click();
    void mnuSysConfig_Click();
    void mnuContent_Click();
    void mnuAbout_Click();
    // Tree clicks: a selection change by mouse dispatches, and so does a click on the node that
    // is selected already; the two notifications of one click dispatch once, in either order.
    HTREEITEM clickAwaitingSelChange = nullptr;
    HTREEITEM selChangeAwaitingClick = nullptr;
    // Dispatcher (mainwindow/Navigator.cpp): one row of its table per view; DispatchNodeCase
    // empties the lists and runs the row of the key, DispatchTail follows every case.
    // Shows one of the nine Action menus and hides the others, with sep20 and the export entries
    // (shown only withExport).
    void ShowActionMenu(const wchar_t* menu, bool withExport = false);
    // Shows mnuRestore when the backup file exists beside the program and lv2 has rows.
    void RestoreCheck();
    void DispatchNodeCase(const std::wstring& key);
    void DispatchTail();
    // DispatchNodeCase then DispatchTail, lv2 and lv3 not drawing until both are done.
    void ShowView(const std::wstring& key);
    void DispatchStep(const wchar_t* name, void (Form1::*procedure)());
    // Called with the name of each step of a dispatch before it runs (diagnostics and tests).
    std::function<void(const wchar_t* step)> onDispatchStep;

    // Held by work that yields to the message loop or re-runs the dispatcher (mainwindow/Navigator.cpp).
    // Meanwhile a node click waits (the latest wins) and so does a close; scopes nest, and when the
    // outermost ends, the waiting click runs, then the close; a click after the close is dropped.
    class Busy {
    public:
        explicit Busy(Form1& form) noexcept;
        ~Busy();
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        Form1& form_;
        bool outermost_;
    };
    [[nodiscard]] bool IsBusy() const { return busy_; }
    // True while a node click waits for the work that holds the window busy.
    [[nodiscard]] bool NodeClickWaiting() const { return pendingNodeKey_.has_value(); }

    // The hourglass over the main window until the scope ends, kept while the work yields:
    // without it the next mouse move over a list would give the arrow back.
    class WaitPointer {
    public:
        explicit WaitPointer(Form1& form) noexcept;
        ~WaitPointer();
        WaitPointer(const WaitPointer&) = delete;
        WaitPointer& operator=(const WaitPointer&) = delete;

    private:
        Form1& form_;
        HCURSOR previous_;
    };

    // What the startup loaders of one view share (startups/Form1_ViewScope.cpp): the running
    // programs and the startups' first-seen dates, each read once, when first asked for. The
    // outermost scope keeps them until it ends; the dispatcher holds one for each view.
    class ViewScope {
    public:
        explicit ViewScope(Form1& form);
        ~ViewScope();
        ViewScope(const ViewScope&) = delete;
        ViewScope& operator=(const ViewScope&) = delete;
        [[nodiscard]] const modProcess::ProcessSnapshot& Running();
        // "Dates\Startups" of the settings, created when missing; dates stored through it are known at once.
        [[nodiscard]] FirstSeen::DateBook& Dates();

    private:
        Form1& form_;
        bool outermost_;
    };

    // ---- Registry startups (startups/) ----
    // Gives every row of lv2 tooltips repeating its texts; lv2_GetInfoTip answers them.
    void SetStartupToolTips();
    void lv2_GetInfoTip(NMLVGETINFOTIPW* tip);
    // The tooltip of a cell of lv2; "" for none.
    [[nodiscard]] std::wstring StartupToolTip(int row, int column) const;
    void lv2_Click();

    // ---- Registry startup actions (startups/RegistryParking.cpp, startups/Form1_Startups.cpp) ----
    // The "Disabled Startups" registry rows: one per record of the settings key's "Disabled".
    void LoadDisabledStartups();
    // Keeps only the text after the first "^" of every "Application Path" that holds one.
    void StripSourcePrefix();
    void mnuDisable_Click();
    void mnuEnable_Click();
    void mnuDelete_Click();
    void lv2_KeyDown(WORD keyCode);
    // Action-menu state of the startup lists; button 1 left, 2 right, 4 middle.
    void lv2_MouseUp(int button, POINT screenPos);
    void ShowEnableDisableMenus();
    void lv3_Click();
    void lv3_MouseUp(int button, POINT screenPos);

    // ---- Services (services/Form1_Services.cpp) ----
    // Loading and refresh. LoadServices also shows its progress, announces new services and
    // writes "lvDT"; Command6_Click (the hidden "Refresh" button) only stamps their dates. A
    // load, a refresh or a service command that arrives while a pass runs does not touch the
    // list: a load or refresh runs once the pass has ended, a command is ignored.
    void LoadServices();
    void Command6_Click();
    void MarkManualRunning();
    // Sorting, selection and the services Action menu.
    void SetServiceToolTips();
    void RestoreServiceSort();
    void SaveServiceSortKey();
    void mnuSortDisplay_Click();
    void mnuSortService_Click();
    void lv_ColumnClick(int subItem);
    void lv_Click();
    // button 1 left, 2 right; screenPos where the button was released.
    void lv_MouseUp(int button, POINT screenPos);
    void lv_DblClick();
    void mnuProperites_Click();
    // Service control actions.
    void mnuStart_Click();
    void mnuStop_Click();
    void Command1_Click();
    void Command2_Click();
    void mnuAuto_Click();
    void mnuManual_Click();
    void mnuDisabled_Click();
    void mnuInstallS_Click();
    void ShowStartFailed();
    void ShowStopFailed();
    // The folder of the selected service's program, a web search for it, and the services
    // console (services/Form1_ServiceShell.cpp).
    void mnuFind3_Click();
    void mnuGoog_Click();
    void WebSearchService();
    void mnuMsService_Click();
    // The services icon legend, frmIconsS, modeless (services/Form1_Services.cpp).
    void mnuLegend3_Click();
    // Open the properties and install-service dialogs.
    void ShowfrmInfo();
    // frmInfo on the setting tab of that service (by service name), its row selected again.
    void ShowServiceSetting(const std::wstring& service);
    void ShowfrmInstallS();
    // lv's drawing and tooltips.
    LRESULT lv_CustomDraw(NMLVCUSTOMDRAW* draw);
    void lv_GetInfoTip(NMLVGETINFOTIPW* tip);
    void lv_GetDispInfo(NMLVDISPINFOW* info);
    // Fore colour of one cell of lv (only "Status" and "Setting" have their own).
    [[nodiscard]] COLORREF ServiceCellColor(int row, int column) const;
    // The tooltip SetServiceToolTips gave a cell of lv; "" for none.
    [[nodiscard]] std::wstring ServiceToolTip(int row, int column) const;

    // lv's rows: each row's lParam is its index here, and the list asks for its texts
    // (LVN_GETDISPINFO), so a row costs the list one insertion.
    struct ServiceRowData {
        std::vector<std::wstring> cells;      // the eight columns' texts
        std::string displaySortKey;           // the names' sort keys, case ignored
        std::string serviceSortKey;
        COLORREF statusColor = CLR_DEFAULT;
        COLORREF settingColor = CLR_DEFAULT;
        bool toolTips = false;                // set by SetServiceToolTips
    };
    std::vector<ServiceRowData> serviceRows;
    std::wstring SelectedServiceName;    // display name of the service a startup-type command changed
    bool servicesLoading = false;        // a pass fills lv
    int pendingServicesPass = 0;         // 1 refresh, 2 load: asked for while a pass ran
    bool serviceCommandRunning = false;  // start, stop or a startup type is under way
    // Steps shared by the handlers above.
    void RunServicesPass(int kind);
    void FillServices(bool isLoad);
    // The end of a fill once every row is in: sort, redraw, count, tooltips, no selection.
    void EndServicesFill();
    // After a load: names the services it saw first (once a load has run before) and writes "lvDT".
    void AnnounceNewServices(const std::vector<ServiceTriple>& services);
    // lv.SortKey: the column lv is sorted by; the values are the numbers "Sorted" stores.
    enum class ServiceSortKey { DisplayName = 0, ServiceName = 1 };
    // Sorts lv by key and marks the headers.
    void SortServices(ServiceSortKey key);
    std::optional<ServiceSortKey> lvOrderedBy;  // the key lv's rows are in order of, if any
    void SetServiceStartStopMenus();
    [[nodiscard]] bool YieldBeforeCommand(const std::wstring& serviceName);
    void RunServiceControl(bool start);
    void SetServiceStartType(DWORD startType);

    // ---- Notifications of the controls (mainwindow/Form1.cpp) ----
    LRESULT OnNotify(NMHDR* header);

    // Controls; each name is also in its id (IDC_lv2) and its handlers (lv2_Click).
    HWND lblHeader = nullptr;
    HWND Line1 = nullptr;
    HWND Line3 = nullptr;
    HWND Image1 = nullptr;
    HWND Image3 = nullptr;
    HWND lblCount = nullptr;
    HWND tvwDemo = nullptr;
    HWND lv = nullptr;
    HWND lv2 = nullptr;
    HWND lv3 = nullptr;
    HWND txtFiles = nullptr;
    HWND cmdSave = nullptr;
    HWND StatusBar1 = nullptr;
    HWND lblChange = nullptr;
    HWND cmdWL = nullptr;
    HWND Command1 = nullptr, Command2 = nullptr, Command3 = nullptr;
    HWND Command4 = nullptr, Command5 = nullptr, Command6 = nullptr;

    UniqueImageList ImageList1;    // list and column-header icons; the lists share it, only this frees it
    UniqueImageList ImageList2;    // menu icons, handed to the menu engine
    UniqueImageList imgPictures;   // tree images: 0 "folder closed", 1 "folder open"

    MenuModel menus;
    std::vector<NavigatorNode> nodes;

    // Flags shared with the dialogs; each comment names the control property it stands for.
    int ActiveListTag = 0;               // tvwDemo.Tag: 1 lv, 2 lv2, 3 lv3, 0 after the tail
    std::wstring SystemFileTag;          // txtFiles.Tag: "ini", "ini2", "bat", "boot", "sys"
    std::string SystemFileBytes;         // the legacy file as the editor last loaded or saved it
    std::wstring WinlogonEditFlag = L"0";  // lv2.Tag: "WL" opens the properties dialog for Winlogon
    std::wstring SettingTabFlag = L"0";  // lblChange.Caption: "1" opens a properties dialog on its setting tab
    ServiceSortKey lvSortKey = ServiceSortKey::DisplayName;  // lv.SortKey
    std::wstring helpFile;               // App.HelpFile
    bool quitOnDestroy = true;           // the program's one window ends the message loop

private:
    // The work held back by a Busy scope; run by the outermost scope's end.
    void RunWaitingWork();
    bool busy_ = false;
    int waitPointers_ = 0;  // WaitPointer scopes open
    struct ViewShared {
        std::optional<modProcess::ProcessSnapshot> running;
        std::optional<FirstSeen::DateBook> dates;
    };
    std::optional<ViewShared> viewShared_;  // while a ViewScope is held
    bool closePending_ = false;
    std::optional<std::wstring> pendingNodeKey_;
    // The folder items of lv2's and lv3's rows by the list's row id, kept in step with the rows
    // the lists delete (OnNotify); ids start again once a list is emptied, and so do these.
    std::unordered_map<UINT, FolderItem> lv2FolderItems_;
    std::unordered_map<UINT, FolderItem> lv3FolderItems_;
    // Whether the rows carry tooltips: set when a list is filled, cleared when it is emptied.
    bool lv2ToolTips_ = false;   // SetStartupToolTips ran since lv2 was last emptied
    bool lv3ToolTips_ = false;   // SetFolderToolTips ran since lv3 was last emptied
    std::unordered_map<UINT, FolderItem>& FolderItems(HWND list);
    void ListFolderItem(HWND list, const FolderItem& item, int row);
    void OnListRowsDeleted(NMHDR* header);
    void LoadStartupFolder(int folder);
    void LoadParkedFolderItems(HWND list, bool withDates);

    void CreateControls();
    void CreateImageLists();
    void SetupListColumns();
    void ApplyDesignGeometry();
    // True when a window of this style at that place (pixels) shows enough of its caption bar on
    // a work area to be dragged by it.
    [[nodiscard]] bool CaptionReachable(int left, int top, int width) const;
    void OnGetMinMaxInfo(MINMAXINFO* info) const;

    UniqueHfont font_;
    UniqueHfont headerFont_;
    UniqueHicon image3Icon_;   // the program's icon that Image3 shows
    int dpi_ = 96;
    bool unloaded_ = false;
};
