// Form1's services view: loading and refreshing lv, sorting, the Action-menu state, the
// tooltips, the commands that start, stop and set the startup type of a service, and the
// install dialog and icon legend.
#include "mainwindow/Form1.h"

#include "mainwindow/ControlIds.h"
#include "mainwindow/ListView.h"
#include "resources/Images.h"
#include "services/ServiceRows.h"
#include "services/ServiceSetting.h"
#include "services/frmIconsS.h"
#include "services/frmInfo.h"
#include "services/frmInstallS.h"
#include "system/App.h"
#include "system/FirstSeen.h"
#include "system/Paths.h"
#include "system/Registry.h"
#include "system/Seam.h"
#include "system/ServiceControl.h"
#include "system/Text.h"
#include "system/WindowsVersion.h"

#include <algorithm>

namespace {

constexpr ULONGLONG kYieldEveryMs = 50;  // a filling list lets the window take input this often
constexpr wchar_t kLoadingServices[] = L"Loading Services....";
constexpr wchar_t kAvailableServices[] = L" Available Services";
constexpr wchar_t kNewServiceDetected[] = L"New Service Detected:      ";
constexpr wchar_t kNewServicesDetected[] = L"New Services Detected:      ";
constexpr size_t kListedNameChars = 64;  // longer display names are cut in the announcement
constexpr wchar_t kDisabledStartQuestion[] =
    L" cannot be started manually while disabled.  Would you like to change the setting for it?     ";
constexpr wchar_t kDisabledChanged[] =
    L" changed while you were asked: it is no longer listed as disabled.  Nothing was opened.     ";
constexpr wchar_t kStarting[] = L"Starting ";
constexpr wchar_t kStopping[] = L"Stopping ";
constexpr wchar_t kStartFailed[] = L" failed to start.  This could be because;";
constexpr wchar_t kStartFailedReasons[] =
    L"1.  You do not have Administrator privileges.\r\n"
    L"2.  The setting for it is on Disabled.\r\n"
    L"3.  In some cases the computer must be restarted to start the service.";
constexpr wchar_t kStopFailed[] = L" failed to stop.  This could be because;";
constexpr wchar_t kStopFailedReasons[] =
    L"1.  You do not have Administrator privileges.\r\n"
    L"2.  Another service is dependent on this one and is currently using it.\r\n"
    L"3.  In some cases the computer must be restarted to stop the service.";

using namespace ServiceRows::LvColumns;

// Header marks of the two name columns.
using Images::kIconSortColumn;
using Images::kIconOtherColumn;

constexpr int kPassRefresh = 1;
constexpr int kPassLoad = 2;

// After a start or stop the manager is given this long before the list is read again.
constexpr DWORD kServiceSettleMs = 2000;

constexpr wchar_t kRunning[] = L"Running";
constexpr wchar_t kStopped[] = L"Stopped";
constexpr wchar_t kStartPending[] = L"Start Pending";
constexpr wchar_t kStopPending[] = L"Stop Pending";

int AddServiceRow(HWND list, int icon, size_t dataIndex) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = ListView::Count(list);
    item.pszText = LPSTR_TEXTCALLBACKW;
    item.iImage = icon - 1;
    item.lParam = static_cast<LPARAM>(dataIndex);
    return static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

// The index into serviceRows that a row of lv carries, or -1.
LPARAM RowData(HWND list, int row) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (row < 0 || !SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return -1;
    return item.lParam;
}

using SortKey = Form1::ServiceSortKey;

// A text's collation key, case ignored: keys compare as the list's own text sort does.
std::string CollationKey(const std::wstring& text) {
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int n = LCMapStringW(LOCALE_USER_DEFAULT, flags, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::string key(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0)
        LCMapStringW(LOCALE_USER_DEFAULT, flags, text.c_str(), static_cast<int>(text.size()),
                     reinterpret_cast<wchar_t*>(key.data()), n);
    while (!key.empty() && key.back() == '\0') key.pop_back();
    return key;
}

std::string& KeyOf(Form1::ServiceRowData& row, SortKey key) {
    return key == SortKey::ServiceName ? row.serviceSortKey : row.displaySortKey;
}
const std::string& KeyOf(const Form1::ServiceRowData& row, SortKey key) {
    return key == SortKey::ServiceName ? row.serviceSortKey : row.displaySortKey;
}

struct SortContext {
    const std::vector<Form1::ServiceRowData>* rows;
    SortKey key;
};

int CALLBACK CompareServiceRows(LPARAM a, LPARAM b, LPARAM context) {
    const auto* c = reinterpret_cast<const SortContext*>(context);
    const auto& rows = *c->rows;
    if (a < 0 || b < 0 || static_cast<size_t>(a) >= rows.size() || static_cast<size_t>(b) >= rows.size()) return 0;
    return KeyOf(rows[static_cast<size_t>(a)], c->key).compare(KeyOf(rows[static_cast<size_t>(b)], c->key));
}

// One fill's reading of the services: the row of each listed service, worked out from its
// registry key and first-seen record, in the order lv is filled (that of its sort key).
class ServicesFill {
public:
    ServicesFill(const std::vector<ServiceTriple>& services, SortKey key, std::vector<Form1::ServiceRowData>& rows)
        : services_(services), rows_(rows), isNew_(services.size(), false),
          dependsAsText_(ServiceRows::IsSevenOrVista(WindowsVersion::ProductName())),
          windowsDir_(MyMod::GetWindowsDir()), dates_(App::SubKeyPath(App::SubKey::kDates)) {
        rows_.resize(services_.size());
        for (size_t i = 0; i < services_.size(); ++i)
            KeyOf(rows_[i], key) = CollationKey(key == SortKey::ServiceName ? services_[i].name
                                                                            : services_[i].displayName);
        order_.resize(services_.size());
        for (size_t i = 0; i < order_.size(); ++i) order_[i] = i;
        std::stable_sort(order_.begin(), order_.end(),
                         [this, key](size_t a, size_t b) { return KeyOf(rows_[a], key) < KeyOf(rows_[b], key); });
        inListOrder_.reserve(services_.size());
    }

    // Indices into the services in the order their rows are added.
    [[nodiscard]] const std::vector<size_t>& Order() const noexcept { return order_; }

    // Works out the row of services[index] (stamping its first-seen date when it has none);
    // gives its icon. Called in Order().
    int FillRow(size_t index) {
        using namespace ServiceRows;
        const ServiceTriple& service = services_[index];
        const RegistryFacts facts = reader_.Read(service.name);
        const Setting setting = SettingOf(facts.start);

        Form1::ServiceRowData& data = rows_[index];
        if (setting.icon == kIconServiceAutomatic) data.statusColor = data.settingColor = ListView::EnabledForeColor;
        if (setting.icon == kIconServiceDisabled) data.statusColor = data.settingColor = ListView::DisabledForeColor;

        std::wstring firstSeen;
        if (auto stored = dates_.Find(service.name)) {
            firstSeen = std::move(*stored);
        } else {
            firstSeen = FirstSeen::FirstSeenDate();
            dates_.Store(service.name, firstSeen);
            isNew_[index] = true;
        }
        data.cells.resize(kColumnCount);
        data.cells[kColDisplayName] = service.displayName;
        data.cells[kColServiceName] = service.name;
        data.cells[kColStatus] = service.state;
        data.cells[kColSetting] = setting.text;
        std::vector<std::wstring> dependsOn =
            facts.dependOn ? SplitDependencies(*facts.dependOn) : std::vector<std::wstring>{};
        data.cells[kColDependsOn] =
            facts.dependOn ? DependsCell(*facts.dependOn, dependsOn, dependsAsText_) : kNoDependency;
        data.cells[kColFirstSeen] = std::move(firstSeen);
        data.cells[kColPath] = PathCell(facts.imagePath, windowsDir_);
        data.cells[kColDependants] = kNoDependants;
        inListOrder_.push_back({service.name, std::move(dependsOn)});
        return setting.icon;
    }

    // "Dependant Services" of every row once all are filled; dependants are named in row order.
    void FillDependants() {
        const std::vector<std::wstring> dependants = ServiceRows::DependantsCells(inListOrder_);
        for (size_t i = 0; i < order_.size() && i < dependants.size(); ++i)
            rows_[order_[i]].cells[kColDependants] = dependants[i];
    }

    // The services first seen by this fill, in the order the manager lists them.
    [[nodiscard]] std::vector<ServiceTriple> NewServices() const {
        std::vector<ServiceTriple> found;
        for (size_t i = 0; i < services_.size(); ++i)
            if (isNew_[i]) found.push_back(services_[i]);
        return found;
    }

private:
    const std::vector<ServiceTriple>& services_;
    std::vector<Form1::ServiceRowData>& rows_;
    std::vector<size_t> order_;
    std::vector<bool> isNew_;
    std::vector<ServiceRows::DependencyEntry> inListOrder_;
    const bool dependsAsText_;
    const std::wstring windowsDir_;
    FirstSeen::DateBook dates_;
    ServiceRows::FactsReader reader_;
};

} // namespace

// ---- Loading and refresh ----

void Form1::LoadServices() { RunServicesPass(kPassLoad); }

void Form1::Command6_Click() { RunServicesPass(kPassRefresh); }

// The fill yields to the message loop. It runs Busy, so node clicks and a close wait for it, and
// a load or refresh asked for meanwhile runs once the pass has ended, so nothing clears or
// refills lv under it.
void Form1::RunServicesPass(int kind) {
    if (servicesLoading) {
        pendingServicesPass = std::max(pendingServicesPass, kind);
        return;
    }
    Busy busy(*this);
    servicesLoading = true;
    for (int next = kind; next != 0 && IsWindow(lv);) {
        pendingServicesPass = 0;
        FillServices(next == kPassLoad);
        next = pendingServicesPass;
    }
    pendingServicesPass = 0;
    servicesLoading = false;
}

void Form1::FillServices(bool isLoad) {
    if (isLoad) SetViewTitle(kLoadingServices);

    SendMessageW(lv, WM_SETREDRAW, FALSE, 0);
    ListView::Clear(lv);
    serviceRows.clear();
    lvOrderedBy.reset();

    const auto listed = UpcServiciosyWea().ListServices(L"");
    static const std::vector<ServiceTriple> none;
    // The list keeps itself in order of its sort key: the services are added in that order.
    const SortKey key = lvSortKey;
    ServicesFill fill(listed ? *listed : none, key, serviceRows);
    // Yields by time, not per row: one pass through the message loop costs as much as many rows.
    ULONGLONG lastYield = GetTickCount64();
    for (size_t index : fill.Order()) {
        AddServiceRow(lv, fill.FillRow(index), index);
        if (GetTickCount64() - lastYield < kYieldEveryMs) continue;
        DoEvents();
        if (!IsWindow(lv)) return;
        lastYield = GetTickCount64();
    }
    lvOrderedBy = key;
    DoEvents();
    if (!IsWindow(lv)) return;

    fill.FillDependants();
    DoEvents();
    if (!IsWindow(lv)) return;
    EndServicesFill();

    // A listing that failed saw no service, so it counts as no first look either.
    if (!isLoad || !listed) return;
    DoEvents();
    if (!IsWindow(lv)) return;
    AnnounceNewServices(fill.NewServices());
}

void Form1::EndServicesFill() {
    MarkManualRunning();
    RestoreServiceSort();
    SortServices(lvSortKey);  // a sort chosen while the rows were added
    SendMessageW(lv, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(lv, nullptr, TRUE);

    SetViewTitle(std::to_wstring(ListView::Count(lv)) + kAvailableServices);
    SetServiceToolTips();
    const int selected = ListView::Selected(lv);
    if (selected >= 0) ListView_SetItemState(lv, selected, 0, LVIS_SELECTED);
}

void Form1::AnnounceNewServices(const std::vector<ServiceTriple>& services) {
    const std::wstring& appKey = App::AppKey();
    if (General::GetStringValue(appKey, App::Value::kLvDT) == L"1" && !services.empty()) {
        std::vector<std::wstring> displayNames;
        for (const ServiceTriple& service : services)
            displayNames.push_back(Text::OneLineExcerpt(service.displayName, kListedNameChars));
        std::wstring text = displayNames.size() == 1 ? kNewServiceDetected : kNewServicesDetected;
        text += L"\r\n\r\n";
        for (const std::wstring& line : Text::ListedLines(displayNames)) text += line + L"\r\n";
        Seam::ShowMessage(hwnd_, text, L"", MB_OK | MB_ICONINFORMATION);
        SetFocus(lv);
        // By its service name: display names need not be unique.
        const int row = ListView::FindRow(lv, services.back().name, kColServiceName);
        if (row >= 0) ListView::Select(lv, row);
    }
    General::SetStringValue(appKey, App::Value::kLvDT, L"1");
}

void Form1::MarkManualRunning() {
    const int rows = ListView::Count(lv);
    for (int row = 0; row < rows; ++row) {
        const LPARAM index = RowData(lv, row);
        if (index < 0 || static_cast<size_t>(index) >= serviceRows.size()) continue;
        ServiceRowData& data = serviceRows[static_cast<size_t>(index)];
        if (data.cells.size() != kColumnCount || !Text::EqualsNoCase(data.cells[kColSetting], ServiceRows::kManual) ||
            !Text::EqualsNoCase(data.cells[kColStatus], kRunning))
            continue;
        ListView::SetIcon(lv, row, ServiceRows::kIconServiceManualRunning);
        data.statusColor = ListView::EnabledForeColor;
    }
}

// ---- Sorting, selection and menu state ----

void Form1::SortServices(SortKey key) {
    lvSortKey = key;
    // While a pass adds its rows they stay in the pass's order; the pass sorts them at its end.
    const bool adding = servicesLoading && !lvOrderedBy;
    if (lvOrderedBy != key && !adding) {
        // A load works out the keys of the order it fills in; the other ones are made here.
        for (auto& row : serviceRows) {
            if (row.cells.size() != kColumnCount) continue;
            std::string& collation = KeyOf(row, key);
            if (collation.empty())
                collation = CollationKey(row.cells[key == SortKey::ServiceName ? kColServiceName : kColDisplayName]);
        }
        SortContext context{&serviceRows, key};
        SendMessageW(lv, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context),
                     reinterpret_cast<LPARAM>(CompareServiceRows));
        lvOrderedBy = key;
    }
    const bool byServiceName = key == SortKey::ServiceName;
    ListView::SetColumnIcon(lv, kColDisplayName, byServiceName ? kIconOtherColumn : kIconSortColumn);
    ListView::SetColumnIcon(lv, kColServiceName, byServiceName ? kIconSortColumn : kIconOtherColumn);
}

void Form1::RestoreServiceSort() {
    const std::wstring sorted = General::GetStringValue(App::AppKey(), App::Value::kSorted);
    if (sorted == L"1") SortServices(SortKey::ServiceName);
    else if (sorted == L"0") SortServices(SortKey::DisplayName);
}

void Form1::SaveServiceSortKey() {
    General::SetStringValue(App::AppKey(), App::Value::kSorted, std::to_wstring(static_cast<int>(lvSortKey)));
}

void Form1::mnuSortService_Click() {
    SortServices(SortKey::ServiceName);
    SaveServiceSortKey();
    menus.SetVisible(L"mnuSortService", false);
    menus.SetVisible(L"mnuSortDisplay", true);
}

void Form1::mnuSortDisplay_Click() {
    SortServices(SortKey::DisplayName);
    SaveServiceSortKey();
    menus.SetVisible(L"mnuSortDisplay", false);
    menus.SetVisible(L"mnuSortService", true);
}

void Form1::lv_ColumnClick(int subItem) {
    if (subItem != kColDisplayName && subItem != kColServiceName) return;
    SortServices(subItem == kColServiceName ? SortKey::ServiceName : SortKey::DisplayName);
    SaveServiceSortKey();
}

void Form1::SetServiceStartStopMenus() {
    const int row = ListView::Selected(lv);
    if (row < 0) return;
    const std::wstring setting = ListView::Text(lv, row, kColSetting);
    const std::wstring status = ListView::Text(lv, row, kColStatus);
    bool offerStart = false;
    if (Text::EqualsNoCase(setting, ServiceRows::kDisabled)) {
        // Start then offers to change the setting; a service disabled while it runs can be stopped.
        offerStart = !Text::EqualsNoCase(status, kRunning);
    } else if (Text::EqualsNoCase(setting, ServiceRows::kAutomatic) || Text::EqualsNoCase(setting, ServiceRows::kManual)) {
        if (Text::EqualsNoCase(status, kRunning)) offerStart = false;
        else if (Text::EqualsNoCase(status, kStopped)) offerStart = true;
        else return;  // paused or pending: both entries stay as they were
    } else {
        return;
    }
    menus.SetVisible(L"mnuStart", offerStart);
    menus.SetVisible(L"mnuStop", !offerStart);
}

void Form1::lv_Click() {
    SetServiceStartStopMenus();
    const bool byServiceName = General::GetStringValue(App::AppKey(), App::Value::kSorted) == L"1";
    menus.SetVisible(L"mnuSortDisplay", byServiceName);
    menus.SetVisible(L"mnuSortService", !byServiceName);
}

void Form1::lv_MouseUp(int button, POINT screenPos) {
    if (ListView::Count(lv) == 0) return;
    SetServiceStartStopMenus();
    menus.SetVisible(L"mnuSortDisplay", lvSortKey != SortKey::DisplayName);
    menus.SetVisible(L"mnuSortService", lvSortKey == SortKey::DisplayName);
    if (button != 2) return;
    if (HMENU menu = menus.Popup(L"mnuPopup"))
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screenPos.x, screenPos.y, 0, hwnd_,
                       nullptr);
}

