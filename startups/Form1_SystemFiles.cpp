// Form1's Winlogon entry and the legacy start-up files (win.ini, system.ini, AutoExec.bat, ...):
// their rows in lv2, the once-only warning, and the save of the file in the editor.
#include "mainwindow/Form1.h"

#include "mainwindow/ListView.h"
#include "resources/Images.h"
#include "startups/RunKeys.h"
#include "startups/SystemFiles.h"
#include "system/App.h"
#include "system/Paths.h"
#include "system/Registry.h"
#include "system/SafeFile.h"
#include "system/Seam.h"
#include "system/Text.h"

#include <optional>
#include <string>

namespace {

using RunKeys::kUserinitValue;
using RunKeys::kWinlogonKey;
constexpr wchar_t kUserinitRow[] = L"Userinit.exe";

constexpr wchar_t kSystemFileWarning[] =
    L"These System files are extremely critical to Windows Startup and if changed incorrectly can prevent Windows "
    L"from starting up at all.  Please use caution when editing.\r\n\r\nThis warning will not show again.";

constexpr wchar_t kFileNotFound[] = L"File Not Found";
constexpr wchar_t kBootNotUsed[] = L"Not used with this Operating System";

// Save refusals and failures; the file is left as it was in each.
constexpr wchar_t kSaveGoneEnd[] = L" is no longer there.  Nothing was saved and the file was not created again.     ";
constexpr wchar_t kSaveUnmappableEnd[] =
    L" was not saved: the text holds characters that this system's code page cannot hold in the file.  "
    L"Nothing was written.     ";
constexpr wchar_t kSaveFailed[] = L" could not be saved: ";
constexpr wchar_t kSaveFailedEnd[] = L"  The file was left as it was.     ";
constexpr wchar_t kSaveUnhiddenEnd[] = L" was saved, but it could not be made hidden again.     ";
// Asked when another program has written the file since the editor loaded it.
constexpr wchar_t kSaveChangedEnd[] =
    L" has changed since it was opened in the editor.  Saving replaces those changes with the editor's text."
    L"\r\n\r\nSave it anyway?     ";

enum class Folder { DriveRoot, Windows };

struct SystemFile {
    const wchar_t* name;     // the row's text and the file's name
    Folder folder;
    int icon;                // when present; missing files show kIconDisabled
    const wchar_t* missing;  // columns 2 and 3 when missing
    const wchar_t* tag;      // SystemFileTag of the editor
    bool hiddenAfterSave;
};

// In the order of their rows.
constexpr SystemFile kSystemFiles[] = {
    {L"AutoExec.bat", Folder::DriveRoot, Images::kIconAutoExecBat, kFileNotFound, L"bat", true},
    {L"Boot.ini", Folder::DriveRoot, Images::kIconIniFile, kBootNotUsed, L"boot", true},
    {L"Config.sys", Folder::DriveRoot, Images::kIconConfigSys, kFileNotFound, L"sys", true},
    {L"System.ini", Folder::Windows, Images::kIconIniFile, kFileNotFound, L"ini2", false},
    {L"Win.ini", Folder::Windows, Images::kIconIniFile, kFileNotFound, L"ini", false},
};

// The root of the Windows drive ("C:\") or the Windows folder, then the file's name; "" when
// the Windows folder is unknown.
std::wstring PathOf(const SystemFile& file) {
    const std::wstring windows = MyMod::GetWindowsDir();
    if (windows.empty()) return {};
    if (file.folder == Folder::DriveRoot) return windows.substr(0, 3) + file.name;
    return windows + L"\\" + file.name;
}

const SystemFile* FileOfTag(const std::wstring& tag) {
    for (const SystemFile& file : kSystemFiles)
        if (Text::EqualsNoCase(tag, file.tag)) return &file;
    return nullptr;
}

void Tell(HWND owner, const std::wstring& text) {
    Seam::ShowMessage(owner, text, App::Title(), MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

std::wstring SystemFiles::LivePath(std::wstring_view name) {
    for (const SystemFile& file : kSystemFiles)
        if (Text::EqualsNoCase(name, file.name)) return PathOf(file);
    return {};
}

std::wstring SystemFiles::Tag(std::wstring_view name) {
    for (const SystemFile& file : kSystemFiles)
        if (Text::EqualsNoCase(name, file.name)) return file.tag;
    return {};
}

void Form1::LoadUserinitEntry() {
    const int row = ListView::AddRow(lv2, kUserinitRow, Images::kIconEnabledRunning, {}, ListView::EnabledForeColor);
    if (row < 0) return;
    // Only the extra programs show: every occurrence of the system's own part is left out.
    // An unreadable value shows the read's "Error".
    const std::wstring userinit = General::GetStringValue(kWinlogonKey, kUserinitValue);
    ListView::SetText(lv2, row, 1, Text::ReplaceNoCase(userinit, MyMod::StandardUserinit(), L""));
    ListView::SetText(lv2, row, 2, kWinlogonKey);
}

void Form1::LoadSystemFiles() {
    for (const SystemFile& file : kSystemFiles) {
        const std::wstring path = PathOf(file);
        // Hidden and system files count as present.
        if (MyMod::FileExists(path))
            ListView::AddRow(lv2, file.name, file.icon, {path, path});
        else
            ListView::AddRow(lv2, file.name, Images::kIconDisabled, {file.missing, file.missing});
    }
}

void Form1::ShowSystemFileWarning() {
    // An unreadable value counts as not yet warned.
    if (General::GetStringValue(App::AppKey(), App::Value::kSysWarn) == L"1") return;
    Seam::ShowMessage(hwnd_, kSystemFileWarning, App::Title(), MB_OK | MB_ICONEXCLAMATION);
    General::SetStringValue(App::AppKey(), App::Value::kSysWarn, L"1");
}

// The editor's text and one line end go to the file in the ANSI code page. The file is replaced
// only by a complete copy written beside it, so a failure leaves its bytes whole; its attributes
// are cleared for the write, and put back as they were when anything failed. A file removed since
// it was loaded is not created again; one changed meanwhile is replaced only when the user agrees.
// The view is not reloaded.
void Form1::cmdSave_Click() {
    // Save is offered only while the editor holds the whole of a file; otherwise its text would
    // replace a file it does not hold.
    if (!IsWindowEnabled(cmdSave)) return;
    const SystemFile* file = FileOfTag(SystemFileTag);
    if (!file) return;
    const std::wstring path = PathOf(*file);
    const std::wstring shownName = file->name;
    if (!MyMod::FileExists(path)) {
        Tell(hwnd_, shownName + kSaveGoneEnd);
        return;
    }
    const auto bytes = Text::ToAnsi(ControlText(txtFiles) + L"\r\n");
    if (!bytes) {
        Tell(hwnd_, shownName + kSaveUnmappableEnd);
        return;
    }
    // Changes another program made since the file was loaded are replaced only when the user says so.
    const auto onDisk = MyMod::ReadWholeFile(path);
    if (onDisk && *onDisk != SystemFileBytes &&
        Seam::ShowMessage(hwnd_, shownName + kSaveChangedEnd, App::Title(),
                          MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    const DWORD oldAttributes = GetFileAttributesW(path.c_str());
    DWORD error = oldAttributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_SUCCESS;
    if (error == ERROR_SUCCESS && !SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL)) error = GetLastError();
    if (error == ERROR_SUCCESS) error = SafeFile::Write(path, *bytes);
    if (error != ERROR_SUCCESS) {
        if (oldAttributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(path.c_str(), oldAttributes);
        // That error alone means the old file no longer has its name; its text says where it went.
        const bool keptAsWas = error != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
        Tell(hwnd_, shownName + kSaveFailed + Text::SystemMessage(error) + (keptAsWas ? kSaveFailedEnd : L"     "));
        return;
    }
    SystemFileBytes = *bytes;
    // Hidden alone: a read-only or system attribute the file had is not given back.
    const DWORD attributes = file->hiddenAfterSave ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL;
    if (!SetFileAttributesW(path.c_str(), attributes) && file->hiddenAfterSave) Tell(hwnd_, shownName + kSaveUnhiddenEnd);
}

void Form1::mnuSave_Click() { cmdSave_Click(); }
