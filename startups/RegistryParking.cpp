// Disable, enable and delete of registry startups: a disabled entry leaves its Run key and
// waits as a record "HKLM^command" ("HKLM32^command" from the machine's 32-bit view) under the
// settings key's "Disabled" until it is enabled.
#include "startups/RegistryParking.h"

#include "mainwindow/Form1.h"
#include "mainwindow/ListView.h"
#include "startups/ParkingMessages.h"
#include "startups/StartupNames.h"
#include "startups/frmDelete.h"
#include "system/App.h"
#include "system/Handles.h"
#include "system/Paths.h"
#include "system/Process.h"
#include "system/Registry.h"
#include "system/Text.h"

#include <cstring>

namespace {

using namespace ParkingMessages;

// Refusals of this kind of startup only.
constexpr wchar_t kOnlyRunKeys[] =
    L"Only Startups of a Run key can be disabled.  RunOnce and RunOnceEx entries cannot be put back into "
    L"their own key, so they are left as they are.     ";
constexpr wchar_t kOnlyStringsStart[] = L"Only string values can be disabled.  The Startup ";
constexpr wchar_t kOnlyStringsMiddle[] = L" is a ";
constexpr wchar_t kOnlyStringsEnd[] = L" value, so it was left as it is.     ";
constexpr wchar_t kEnableTakenStart[] = L"The Run key already holds a different Startup named ";
constexpr wchar_t kEnableTakenEnd[] = L".  The disabled Startup was left as it is.     ";
constexpr wchar_t kDisabledStart[] = L"The disabled Startup ";
constexpr wchar_t kRecordGoneEnd[] =
    L" is no longer recorded; another program may have enabled or deleted it.  The list has been read again.     ";
constexpr wchar_t kRecordNoTextMiddle[] = L" cannot be enabled: its record is a ";
constexpr wchar_t kRecordEmptyEnd[] = L" cannot be enabled: its record is empty and names no command.  You can delete it.     ";
constexpr wchar_t kRecordNoTextEnd[] = L" value, not the text of a command.  You can delete it.     ";

// The registry's name of a value type, as messages name it.
std::wstring TypeName(DWORD type) {
    static const struct {
        DWORD type;
        const wchar_t* name;
    } kTypes[] = {
        {REG_NONE, L"REG_NONE"},
        {REG_SZ, L"REG_SZ"},
        {REG_EXPAND_SZ, L"REG_EXPAND_SZ"},
        {REG_BINARY, L"REG_BINARY"},
        {REG_DWORD, L"REG_DWORD"},
        {REG_DWORD_BIG_ENDIAN, L"REG_DWORD_BIG_ENDIAN"},
        {REG_LINK, L"REG_LINK"},
        {REG_MULTI_SZ, L"REG_MULTI_SZ"},
        {REG_RESOURCE_LIST, L"REG_RESOURCE_LIST"},
        {REG_FULL_RESOURCE_DESCRIPTOR, L"REG_FULL_RESOURCE_DESCRIPTOR"},
        {REG_RESOURCE_REQUIREMENTS_LIST, L"REG_RESOURCE_REQUIREMENTS_LIST"},
        {REG_QWORD, L"REG_QWORD"},
    };
    for (const auto& t : kTypes)
        if (t.type == type) return t.name;
    return L"type " + std::to_wstring(type);
}

// The value as it is stored now: same type and same bytes.
bool HoldsExactly(HKEY root, const std::wstring& subKey, const std::wstring& name, DWORD type,
                  const std::vector<BYTE>& bytes, Registry::View view = Registry::View::kOwn) {
    const auto value = Registry::ReadValue(root, subKey, name, view);
    return value && value->type == type && value->bytes == bytes;
}

// A record's data: the hive, "^", then the Run value's data byte for byte, so that a value
// that is not whole UTF-16 text (an odd byte count) comes back exactly as it was stored.
std::vector<BYTE> RecordBytes(const std::wstring& hive, const std::vector<BYTE>& valueData) {
    const std::wstring prefix = hive + RegistryParking::kRecordSeparator;
    const auto* first = reinterpret_cast<const BYTE*>(prefix.data());
    std::vector<BYTE> bytes(first, first + prefix.size() * sizeof(wchar_t));
    bytes.insert(bytes.end(), valueData.begin(), valueData.end());
    return bytes;
}

// The Run value's data a record holds: its bytes after the first "^" (all of them without one).
std::vector<BYTE> RecordValueData(const std::vector<BYTE>& record) {
    for (size_t at = 0; at + sizeof(wchar_t) <= record.size(); at += sizeof(wchar_t)) {
        wchar_t c = 0;
        std::memcpy(&c, record.data() + at, sizeof(c));
        if (c == RegistryParking::kRecordSeparator)
            return std::vector<BYTE>(record.begin() + static_cast<std::ptrdiff_t>(at + sizeof(wchar_t)), record.end());
    }
    return record;
}

} // namespace

