// Form1's backup and restore of all startups: the Run keys and the services key, the Winlogon
// "Userinit" value, the legacy start-up files and the Startup folders' shortcuts, kept in the
// folder "Backups" beside the program and the records of "Backups" under the settings key.
#include "mainwindow/Form1.h"

#include "mainwindow/ListView.h"
#include "resources/Images.h"
#include "startups/FolderParking.h"
#include "startups/SystemFiles.h"
#include "startups/modRegKeys.h"
#include "startups/RunKeys.h"
#include "system/App.h"
#include "system/Files.h"
#include "system/FirstSeen.h"
#include "system/Handles.h"
#include "system/Paths.h"
#include "system/Registry.h"
#include "system/SafeFile.h"
#include "system/Seam.h"
#include "system/Text.h"

#include <shlwapi.h>

#include <algorithm>
#include <iterator>
#include <optional>

namespace {

constexpr wchar_t kStagingFolder[] = L"\\Backups.new";  // the backup being made
constexpr wchar_t kRetiredFolder[] = L"\\Backups.old";  // the backup being replaced, for a moment

constexpr wchar_t kReplaceStart[] = L"This will replace the backup created ";
constexpr wchar_t kReplaceEnd[] = L" with your current settings.\r\n Are you sure you want to do this?";
constexpr wchar_t kCreatingBackup[] = L"Creating backup....Please wait";
constexpr wchar_t kBackupComplete[] = L"Backup Complete";
constexpr wchar_t kCompletedOn[] = L"Backup Completed on ";
constexpr wchar_t kBackupFailed[] =
    L"The backup could not be made, so the earlier backup, if any, was left as it was.  What failed:\r\n\r\n";
constexpr wchar_t kRestoreStart[] = L"Are you sure you want to restore the backup created ";
constexpr wchar_t kRestoreEnd[] = L" ?";
constexpr wchar_t kRestoredStart[] = L"The backup created ";
constexpr wchar_t kRestoredEnd[] =
    L" has been restored.  You may need to restart your computer to start the Applications or Services.";
constexpr wchar_t kPartlyRestoredEnd[] =
    L" was not restored completely; every other part was put back.  What failed:\r\n\r\n";
constexpr wchar_t kNoBackupStart[] = L"There is no backup to restore: ";
constexpr wchar_t kNoBackupEnd[] = L" was not found.  Nothing was changed.     ";

// The legacy files in the order they are copied and put back, with their copies' names.
struct LegacyCopy {
    const wchar_t* live;
    const wchar_t* copy;
    bool hiddenAfterRestore;
};
constexpr LegacyCopy kLegacyCopies[] = {
    {L"Win.ini", L"Win.ini", false},
    {L"System.ini", L"System.ini", false},
    {L"AutoExec.bat", L"Autoexec.bat", true},
    {L"Boot.ini", L"Boot.ini", false},
    {L"Config.sys", L"Config.sys", true},
};

// The file's last-modified time as the messages show it: short date, a blank, long time.
std::wstring FileDate(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    SYSTEMTIME universal{}, local{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        !FileTimeToSystemTime(&data.ftLastWriteTime, &universal) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return {};
    return FirstSeen::DateText(local);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The failures a box lists, one a line, as many as fit on the screen.
std::wstring JoinLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const auto& line : Text::ListedLines(lines)) text += (text.empty() ? L"" : L"\r\n") + line;
    return text;
}

std::wstring CopyFailed(const std::wstring& from, DWORD error) {
    return L"The copy of " + from + L" could not be made: " + Text::SystemMessage(error);
}

// Copies into a place that holds nothing yet; ERROR_SUCCESS or the error.
DWORD CopyNew(const std::wstring& from, const std::wstring& to) {
    return CopyFileW(from.c_str(), to.c_str(), TRUE) ? ERROR_SUCCESS : GetLastError();
}

// The copies of each Startup folder's files lie in a sub-folder of their own, where neither a
// file of the backup's own (RegKeys.reg, Win.ini, an export) nor the other folder's files of the
// same name can meet them.
struct ShortcutFolder {
    int which;
    const wchar_t* subFolder;
};
constexpr ShortcutFolder kShortcutFolders[] = {
    {modSpecialFolder::kCommonStartup, L"All Users Startup"},
    {modSpecialFolder::kUserStartup, L"User Startup"},
};

bool IsPlainFileName(const std::wstring& name) {
    return !name.empty() && name != L"." && name != L".." && name.find_first_of(L"\\/:*?\"<>|") == std::wstring::npos;
}

// The copy a record of "Backups" names: its value name is the copy's path inside the backup
// folder, "User Startup\App.lnk", or a bare file name in backups made before the sub-folders.
// nullopt for a name that would lead anywhere else.
std::optional<std::wstring> CopyOf(const std::wstring& folder, const std::wstring& recordName) {
    const size_t slash = recordName.find(L'\\');
    if (slash == std::wstring::npos)
        return IsPlainFileName(recordName) ? std::optional(folder + L"\\" + recordName) : std::nullopt;
    const std::wstring sub = recordName.substr(0, slash);
    const std::wstring file = recordName.substr(slash + 1);
    const bool known = std::any_of(std::begin(kShortcutFolders), std::end(kShortcutFolders),
                                   [&](const ShortcutFolder& f) { return Text::EqualsNoCase(f.subFolder, sub); });
    if (!known || !IsPlainFileName(file)) return std::nullopt;
    return folder + L"\\" + sub + L"\\" + file;
}

// The records of the backed-up shortcuts that name a full path, in the key's order; the names of
// the others (no text, empty, or a relative path) go to unusable when it is given.
std::vector<Registry::Value> ShortcutRecords(std::vector<std::wstring>* unusable = nullptr) {
    std::vector<Registry::Value> records;
    const auto values = Registry::EnumValues(HKEY_LOCAL_MACHINE, App::MachineSubKey(App::SubKey::kBackups));
    if (!values) return records;
    for (const auto& value : *values) {
        if (Registry::IsText(value.type) && !value.text.empty() && !PathIsRelativeW(value.text.c_str()))
            records.push_back(value);
        else if (unusable)
            unusable->push_back(value.name);
    }
    return records;
}

bool SameValues(std::vector<Registry::Value> a, std::vector<Registry::Value> b) {
    const auto byName = [](const Registry::Value& x, const Registry::Value& y) {
        return Text::Lower(x.name) < Text::Lower(y.name);
    };
    std::sort(a.begin(), a.end(), byName);
    std::sort(b.begin(), b.end(), byName);
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Registry::Value& x, const Registry::Value& y) {
        return Text::EqualsNoCase(x.name, y.name) && x.type == y.type && x.bytes == y.bytes;
    });
}

