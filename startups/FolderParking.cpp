// Disable, enable and delete of startup-folder shortcuts: a disabled shortcut moves into the
// folder "Startups" beside the program, with a record of the path it came from, until it is
// enabled. A file is only deleted once its copy elsewhere has been read back whole.
#include "startups/FolderParking.h"

#include "mainwindow/Form1.h"
#include "mainwindow/ListView.h"
#include "startups/ParkingMessages.h"
#include "startups/RegistryParking.h"
#include "startups/StartupNames.h"
#include "startups/frmDelete2.h"
#include "system/App.h"
#include "system/Files.h"
#include "system/Handles.h"
#include "system/Paths.h"
#include "system/Registry.h"
#include "system/Text.h"

#include <shlwapi.h>

#include <algorithm>
#include <vector>

namespace {

constexpr wchar_t kLnk[] = L".lnk";
constexpr wchar_t kDesktopIni[] = L"desktop.ini";
constexpr int kUserFolder = 2;  // lv3 "User Folder"

using namespace ParkingMessages;

// Refusals of this kind of startup only.
constexpr wchar_t kNoRecordEnd[] =
    L" has no readable record of the folder it came from.  Nothing was changed.     ";
constexpr wchar_t kNoCopyStart[] = L"The disabled Startup ";
constexpr wchar_t kNoCopyEnd[] = L" is missing from the Startups folder.  Nothing was changed.     ";
constexpr wchar_t kTakenStart[] = L"A different file already stands at ";
constexpr wchar_t kTakenEnd[] = L".  The disabled Startup was left as it is.     ";

// The attributes a copy takes over from its original.
constexpr DWORD kCopiedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// A file (no folder) at exactly this path; no wildcards.
bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

UniqueHandle OpenForReading(const std::wstring& path) {
    return UniqueHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

bool SetAttributes(const std::wstring& path, DWORD attributes) {
    const DWORD kept = attributes & kCopiedAttributes;
    return SetFileAttributesW(path.c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL) != FALSE;
}

} // namespace

namespace FolderParking {

std::wstring StartupsSubKey() { return App::MachineSubKey(App::SubKey::kStartups); }

std::wstring ParkedPath(const std::wstring& fileName) { return App::ParkedFolder() + L"\\" + fileName; }

std::wstring ShownName(const std::wstring& fileName) { return Text::ReplaceNoCase(fileName, kLnk, L""); }

std::wstring StartupFolderPath(int which) {
    std::wstring path = modSpecialFolder::GetSpecialFolder(which);
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

bool StartupFolderFiles(const std::wstring& folder, std::vector<std::wstring>& names) {
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                           nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (Text::EqualsNoCase(data.cFileName, kDesktopIni)) continue;
        names.emplace_back(data.cFileName);
    } while (FindNextFileW(find.get(), &data));
    const DWORD error = GetLastError();
    find.reset();  // closing must not hide why the listing stopped
    SetLastError(error);
    return error == ERROR_NO_MORE_FILES;
}

bool SameBytes(const std::wstring& a, const std::wstring& b) {
    const UniqueHandle first = OpenForReading(a);
    const UniqueHandle second = OpenForReading(b);
    LARGE_INTEGER sizeA{}, sizeB{};
    if (!first || !second || !GetFileSizeEx(first.get(), &sizeA) || !GetFileSizeEx(second.get(), &sizeB) ||
        sizeA.QuadPart != sizeB.QuadPart)
        return false;
    std::vector<char> bufA(64 * 1024), bufB(64 * 1024);
    for (;;) {
        DWORD readA = 0, readB = 0;
        if (!ReadFile(first.get(), bufA.data(), static_cast<DWORD>(bufA.size()), &readA, nullptr) ||
            !ReadFile(second.get(), bufB.data(), static_cast<DWORD>(bufB.size()), &readB, nullptr) || readA != readB)
            return false;
        if (readA == 0) return true;
        if (!std::equal(bufA.begin(), bufA.begin() + readA, bufB.begin())) return false;
    }
}

bool CopyChecked(const std::wstring& from, const std::wstring& to) {
    if (!CopyFileW(from.c_str(), to.c_str(), TRUE)) {
        // Never touch a file that was there before; remove only what a failed copy left.
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) (void)Files::RemoveFile(to);
        return false;
    }
    const DWORD attributes = GetFileAttributesW(from.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && SetAttributes(to, attributes) && SameBytes(from, to)) return true;
    (void)Files::RemoveFile(to);
    return false;
}

std::optional<FolderEntry> EntryOf(const Form1& form, HWND list, int row) {
    const auto item = form.FolderItemOf(list, row);
    if (!item) return std::nullopt;
    FolderEntry entry;
    entry.name = ListView::Text(list, row);
    entry.fileName = item->fileName;
    entry.parked = item->parked;
    entry.path = item->parked ? ParkedPath(item->fileName)
                              : ListView::Text(list, row, kUserFolder) + L"\\" + item->fileName;
    entry.bytes = MyMod::ReadWholeFile(entry.path);
    if (item->parked) entry.record = Registry::ReadValue(HKEY_LOCAL_MACHINE, StartupsSubKey(), item->fileName);
    return entry;
}

bool ReportIfGone(HWND owner, const FolderEntry& entry) {
    const bool gone = Files::IsMissing(entry.path) &&
                      (!entry.parked || RegistryParking::IsGone(HKEY_LOCAL_MACHINE, StartupsSubKey(), entry.fileName));
    if (gone) Refuse(owner, kStartupStart + entry.name + kNotInFolderEnd);
    return gone;
}

bool StillHolds(const FolderEntry& entry) {
    if (MyMod::ReadWholeFile(entry.path) != entry.bytes) return false;
    if (!entry.parked) return true;
    return Registry::SameData(Registry::ReadValue(HKEY_LOCAL_MACHINE, StartupsSubKey(), entry.fileName), entry.record);
}

bool DeleteItem(HWND owner, const FolderEntry& entry) {
    // Only the entry's own state: a same-named file in the other place stays.
    const bool deleted =
        Files::RemoveFile(entry.path) &&
        (!entry.parked || RegistryParking::DeleteIfPresent(HKEY_LOCAL_MACHINE, StartupsSubKey(), entry.fileName));
    if (!deleted) {
        Refuse(owner, kStartupStart + entry.name + kDeleteFailedEnd);
        return false;
    }
    StartupNames::ForgetDateIfGone(entry.name);
    return true;
}

} // namespace FolderParking