// Like the other services commands, these open nothing while a pass replaces the rows: a row
// shown then has no dependants yet.
void Form1::lv_DblClick() {
    if (servicesLoading) return;
    if (ListView::Count(lv) > 0) ShowfrmInfo();
}

void Form1::mnuProperites_Click() {
    if (servicesLoading) return;
    if (CheckListSelection(lv) < 0) return;
    ShowfrmInfo();
}

// Shows frmInfo for the selected service; without a selected row nothing opens. When the
// setting of a service was asked for (SettingTabFlag "1"), a dialog open on another service
// is made anew for this one, and one open on this service turns to its setting tab.
void Form1::ShowfrmInfo() {
    const int row = ListView::Selected(lv);
    if (row < 0) return;
    frmInfo* open = frmInfo::Current();
    if (open && Text::EqualsNoCase(SettingTabFlag, L"1")) {
        SettingTabFlag = L"0";
        const std::wstring service = ListView::Text(lv, row, kColServiceName);
        if (Text::EqualsNoCase(open->ControlText(open->txtID), service)) {
            open->ShowSettingTab();
            return;
        }
        // One waiting in a message box of its own is unloaded, and this one made, once the box has closed.
        frmInfo::UnloadThen([this, service] { ShowServiceSetting(service); });
        return;
    }
    frmInfo::Show(hwnd_, *this);
    SettingTabFlag = L"0";  // read by the dialog as it loads, never left for the next one
}