// Makes values the only values of key; true when the key then holds exactly them.
bool SetAllValues(HKEY key, const std::vector<Registry::Value>& values) {
    if (const auto present = Registry::EnumValues(key, L""))
        for (const auto& value : *present) RegDeleteValueW(key, value.name.c_str());
    for (const auto& value : values)
        RegSetValueExW(key, value.name.c_str(), 0, value.type, value.bytes.data(), static_cast<DWORD>(value.bytes.size()));
    const auto after = Registry::EnumValues(key, L"");
    return after && SameValues(*after, values);
}

// The staging records take the place of the records of "Backups"; on a failure the old ones
// are put back, and oldBack says whether that worked.
bool ReplaceRecords(const std::wstring& stagingKey, bool& oldBack) {
    oldBack = true;
    const auto staged = Registry::EnumValues(HKEY_LOCAL_MACHINE, stagingKey);
    UniqueHkey key;
    if (!staged || RegCreateKeyExW(HKEY_LOCAL_MACHINE, App::MachineSubKey(App::SubKey::kBackups).c_str(), 0, nullptr,
                                   REG_OPTION_NON_VOLATILE, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key.put(),
                                   nullptr) != ERROR_SUCCESS)
        return false;
    const auto old = Registry::EnumValues(key.get(), L"");
    if (!old) return false;
    if (SetAllValues(key.get(), *staged)) return true;
    oldBack = SetAllValues(key.get(), *old);
    return false;
}

// An empty staging folder and staging key, whatever an interrupted backup left there.
bool PrepareStaging(const std::wstring& folder, modRegKeys::Failures& failures) {
    if (!Files::RemoveFolder(folder) || !CreateDirectoryW(folder.c_str(), nullptr)) {
        failures.push_back(L"The folder " + folder + L" could not be made empty: " + Text::SystemMessage(GetLastError()));
        return false;
    }
    const std::wstring key = App::MachineSubKey(App::SubKey::kBackupsStaging);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, key.c_str());
    const std::wstring path = App::SubKeyPath(App::SubKey::kBackupsStaging);
    const auto values = General::CreateKey(path) ? Registry::EnumValues(HKEY_LOCAL_MACHINE, key) : std::nullopt;
    if (!values || !values->empty()) {
        failures.push_back(L"The registry key " + path + L" could not be made empty.");
        return false;
    }
    return true;
}