namespace {

using namespace FolderParking;

// Parks a live row's file: copied into "Startups" and checked, its record written and read back,
// then the file deleted from its Startup folder. A failure undoes the steps before it.
void DisableItem(HWND owner, const Form1& form, int row) {
    const HWND lv3 = form.lv3;
    const auto item = form.FolderItemOf(lv3, row);
    if (!item || item->parked) return;  // a Disable entry left over from another row
    const std::wstring name = ListView::Text(lv3, row);
    const std::wstring livePath = ListView::Text(lv3, row, kUserFolder) + L"\\" + item->fileName;
    const std::wstring parkedPath = ParkedPath(item->fileName);
    const std::wstring storePath = App::SubKeyPath(App::SubKey::kStartups);

    // Both Startup folders may hold a file of this name: the one parked first keeps its record
    // and its file, and this one stays where it is.
    const bool copyThere = IsFile(parkedPath);
    if (Registry::ReadValue(HKEY_LOCAL_MACHINE, StartupsSubKey(), item->fileName) ||
        (copyThere && !SameBytes(livePath, parkedPath))) {
        Refuse(owner, kAlreadyParkedStart + name + kAlreadyParkedEnd);
        return;
    }
    (void)CreateDirectoryW(App::ParkedFolder().c_str(), nullptr);
    (void)General::CreateKey(storePath);
    // A copy already there is the same file, left by an earlier run: it is used, never removed.
    const bool copied = copyThere || CopyChecked(livePath, parkedPath);
    const bool recorded = copied && General::SetStringValue(storePath, item->fileName, livePath) &&
                          General::GetStringValue(storePath, item->fileName) == livePath;
    if (!recorded || !Files::RemoveFile(livePath)) {
        if (copied) (void)General::DeleteValue(HKEY_LOCAL_MACHINE, StartupsSubKey(), item->fileName);
        if (copied && !copyThere) (void)Files::RemoveFile(parkedPath);
        Refuse(owner, kStartupStart + name + kDisableFailedEnd);
        return;
    }
}

// Puts a parked row's file back at the path its record names: copied and checked, then the record
// and the parked file deleted. A different file at that path is never replaced.
void EnableItem(HWND owner, const Form1& form, int row) {
    const HWND lv3 = form.lv3;
    const auto item = form.FolderItemOf(lv3, row);
    if (!item || !item->parked) return;  // an Enable entry left over from another row
    const std::wstring name = ListView::Text(lv3, row);
    const std::wstring parkedPath = ParkedPath(item->fileName);

    // The record names the full path the file came from; anything else could put it anywhere.
    const auto record = Registry::ReadValue(HKEY_LOCAL_MACHINE, StartupsSubKey(), item->fileName);
    if (!record || !Registry::IsText(record->type) || record->text.empty() ||
        PathIsRelativeW(record->text.c_str())) {
        Refuse(owner, kStartupStart + name + kNoRecordEnd);
        return;
    }
    const std::wstring target = record->text;
    if (!IsFile(parkedPath)) {
        Refuse(owner, kNoCopyStart + name + kNoCopyEnd);
        return;
    }
    const bool alreadyThere = IsFile(target);
    if (alreadyThere && !SameBytes(parkedPath, target)) {
        Refuse(owner, kTakenStart + target + kTakenEnd);
        return;
    }
    if (!alreadyThere && !CopyChecked(parkedPath, target)) {
        Refuse(owner, kStartupStart + name + kEnableFailedEnd);
        return;
    }
    const bool unrecorded = General::DeleteValue(HKEY_LOCAL_MACHINE, StartupsSubKey(), item->fileName);
    if (!unrecorded || !Files::RemoveFile(parkedPath)) {
        // Back as it was: the record and the parked file, and no second copy.
        if (unrecorded)
            (void)Registry::WriteText(HKEY_LOCAL_MACHINE, StartupsSubKey(), item->fileName, record->type, record->text);
        if (!alreadyThere) (void)Files::RemoveFile(target);
        Refuse(owner, kStartupStart + name + kEnableFailedEnd);
        return;
    }
}

} // namespace