namespace RegistryParking {

bool DeleteIfPresent(HKEY root, const std::wstring& subKey, const std::wstring& name, Registry::View view) {
    return General::DeleteValue(root, subKey, name, view) || IsGone(root, subKey, name, view);
}

bool IsGone(HKEY root, const std::wstring& subKey, const std::wstring& name, Registry::View view) {
    HKEY raw = nullptr;
    const LONG opened = RegOpenKeyExW(root, subKey.c_str(), 0, KEY_QUERY_VALUE | Registry::ViewAccess(view), &raw);
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return false;
    UniqueHkey key(raw);
    return RegQueryValueExW(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_FILE_NOT_FOUND;
}

std::optional<RowKey> ParseRowKey(const std::wstring& keyColumn) {
    if (keyColumn.size() < 5 || keyColumn[4] != L'\\') return std::nullopt;
    RowKey key;
    key.hive = keyColumn.substr(0, 4);
    if (Text::EqualsNoCase(key.hive, L"HKLM")) key.root = HKEY_LOCAL_MACHINE;
    else if (Text::EqualsNoCase(key.hive, L"HKCU")) key.root = HKEY_CURRENT_USER;
    else return std::nullopt;
    key.subKey = keyColumn.substr(5);
    const bool machine = key.root == HKEY_LOCAL_MACHINE;
    if (machine) {
        key.view = Registry::View::k64;
        // The 32-bit view's keys are named by their real path and opened by their usual one.
        static const struct { const wchar_t* shown; const wchar_t* opened; } k32BitKeys[] = {
            {RunKeys::kRun32Key, kRunKey},
            {RunKeys::kRunOnce32Key, kRunOnceKey},
            {RunKeys::kRunOnceEx32Key, kRunOnceExKey},
        };
        for (const auto& k : k32BitKeys) {
            if (!Text::EqualsNoCase(key.subKey, k.shown)) continue;
            key.subKey = k.opened;
            key.view = Registry::View::k32;
        }
    }
    key.isRun = Text::EqualsNoCase(key.subKey, kRunKey);
    const bool known = key.isRun || Text::EqualsNoCase(key.subKey, kRunOnceKey) ||
                       (machine && Text::EqualsNoCase(key.subKey, kRunOnceExKey));
    if (!known) return std::nullopt;
    return key;
}

std::wstring DisabledSubKey() { return App::MachineSubKey(App::SubKey::kDisabled); }

std::wstring StartupDatesSubKey() { return App::MachineSubKey(App::SubKey::kStartupDates); }

std::wstring RecordCommand(const std::wstring& recordData) {
    const size_t caret = recordData.find(kRecordSeparator);
    return caret == std::wstring::npos ? recordData : recordData.substr(caret + 1);
}

RecordHome HomeOf(const std::wstring& recordData) {
    if (Text::StartsWithNoCase(recordData, std::wstring(kHklm32Hive) + kRecordSeparator))
        return {HKEY_LOCAL_MACHINE, Registry::View::k32, kHklm32RunText};
    if (Text::StartsWithNoCase(recordData, L"HKLM")) return {HKEY_LOCAL_MACHINE, Registry::View::k64, kHklmRunText};
    return {HKEY_CURRENT_USER, Registry::View::kOwn, kHkcuRunText};
}

DeleteTarget TargetOf(HWND list, int row) {
    if (row < 0) return DeleteTarget::None;
    const auto key = ParseRowKey(ListView::Text(list, row, 2));
    if (!key) return DeleteTarget::None;  // folder, Winlogon and legacy-file rows
    const int icon = ListView::Icon(list, row);
    if (icon == kIconEnabled || icon == kIconEnabledRunning) return DeleteTarget::RunValue;
    if ((icon == kIconDisabled || icon == kIconDisabledRunning) && key->isRun) return DeleteTarget::Record;
    return DeleteTarget::None;
}

std::optional<StartupEntry> EntryOf(HWND list, int row) {
    const DeleteTarget target = TargetOf(list, row);
    if (target == DeleteTarget::None) return std::nullopt;
    StartupEntry entry;
    entry.name = ListView::Text(list, row, 0);
    if (target == DeleteTarget::RunValue) {
        // Only the row's own key: a same-named entry of another key stays.
        const auto key = ParseRowKey(ListView::Text(list, row, 2));
        entry.root = key->root;
        entry.subKey = key->subKey;
        entry.view = key->view;
    } else {
        entry.root = HKEY_LOCAL_MACHINE;
        entry.subKey = DisabledSubKey();
    }
    entry.value = Registry::ReadValue(entry.root, entry.subKey, entry.name, entry.view);
    return entry;
}

bool ReportIfGone(HWND owner, const StartupEntry& entry) {
    if (!IsGone(entry.root, entry.subKey, entry.name, entry.view)) return false;
    Refuse(owner, kStartupStart + entry.name + kNotInKeyEnd);
    return true;
}

bool StillHolds(const StartupEntry& entry) {
    return Registry::SameData(Registry::ReadValue(entry.root, entry.subKey, entry.name, entry.view), entry.value);
}

bool DeleteStartup(HWND owner, const StartupEntry& entry) {
    if (!DeleteIfPresent(entry.root, entry.subKey, entry.name, entry.view)) {
        Refuse(owner, kStartupStart + entry.name + kDeleteFailedEnd);
        return false;
    }
    StartupNames::ForgetDateIfGone(entry.name);
    return true;
}

} // namespace RegistryParking

using namespace RegistryParking;


void Form1::LoadDisabledStartups() {
    const auto records = Registry::EnumValues(HKEY_LOCAL_MACHINE, DisabledSubKey());
    if (records) {
        ViewScope view(*this);
        const modProcess::ProcessSnapshot& running = view.Running();
        for (const auto& record : *records) {
            // Every record is listed, also one that is empty or no text: Enable then says why it
            // cannot put it back, and Delete frees its name for the next Disable.
            const bool usable = Registry::IsText(record.type) && !record.text.empty();
            const std::wstring text = usable ? record.text : std::wstring();
            const std::wstring keyText = HomeOf(text).keyText;
            // Judged by the file name of the whole record text, the program's unless the command has
            // switches; the registry-only view then sets the icon again from the split command
            // (MarkRunningDisabledStartups), the "Disabled Startups" view keeps this one.
            const bool runs = usable && running.Contains(MyMod::GetFileName(text));
            ListView::AddRow(lv2, record.name, runs ? kIconDisabledRunning : kIconDisabled, {text, keyText},
                             ListView::DisabledForeColor);
        }
    }
    StripSourcePrefix();
}

void Form1::StripSourcePrefix() {
    const int rows = ListView::Count(lv2);
    for (int row = 0; row < rows; ++row) {
        const std::wstring path = ListView::Text(lv2, row, 1);
        if (path.find(kRecordSeparator) != std::wstring::npos) ListView::SetText(lv2, row, 1, RecordCommand(path));
    }
}

// Disable, Enable and Delete change nothing while other work holds the window (a load, or a
// delete confirmation that waits): the row they would act on may be on its way out.
void Form1::mnuDisable_Click() {
    if (IsBusy()) return;
    const int row = CheckListSelection(lv2);
    if (row < 0) return;
    const std::wstring name = ListView::Text(lv2, row, 0);
    const auto key = ParseRowKey(ListView::Text(lv2, row, 2));
    if (!key || !key->isRun) {
        Refuse(hwnd_, kOnlyRunKeys);
        return;
    }
    // The command as the Run value holds it: the list shows it without quotes and "RUNDLL32.EXE ".
    const auto value = Registry::ReadValue(key->root, key->subKey, name, key->view);
    if (!value) {
        Refuse(hwnd_, kStartupStart + name + kNotInKeyEnd);
        return;
    }
    if (!Registry::IsText(value->type)) {
        Refuse(hwnd_, kOnlyStringsStart + name + kOnlyStringsMiddle + TypeName(value->type) + kOnlyStringsEnd);
        return;
    }
    const std::wstring disabled = DisabledSubKey();
    if (Registry::ReadValue(HKEY_LOCAL_MACHINE, disabled, name)) {
        Refuse(hwnd_, kAlreadyParkedStart + name + kAlreadyParkedEnd);
        return;
    }
    // An entry of the 32-bit view is marked so in a form no earlier record has.
    const std::wstring hive = key->view == Registry::View::k32 ? kHklm32Hive : key->hive;
    const std::vector<BYTE> record = RecordBytes(hive, value->bytes);
    // The record keeps the value's type, so an expandable command comes back expandable. Its
    // key is made again when it was deleted since the program started.
    const bool parked = General::CreateKey(App::SubKeyPath(App::SubKey::kDisabled)) &&
                        Registry::WriteBytes(HKEY_LOCAL_MACHINE, disabled, name, value->type, record) &&
                        HoldsExactly(HKEY_LOCAL_MACHINE, disabled, name, value->type, record);
    if (!parked || !General::DeleteValue(key->root, key->subKey, name, key->view)) {
        // Nothing was there before under this name, so the record goes again.
        (void)General::DeleteValue(HKEY_LOCAL_MACHINE, disabled, name);
        Refuse(hwnd_, kStartupStart + name + kDisableFailedEnd);
        return;
    }
    tvwDemo_NodeClick(SelectedNodeKey());
}

void Form1::mnuEnable_Click() {
    if (IsBusy()) return;
    const int row = CheckListSelection(lv2);
    if (row < 0) return;
    // Only a parked registry row stands for a record: a startup-folder row or an enabled entry
    // of the same name must not put that record back.
    if (TargetOf(lv2, row) != DeleteTarget::Record) return;
    const std::wstring name = ListView::Text(lv2, row, 0);
    const std::wstring disabled = DisabledSubKey();
    // Without a record there is nothing to put back (and no second copy is made); the row is stale.
    const auto record = Registry::ReadValue(HKEY_LOCAL_MACHINE, disabled, name);
    if (!record) {
        Refuse(hwnd_, kDisabledStart + name + kRecordGoneEnd);
        tvwDemo_NodeClick(SelectedNodeKey());
        return;
    }
    if (!Registry::IsText(record->type)) {
        Refuse(hwnd_, kDisabledStart + name + kRecordNoTextMiddle + TypeName(record->type) + kRecordNoTextEnd);
        return;
    }
    if (RecordCommand(record->text).empty()) {  // also "HKLM^" and the like
        Refuse(hwnd_, kDisabledStart + name + kRecordEmptyEnd);
        return;
    }
    // The record names its Run key.
    const RecordHome home = HomeOf(record->text);
    const std::vector<BYTE> data = RecordValueData(record->bytes);
    const DWORD type = record->type;

    const auto existing = Registry::ReadValue(home.root, kRunKey, name, home.view);
    const bool alreadyThere = existing && existing->type == type && existing->bytes == data;
    if (existing && !alreadyThere) {
        Refuse(hwnd_, kEnableTakenStart + name + kEnableTakenEnd);
        return;
    }
    // A Run key that was removed while it stood empty is made again.
    const bool restored = alreadyThere || (Registry::CreateKey(home.root, kRunKey, home.view) &&
                                           Registry::WriteBytes(home.root, kRunKey, name, type, data, home.view) &&
                                           HoldsExactly(home.root, kRunKey, name, type, data, home.view));
    if (!restored || !General::DeleteValue(HKEY_LOCAL_MACHINE, disabled, name)) {
        if (!alreadyThere) (void)General::DeleteValue(home.root, kRunKey, name, home.view);
        Refuse(hwnd_, kStartupStart + name + kEnableFailedEnd);
        return;
    }
    tvwDemo_NodeClick(SelectedNodeKey());
}

void Form1::mnuDelete_Click() {
    if (IsBusy()) return;  // a load, or a confirmation that already waits
    const int row = CheckListSelection(lv2);
    if (row < 0) return;
    // Rows that are no registry startup (folder, Winlogon and legacy-file rows) have nothing here.
    const auto entry = EntryOf(lv2, row);
    if (!entry) return;
    // While frmDelete waits the list stays as it is: a reload asked for meanwhile runs after it.
    Busy busy(*this);
    // One deleted or renamed from outside since the list was read is named; the reload shows what is there.
    if (!ReportIfGone(hwnd_, *entry)) {
        if (General::GetStringValue(App::AppKey(), App::Value::kConfirmed) != L"1")
            frmDelete::ShowModal(hwnd_, *entry);  // its Yes deletes
        else
            DeleteStartup(hwnd_, *entry);
    }
    tvwDemo_NodeClick(SelectedNodeKey());
}

void Form1::lv2_KeyDown(WORD keyCode) {
    if (keyCode == VK_DELETE) mnuDelete_Click();
}