// A backup interrupted between its two moves left the old one only under the retired name: it
// gets its own name back before anything else, so that nothing removes it as a leftover.
bool RecoverRetired(modRegKeys::Failures& failures) {
    const std::wstring live = App::BackupFolder();
    const std::wstring retired = App::Path() + kRetiredFolder;
    if (Exists(live) || !Exists(retired) || MoveFileExW(retired.c_str(), live.c_str(), 0)) return true;
    failures.push_back(L"The earlier backup lies in " + retired + L" and could not be moved back to " + live + L": " +
                       Text::SystemMessage(GetLastError()));
    return false;
}

// The staging folder and records become the backup. The old folder steps aside until the new one
// has its name and the records are replaced; any step that fails puts it back as it was, or says
// where it stays.
void CommitBackup(const std::wstring& staging, const std::wstring& stagingKey, modRegKeys::Failures& failures) {
    const std::wstring live = App::BackupFolder();
    const std::wstring retired = App::Path() + kRetiredFolder;
    const auto fail = [&failures](DWORD error) {
        failures.push_back(L"The new backup could not take the place of the old one: " + Text::SystemMessage(error));
    };
    const auto putBack = [&]() {
        if (MoveFileExW(retired.c_str(), live.c_str(), 0)) return;
        failures.push_back(L"The earlier backup could not be moved back to " + live + L" and now lies in " + retired +
                           L": " + Text::SystemMessage(GetLastError()));
    };
    if (!RecoverRetired(failures)) return;
    if (!Files::RemoveFolder(retired)) {
        failures.push_back(L"The folder " + retired + L", left by an earlier backup, could not be removed.");
        return;
    }
    const bool hadOld = Exists(live);
    if (hadOld && !MoveFileExW(live.c_str(), retired.c_str(), 0)) return fail(GetLastError());
    if (!MoveFileExW(staging.c_str(), live.c_str(), 0)) {
        fail(GetLastError());
        if (hadOld) putBack();
        return;
    }
    bool oldRecordsBack = true;
    if (!ReplaceRecords(stagingKey, oldRecordsBack)) {
        fail(ERROR_WRITE_FAULT);
        if (!oldRecordsBack)
            failures.push_back(L"The records of the earlier backup could not be put back under HKEY_LOCAL_MACHINE\\" +
                               App::MachineSubKey(App::SubKey::kBackups) + L".");
        if (!MoveFileExW(live.c_str(), staging.c_str(), 0)) {
            const DWORD error = GetLastError();
            failures.push_back(L"The new backup could not be moved out of " + live +
                               (hadOld ? L", so the earlier one now lies in " + retired : std::wstring()) + L": " +
                               Text::SystemMessage(error));
        } else if (hadOld) {
            putBack();
        }
        return;
    }
    Files::RemoveFolder(retired);  // what stays is removed by the next backup
}

} // namespace