using namespace FolderParking;

// Each handler reloads the view in the end, also after a refusal, so the menu fits the row again.
// None changes anything while other work holds the window (a load, or a delete confirmation
// that waits): the row it would act on may be on its way out.
void Form1::mnuDisable2_Click() {
    if (IsBusy()) return;
    const int row = CheckListSelection(lv3);
    if (row < 0) return;
    Busy busy(*this);  // a node click while a message waits runs after the reload
    DisableItem(hwnd_, *this, row);
    tvwDemo_NodeClick(SelectedNodeKey());
}

void Form1::mnuEnable2_Click() {
    if (IsBusy()) return;
    const int row = CheckListSelection(lv3);
    if (row < 0) return;
    Busy busy(*this);
    EnableItem(hwnd_, *this, row);
    tvwDemo_NodeClick(SelectedNodeKey());
}

void Form1::mnuDelete2_Click() {
    if (IsBusy()) return;
    const int row = CheckListSelection(lv3);
    if (row < 0) return;
    // The list stays as it is while frmDelete2 waits; a node click meanwhile runs after the reload.
    Busy busy(*this);
    // One deleted or renamed from outside since the list was read is named; the reload shows what is there.
    const auto entry = EntryOf(*this, lv3, row);
    if (entry && !ReportIfGone(hwnd_, *entry)) {
        if (General::GetStringValue(App::AppKey(), App::Value::kConfirmed) != L"1")
            frmDelete2::ShowModal(hwnd_, *entry);  // its Yes deletes
        else
            DeleteItem(hwnd_, *entry);
    }
    DoEvents();
    tvwDemo_NodeClick(SelectedNodeKey());
}

void Form1::lv3_KeyDown(WORD keyCode) {
    if (keyCode == VK_DELETE) mnuDelete2_Click();
}