// frmInfo on the setting tab of that service, its row selected again; nothing when the window
// has closed meanwhile, the rows are being replaced, or the service is no longer listed.
void Form1::ShowServiceSetting(const std::wstring& service) {
    if (!hwnd_ || servicesLoading) return;
    const int row = ListView::FindRow(lv, service, kColServiceName);
    if (row < 0) return;
    ListView::Select(lv, row);
    SettingTabFlag = L"1";
    frmInfo::Show(hwnd_, *this);
    SettingTabFlag = L"0";
}

void Form1::ShowfrmInstallS() { frmInstallS::Show(hwnd_, *this); }

void Form1::mnuLegend3_Click() { frmIconsS::Show(hwnd_, *this); }

void Form1::SetServiceToolTips() {
    for (auto& row : serviceRows) row.toolTips = true;
}

std::wstring Form1::ServiceToolTip(int row, int column) const {
    const LPARAM index = RowData(lv, row);
    if (index < 0 || static_cast<size_t>(index) >= serviceRows.size()) return L"";
    const ServiceRowData& data = serviceRows[static_cast<size_t>(index)];
    const bool hasTip = column == kColDisplayName || column == kColServiceName || column == kColDependsOn ||
                        column == kColDependants || column == kColPath;
    if (!data.toolTips || !hasTip || static_cast<size_t>(column) >= data.cells.size()) return L"";
    return data.cells[static_cast<size_t>(column)];
}

