// Helpers shared by the tests: registry fixtures, helper programs and a live main window.
#include "TestUtil.h"

#include "system/App.h"
#include "system/Handles.h"
#include "system/Process.h"
#include "system/Registry.h"

#include <psapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <cwchar>
#include <utility>
#include <vector>

namespace TestUtil {

bool DeleteTree(HKEY root, const std::wstring& subKey) {
    const LONG rc = SHDeleteKeyW(root, subKey.c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

void PutString(HKEY root, const std::wstring& subKey, const std::wstring& name, const std::wstring& data, DWORD type) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

bool ReadString(HKEY root, const std::wstring& subKey, const std::wstring& name, std::wstring& data, DWORD* type) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD t = 0, size = 0;
    LONG rc = RegQueryValueExW(key, name.c_str(), nullptr, &t, nullptr, &size);
    if (rc == ERROR_SUCCESS) {
        std::vector<wchar_t> buf(size / sizeof(wchar_t) + 1, L'\0');
        rc = RegQueryValueExW(key, name.c_str(), nullptr, &t, reinterpret_cast<BYTE*>(buf.data()), &size);
        data.assign(buf.data(), size / sizeof(wchar_t));
        if (!data.empty() && data.back() == L'\0') data.pop_back();
    }
    RegCloseKey(key);
    if (type) *type = t;
    return rc == ERROR_SUCCESS;
}

std::wstring ValueOrMissing(HKEY root, const std::wstring& subKey, const std::wstring& name, DWORD* type) {
    std::wstring data;
    return ReadString(root, subKey, name, data, type) ? data : L"<missing>";
}

bool ValueExists(HKEY root, const std::wstring& subKey, const std::wstring& name) {
    std::wstring ignored;
    return ReadString(root, subKey, name, ignored);
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p = path;
    return p.substr(0, p.find_last_of(L'\\'));
}

namespace {
std::string FileBytes(const std::wstring& path) {
    std::string bytes;
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}
} // namespace

std::wstring CopyHelper(const std::wstring& helper, const std::wstring& asName) {
    const std::wstring folder = ProgramFolder();
    const size_t slash = asName.rfind(L'\\');
    const std::wstring target = slash == std::wstring::npos ? folder + L"\\" + asName : asName;
    if (slash != std::wstring::npos) SHCreateDirectoryExW(nullptr, asName.substr(0, slash).c_str(), nullptr);
    // A copy that is already the helper is left alone: a copy that has just been ended may still
    // be held by the system for a moment, and rewriting it then would fail or leave it half written.
    const std::wstring source = folder + L"\\" + helper;
    if (GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES || FileBytes(source) != FileBytes(target))
        CopyFileW(source.c_str(), target.c_str(), FALSE);
    return target;
}

namespace {
// Waits until the process names its executable as a process listing reads it (its first
// module), so a check right after the start sees it; a copy of the same name already running
// says nothing about this one.
void WaitUntilListed(HANDLE process, const std::wstring& name, DWORD timeoutMs = 30000) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        HMODULE first = nullptr;
        DWORD needed = 0;
        wchar_t base[MAX_PATH] = {};
        if (EnumProcessModules(process, &first, sizeof(first), &needed) &&
            GetModuleBaseNameW(process, first, base, MAX_PATH) > 0 && _wcsicmp(base, name.c_str()) == 0)
            return;
        Sleep(20);
    }
}
} // namespace

UniqueHandle StartCopy(const std::wstring& helper, const std::wstring& asName, const std::wstring& args) {
    const std::wstring folder = ProgramFolder();
    // Under a loaded machine a start can fail while an earlier copy of the same file is still
    // being torn down; it is tried again for a few seconds before the test is told.
    const DWORD start = GetTickCount();
    for (;;) {
        const std::wstring target = CopyHelper(helper, asName);
        std::wstring cmd = L"\"" + target + L"\" " + args;
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        if (CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
            CloseHandle(pi.hThread);
            UniqueHandle process(pi.hProcess);
            WaitUntilListed(process.get(), target.substr(target.rfind(L'\\') + 1));
            return process;
        }
        if (GetTickCount() - start > 5000) return UniqueHandle();
        Sleep(200);
    }
}

bool WaitForProcess(const std::wstring& name, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (modProcess::IsProcessRunning(name)) return true;
        Sleep(50);
    }
    return false;
}

void FreshSettings() {
    DeleteTree(HKEY_LOCAL_MACHINE, L"Software\\Ferrowyn\\Corvell");
    PutString(HKEY_LOCAL_MACHINE, L"Software\\Ferrowyn\\Corvell", L"Backup", L"1");
}

void ForgetStartupDates() {
    const std::wstring key = App::SubKeyPath(App::SubKey::kStartupDates);
    DeleteTree(HKEY_LOCAL_MACHINE, General::ParseKeyPath(key)->subKey);
    General::CreateKey(key);
}

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        Form1::DoEvents();
        Sleep(5);
    } while (GetTickCount() - start < ms);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        Form1::DoEvents();
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(10);
    }
}

namespace {
std::vector<std::pair<UINT_PTR, std::function<void()>>>& DelayedActions() {
    static std::vector<std::pair<UINT_PTR, std::function<void()>>> actions;
    return actions;
}
void CALLBACK RunDelayed(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto& actions = DelayedActions();
    for (auto it = actions.begin(); it != actions.end(); ++it) {
        if (it->first != id) continue;
        auto action = std::move(it->second);
        actions.erase(it);
        action();
        return;
    }
}
} // namespace

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find) return files;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.emplace_back(data.cFileName);
    } while (FindNextFileW(find.get(), &data));
    return files;
}

void AfterDelay(DWORD ms, std::function<void()> action) {
    const UINT_PTR id = SetTimer(nullptr, 0, ms, &RunDelayed);
    if (id) DelayedActions().emplace_back(id, std::move(action));
}

RECT ShownBoxPlace(const std::wstring& text, const std::wstring& caption, UINT flags) {
    struct Look {
        RECT place{};
        int triesLeft = 200;
    } look;
    std::function<void()> find;
    find = [&look, &find] {
        HWND box = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM found) -> BOOL {
                wchar_t name[16] = {};
                GetClassNameW(window, name, 16);
                if (wcscmp(name, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
                *reinterpret_cast<HWND*>(found) = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&box));
        if (box) {
            GetWindowRect(box, &look.place);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        } else if (--look.triesLeft > 0) {
            AfterDelay(50, find);
        }
    };
    AfterDelay(50, find);
    MessageBoxW(nullptr, text.c_str(), caption.c_str(), flags);
    return look.place;
}

LiveForm::LiveForm() {
    form.quitOnDestroy = false;
    if (form.Create()) form.Form_Load();
}

LiveForm::~LiveForm() {
    if (form.hwnd()) SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
    Pump(10);
}

namespace {
constexpr wchar_t kVersionSub[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr wchar_t kProductName[] = L"ProductName";
} // namespace

WindowsProduct::WindowsProduct() { had_ = ReadString(HKEY_LOCAL_MACHINE, kVersionSub, kProductName, original_); }

WindowsProduct::~WindowsProduct() {
    if (had_) Set(original_);
    else (void)Remove();
}

void WindowsProduct::Set(const std::wstring& product) const {
    PutString(HKEY_LOCAL_MACHINE, kVersionSub, kProductName, product);
}

bool WindowsProduct::Remove() const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kVersionSub, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
    RegDeleteValueW(key, kProductName);
    RegCloseKey(key);
    return true;
}

} // namespace TestUtil