void Form1::mnuBackup_Click() {
    if (IsBusy()) return;
    Busy busy(*this);
    modRegKeys::Failures failures;
    if (!RecoverRetired(failures)) {
        Seam::ShowMessage(hwnd_, kBackupFailed + JoinLines(failures), App::Title(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const std::wstring regKeys = App::BackupFolder() + L"\\" + modRegKeys::kRegKeysFile;
    if (MyMod::FileExists(regKeys) &&
        Seam::ShowMessage(hwnd_, kReplaceStart + FileDate(regKeys) + kReplaceEnd, App::Title(),
                          MB_YESNO | MB_ICONQUESTION) != IDYES) {
        tvwDemo_NodeClick(SelectedNodeKey());
        return;
    }
    SetViewTitle(kCreatingBackup);
    DoEvents();
    std::optional<WaitPointer> waiting(std::in_place, *this);

    const std::wstring staging = App::Path() + kStagingFolder;
    const std::wstring stagingKey = App::MachineSubKey(App::SubKey::kBackupsStaging);
    if (PrepareStaging(staging, failures)) {
        BackupWinlogonUserinit(staging, failures);
        BackupSystemFiles(staging, failures);
        DoEvents();
        BackupStartupShortcuts(staging, stagingKey, failures);
        DoEvents();
        // The exports take the longest: not begun once the backup cannot be whole.
        if (failures.empty()) modRegKeys::BackupRegKeys(staging, failures, &Form1::DoEvents);
        if (failures.empty()) CommitBackup(staging, stagingKey, failures);
    }
    Files::RemoveFolder(staging);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, stagingKey.c_str());
    waiting.reset();

    if (failures.empty()) {
        SetViewTitle(kBackupComplete);
        Seam::ShowMessage(hwnd_, kCompletedOn + FileDate(regKeys), App::Title(), MB_OK);
    } else {
        Seam::ShowMessage(hwnd_, kBackupFailed + JoinLines(failures), App::Title(), MB_OK | MB_ICONEXCLAMATION);
    }
    tvwDemo_NodeClick(SelectedNodeKey());  // runs as the busy scope ends
}

void Form1::BackupWinlogonUserinit(const std::wstring& folder, std::vector<std::wstring>& failures) {
    const auto winlogon = General::ParseKeyPath(RunKeys::kWinlogonKey);
    const auto value = Registry::ReadValue(winlogon->root, winlogon->subKey, RunKeys::kUserinitValue);
    // Nothing to give back: a restore then leaves "Userinit" as it finds it.
    if (!value || !Registry::IsText(value->type) || value->text.empty()) return;
    const std::wstring name = modRegKeys::kUserinitFile;
    const DWORD error = SafeFile::Write(folder + L"\\" + name, modRegKeys::UserinitRegFile(*value));
    if (error != ERROR_SUCCESS) failures.push_back(name + L" could not be written: " + Text::SystemMessage(error));
}

void Form1::BackupSystemFiles(const std::wstring& folder, std::vector<std::wstring>& failures) {
    for (const LegacyCopy& file : kLegacyCopies) {
        const std::wstring live = SystemFiles::LivePath(file.live);
        if (!MyMod::FileExists(live)) continue;  // only the files there are
        const DWORD error = CopyNew(live, folder + L"\\" + file.copy);
        if (error != ERROR_SUCCESS) failures.push_back(CopyFailed(live, error));
    }
}

void Form1::BackupStartupShortcuts(const std::wstring& folder, const std::wstring& recordsKey,
                                   std::vector<std::wstring>& failures) {
    std::vector<std::wstring> seenFolders;
    for (const ShortcutFolder& shortcuts : kShortcutFolders) {
        const std::wstring startup = FolderParking::StartupFolderPath(shortcuts.which);
        const bool seen = std::any_of(seenFolders.begin(), seenFolders.end(),
                                      [&](const std::wstring& f) { return Text::EqualsNoCase(f, startup); });
        if (startup.empty() || seen) continue;
        seenFolders.push_back(startup);
        std::vector<std::wstring> names;
        if (!FolderParking::StartupFolderFiles(startup, names))
            failures.push_back(L"The folder " + startup + L" could not be read: " + Text::SystemMessage(GetLastError()));
        if (names.empty()) continue;
        const std::wstring copies = folder + L"\\" + shortcuts.subFolder;
        if (!CreateDirectoryW(copies.c_str(), nullptr)) {
            failures.push_back(L"The folder " + copies + L" could not be made: " + Text::SystemMessage(GetLastError()));
            continue;
        }
        for (const std::wstring& name : names) {
            const std::wstring live = startup + L"\\" + name;
            const DWORD error = CopyNew(live, copies + L"\\" + name);
            if (error != ERROR_SUCCESS) failures.push_back(CopyFailed(live, error));
            else if (!Registry::WriteText(HKEY_LOCAL_MACHINE, recordsKey,
                                          std::wstring(shortcuts.subFolder) + L"\\" + name, REG_SZ, live))
                failures.push_back(L"The record of " + live + L" could not be written.");
        }
    }
}

bool Form1::StartupBackupExists() {
    return MyMod::FileExists(App::BackupFolder() + L"\\" + modRegKeys::kRegKeysFile);
}

void Form1::mnuRestore_Click() {
    if (IsBusy()) return;
    const std::wstring folder = App::BackupFolder();
    const std::wstring regKeys = folder + L"\\" + modRegKeys::kRegKeysFile;
    std::wstring date;
    modRegKeys::Failures failures;
    {
        Busy busy(*this);
        // The entry stays once shown; without this file there is no backup and no date to name.
        if (!MyMod::FileExists(regKeys)) {
            Seam::ShowMessage(hwnd_, kNoBackupStart + regKeys + kNoBackupEnd, App::Title(), MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        date = FileDate(regKeys);
        if (Seam::ShowMessage(hwnd_, kRestoreStart + date + kRestoreEnd, App::Title(), MB_YESNO | MB_ICONQUESTION) !=
            IDYES)
            return;
        {
            const WaitPointer waiting(*this);
            modRegKeys::RestoreRegKeys(folder, failures);
            DoEvents();
            RestoreSystemFiles(folder, failures);
            ListBackedUpShortcuts();
            RestoreStartupShortcuts(folder, failures);
            DoEvents();
        }
        tvwDemo_NodeClick(SelectedNodeKey());  // runs as the busy scope ends, before the message
    }
    if (failures.empty())
        Seam::ShowMessage(hwnd_, kRestoredStart + date + kRestoredEnd, App::Title(), MB_OK | MB_ICONINFORMATION);
    else
        Seam::ShowMessage(hwnd_, kRestoredStart + date + kPartlyRestoredEnd + JoinLines(failures), App::Title(),
                          MB_OK | MB_ICONEXCLAMATION);
}

void Form1::mnuRestore2_Click() { mnuRestore_Click(); }

// Each copy is written whole beside its live file and then takes its place, so a live file is
// never gone or half-written; it gets the copy's attributes, AutoExec.bat and Config.sys hidden.
void Form1::RestoreSystemFiles(const std::wstring& folder, std::vector<std::wstring>& failures) {
    constexpr DWORD kKept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_ARCHIVE;
    for (const LegacyCopy& file : kLegacyCopies) {
        const std::wstring copy = folder + L"\\" + file.copy;
        if (!MyMod::FileExists(copy)) continue;
        const std::wstring live = SystemFiles::LivePath(file.live);
        const auto bytes = MyMod::ReadWholeFile(copy);
        const DWORD copyAttributes = GetFileAttributesW(copy.c_str());
        if (live.empty() || !bytes || copyAttributes == INVALID_FILE_ATTRIBUTES) {
            failures.push_back(std::wstring(file.live) + L" could not be restored: its copy could not be read.");
            continue;
        }
        const DWORD liveAttributes = GetFileAttributesW(live.c_str());
        DWORD error = ERROR_SUCCESS;
        // A read-only live file would refuse to be replaced.
        if (liveAttributes != INVALID_FILE_ATTRIBUTES && !SetFileAttributesW(live.c_str(), FILE_ATTRIBUTE_NORMAL))
            error = GetLastError();
        if (error == ERROR_SUCCESS) error = SafeFile::Write(live, *bytes);
        if (error != ERROR_SUCCESS) {
            if (liveAttributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(live.c_str(), liveAttributes);
            failures.push_back(live + L" could not be restored: " + Text::SystemMessage(error));
            continue;
        }
        const DWORD attributes = copyAttributes & kKept;
        if (!file.hiddenAfterRestore && !SetFileAttributesW(live.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL))
            failures.push_back(live + L" was restored, but its attributes could not be set.");
    }
    for (const LegacyCopy& file : kLegacyCopies) {
        const std::wstring live = SystemFiles::LivePath(file.live);
        if (file.hiddenAfterRestore && MyMod::FileExists(live) && !SetFileAttributesW(live.c_str(), FILE_ATTRIBUTE_HIDDEN))
            failures.push_back(live + L" could not be made hidden.");
    }
}

void Form1::ListBackedUpShortcuts() {
    ListView::Clear(lv3);
    const std::wstring folder = App::BackupFolder();
    for (const auto& record : ShortcutRecords()) {
        // Named as the shortcut is, which a copy kept apart from a same-named one is not.
        const std::wstring name = FolderParking::ShownName(MyMod::GetFileName(record.text));
        const auto copy = CopyOf(folder, record.name);
        const std::wstring target = copy ? LookPropertyLink(*copy, L"target") : L"";
        ListView::AddRow(lv3, name, Images::kIconDisabled, {target, MyMod::GetParentFolder(record.text, true)},
                         ListView::DisabledForeColor);
    }
}

void Form1::RestoreStartupShortcuts(const std::wstring& folder, std::vector<std::wstring>& failures) {
    std::vector<std::wstring> unusable;
    const auto records = ShortcutRecords(&unusable);
    for (const auto& name : unusable)
        failures.push_back(L"The record \"" + name + L"\" under HKEY_LOCAL_MACHINE\\" +
                           App::MachineSubKey(App::SubKey::kBackups) +
                           L" names no full path of a shortcut, so its shortcut could not be restored.");
    for (const auto& record : records) {
        const std::wstring& live = record.text;
        if (Exists(live)) continue;  // never overwritten
        const auto found = CopyOf(folder, record.name);
        if (!found) {
            failures.push_back(L"The shortcut " + live + L" could not be restored: its record names no file.");
            continue;
        }
        const std::wstring& copy = *found;
        const DWORD error = Exists(copy) ? CopyNew(copy, live) : ERROR_FILE_NOT_FOUND;
        if (error != ERROR_SUCCESS)
            failures.push_back(L"The shortcut " + live + L" could not be restored from " + copy + L": " +
                               Text::SystemMessage(error));
    }
}