void Form1::lv_GetDispInfo(NMLVDISPINFOW* info) {
    LVITEMW& item = info->item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    item.pszText[0] = L'\0';
    const LPARAM index = RowData(lv, item.iItem);
    if (index < 0 || static_cast<size_t>(index) >= serviceRows.size()) return;
    const auto& cells = serviceRows[static_cast<size_t>(index)].cells;
    if (item.iSubItem < 0 || static_cast<size_t>(item.iSubItem) >= cells.size()) return;
    lstrcpynW(item.pszText, cells[static_cast<size_t>(item.iSubItem)].c_str(), item.cchTextMax);
}

COLORREF Form1::ServiceCellColor(int row, int column) const {
    const LPARAM index = RowData(lv, row);
    if (index < 0 || static_cast<size_t>(index) >= serviceRows.size()) return CLR_DEFAULT;
    const auto& data = serviceRows[static_cast<size_t>(index)];
    if (column == kColStatus) return data.statusColor;
    if (column == kColSetting) return data.settingColor;
    return CLR_DEFAULT;
}

LRESULT Form1::lv_CustomDraw(NMLVCUSTOMDRAW* draw) {
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        const COLORREF color = ServiceCellColor(static_cast<int>(draw->nmcd.dwItemSpec), draw->iSubItem);
        draw->clrText = color == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : color;
        return CDRF_NEWFONT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

void Form1::lv_GetInfoTip(NMLVGETINFOTIPW* tip) {
    // The cell under the pointer decides; a cell without a tooltip keeps the list's own text.
    ListView::SetInfoTip(*tip, ServiceToolTip(tip->iItem, ListView::InfoTipColumn(lv, *tip)));
}

// ---- Service control actions ----


void Form1::mnuStart_Click() {
    if (servicesLoading || serviceCommandRunning) return;
    if (CheckListSelection(lv) < 0) return;
    const int row = ListView::Current(lv);
    const std::wstring display = ListView::Text(lv, row, kColDisplayName);
    if (Text::EqualsNoCase(ListView::Text(lv, row, kColSetting), ServiceRows::kDisabled)) {
        // While the question waits, node clicks wait and the other service commands do nothing.
        // Yes opens the service it named, found again by its name, while the list still shows
        // it disabled; a reload or a click meanwhile may have moved or changed the selection.
        const std::wstring service = ListView::Text(lv, row, kColServiceName);
        Busy busy(*this);
        serviceCommandRunning = true;
        const int answer =
            Seam::ShowMessage(hwnd_, display + kDisabledStartQuestion, L"", MB_YESNO | MB_ICONQUESTION);
        serviceCommandRunning = false;
        if (answer != IDYES || !IsWindow(lv)) return;
        const int now = ListView::FindRow(lv, service, kColServiceName);
        if (now < 0 || !Text::EqualsNoCase(ListView::Text(lv, now, kColSetting), ServiceRows::kDisabled)) {
            Seam::ShowMessage(hwnd_, display + kDisabledChanged, L"", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        ListView::Select(lv, now);
        SettingTabFlag = L"1";
        ShowfrmInfo();
        return;
    }
    // Held from the caption's yield to the end: a node click meanwhile waits for the command.
    Busy busy(*this);
    SetViewTitle(kStarting + display);
    if (YieldBeforeCommand(ListView::Text(lv, row, kColServiceName))) Command1_Click();
}

void Form1::mnuStop_Click() {
    if (servicesLoading || serviceCommandRunning) return;
    const int row = CheckListSelection(lv);
    if (row < 0) return;
    const std::wstring display = ListView::Text(lv, row, kColDisplayName);
    Busy busy(*this);
    SetWindowTextW(lblCount, (kStopping + display).c_str());
    if (YieldBeforeCommand(ListView::Text(lv, row, kColServiceName))) Command2_Click();
}

// Lets the caption show before the command; another service command meanwhile is ignored.
// The command then acts on the service the caption names, wherever a click or a reload
// meanwhile left the selection; false when that service is no longer listed.
bool Form1::YieldBeforeCommand(const std::wstring& serviceName) {
    serviceCommandRunning = true;
    DoEvents();
    serviceCommandRunning = false;
    if (!IsWindow(lv)) return false;
    const int row = ListView::FindRow(lv, serviceName, kColServiceName);
    if (row < 0) return false;
    ListView::Select(lv, row);
    return true;
}

void Form1::Command1_Click() { RunServiceControl(true); }

void Form1::Command2_Click() { RunServiceControl(false); }

void Form1::RunServiceControl(bool start) {
    if (servicesLoading || serviceCommandRunning) return;
    const int current = ListView::Current(lv);
    if (current < 0) return;
    // The command reads lv again after its reload: a node click meanwhile waits until it ends.
    Busy busy(*this);
    serviceCommandRunning = true;
    const std::wstring name = ListView::Text(lv, current, kColServiceName);
    UpcServiciosyWea service;
    service.ServiceName(name);
    std::optional<WaitPointer> waiting(std::in_place, *this);
    // Success is judged by the state the list shows after the reload; the manager's refusal
    // counts too when that state is neither the one asked for nor on its way to it (a start of
    // a paused service), which would otherwise end without a word.
    const bool accepted = start ? service.Start_Service(L"") : service.Stop_Service(L"");
    Sleep(kServiceSettleMs);
    SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(IDC_Command6, BN_CLICKED), reinterpret_cast<LPARAM>(Command6));
    DoEvents();
    waiting.reset();
    serviceCommandRunning = false;

    // The reload may have put the service on another row: it is found again by its name.
    const int row = IsWindow(lv) ? ListView::FindRow(lv, name, kColServiceName) : -1;
    if (IsWindow(lv)) {
        if (row >= 0) ListView::Select(lv, row);
        SetViewTitle(std::to_wstring(ListView::Count(lv)) + kAvailableServices);
    }
    if (row >= 0) {
        const std::wstring status = ListView::Text(lv, row, kColStatus);
        const bool arrived = Text::EqualsNoCase(status, start ? kRunning : kStopped) ||
                             Text::EqualsNoCase(status, start ? kStartPending : kStopPending);
        if (Text::EqualsNoCase(status, start ? kStopped : kRunning) || (!accepted && !arrived)) {
            if (start) ShowStartFailed();
            else ShowStopFailed();
        }
    }
}

void Form1::ShowStartFailed() {
    const std::wstring display = ListView::Text(lv, ListView::Selected(lv), kColDisplayName);
    Seam::ShowMessage(hwnd_, display + kStartFailed + L"\r\n\r\n" + kStartFailedReasons, L"",
                      MB_OK | MB_ICONEXCLAMATION);
}

void Form1::ShowStopFailed() {
    const std::wstring display = ListView::Text(lv, ListView::Selected(lv), kColDisplayName);
    Seam::ShowMessage(hwnd_, display + kStopFailed + L"\r\n\r\n" + kStopFailedReasons, L"",
                      MB_OK | MB_ICONEXCLAMATION);
}

void Form1::mnuAuto_Click() { SetServiceStartType(SERVICE_AUTO_START); }

void Form1::mnuManual_Click() { SetServiceStartType(SERVICE_DEMAND_START); }

void Form1::mnuDisabled_Click() { SetServiceStartType(SERVICE_DISABLED); }

// The start type is changed through the service manager: it writes the service's "Start"
// value and uses the new type at once, where a registry write alone would wait for a restart.
void Form1::SetServiceStartType(DWORD startType) {
    if (servicesLoading || serviceCommandRunning) return;
    SelectedServiceName = ListView::Text(lv, ListView::Current(lv), kColDisplayName);
    if (CheckListSelection(lv) < 0) return;
    // A node click during the reload waits until the row is selected again and any refusal shown.
    Busy busy(*this);
    serviceCommandRunning = true;
    // Found again by its service name: display names need not be unique.
    const std::wstring serviceName = ListView::Text(lv, ListView::Current(lv), kColServiceName);
    UpcServiciosyWea service;
    service.ServiceName(serviceName);
    const DWORD error = service.ChangeStartType(startType, L"");
    serviceCommandRunning = false;
    Command6_Click();
    if (!IsWindow(lv)) return;
    SetFocus(lv);
    const int row = ListView::FindRow(lv, serviceName, kColServiceName);
    if (row >= 0) ListView::Select(lv, row);
    if (error != ERROR_SUCCESS)
        Seam::ShowMessage(hwnd_, ServiceSetting::RefusedMessage(SelectedServiceName, startType, error), L"",
                          MB_OK | MB_ICONEXCLAMATION);
}

void Form1::mnuInstallS_Click() { ShowfrmInstallS(); }
