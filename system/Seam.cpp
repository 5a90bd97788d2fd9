// The real backend of the seam: MessageBoxW, ShellExecuteW, CreateProcessW and the common dialogs.
#include "system/Seam.h"

#include "system/App.h"
#include "system/Handles.h"

#include <commdlg.h>
#include <shellapi.h>
#include <vector>

namespace Seam {
namespace {

class RealBackend final : public Backend {
public:
    int ShowMessage(const MessageRequest& r) override {
        return MessageBoxW(r.owner, r.text.c_str(), r.caption.c_str(), r.flags);
    }

    INT_PTR Launch(const ShellRequest& r) override {
        return reinterpret_cast<INT_PTR>(ShellExecuteW(
            r.owner, r.verb.empty() ? nullptr : r.verb.c_str(), r.file.c_str(),
            r.parameters.empty() ? nullptr : r.parameters.c_str(),
            r.directory.empty() ? nullptr : r.directory.c_str(), r.show));
    }

    long RunProcess(const ProcessRequest& r) override {
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        if (r.hidden) {
            si.dwFlags = STARTF_USESHOWWINDOW;
            si.wShowWindow = SW_HIDE;
        }
        PROCESS_INFORMATION pi{};
        std::wstring cmd = r.commandLine;  // CreateProcessW may write into it
        if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, r.hidden ? CREATE_NO_WINDOW : 0, nullptr,
                            r.directory.empty() ? nullptr : r.directory.c_str(), &si, &pi)) {
            return kProcessNotStarted;
        }
        UniqueHandle process(pi.hProcess);
        UniqueHandle thread(pi.hThread);
        if (!r.wait) return 0;
        if (WaitForSingleObject(process.get(), r.timeLimitMs) != WAIT_OBJECT_0) {
            // One that waits for an answer nobody can give would hold its files and the caller forever.
            TerminateProcess(process.get(), ERROR_TIMEOUT);
            WaitForSingleObject(process.get(), 5000);
            return kProcessTimedOut;
        }
        DWORD code = 0;
        if (!GetExitCodeProcess(process.get(), &code)) return kProcessNotStarted;
        return static_cast<long>(code);
    }

    FileDialogResult ShowFileDialog(const FileDialogRequest& r) override {
        const bool several = (r.flags & OFN_ALLOWMULTISELECT) != 0;
        std::vector<wchar_t> name(32768, L'\0');
        r.fileName.copy(name.data(), name.size() - 2);
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof(ofn);
        ofn.hwndOwner = r.owner;
        ofn.lpstrFilter = r.filter.empty() || r.filter[0] == L'\0' ? nullptr : r.filter.c_str();
        ofn.nFilterIndex = static_cast<DWORD>(r.filterIndex);
        ofn.lpstrFile = name.data();
        ofn.nMaxFile = static_cast<DWORD>(name.size());
        ofn.lpstrInitialDir = r.initialDir.empty() ? nullptr : r.initialDir.c_str();
        ofn.lpstrTitle = r.title.empty() ? nullptr : r.title.c_str();
        ofn.lpstrDefExt = r.defaultExt.empty() ? nullptr : r.defaultExt.c_str();
        // Without the explorer style several names come back separated by blanks.
        ofn.Flags = several ? r.flags | OFN_EXPLORER : r.flags;
        const BOOL ok = r.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
        FileDialogResult result;
        result.ok = ok != FALSE;
        if (!result.ok) return result;
        result.fileName = name.data();
        result.filterIndex = static_cast<int>(ofn.nFilterIndex);
        if (several) {
            // Several files: a NUL stands before the first name, and the list ends with two NULs.
            if (ofn.nFileOffset > 0 && name[ofn.nFileOffset - 1] == L'\0') {
                size_t end = ofn.nFileOffset;
                while (end + 1 < name.size() && !(name[end] == L'\0' && name[end + 1] == L'\0')) ++end;
                result.fileName.assign(name.data(), end + 1);
                result.fileName.push_back(L'\0');
            } else {
                result.fileName.append(2, L'\0');
            }
        }
        return result;
    }
};

RealBackend g_real;
Backend* g_backend = &g_real;

} // namespace

void SetBackend(Backend* backend) noexcept { g_backend = backend ? backend : &g_real; }
Backend& Current() noexcept { return *g_backend; }

int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) {
    MessageRequest r{owner, text, caption.empty() ? App::Title() : caption, flags};
    return g_backend->ShowMessage(r);
}

INT_PTR ShellOpen(HWND owner, const std::wstring& file, const std::wstring& parameters,
                  const std::wstring& directory, int show) {
    return g_backend->Launch(ShellRequest{owner, L"open", file, parameters, directory, show});
}

long RunProcess(const ProcessRequest& request) { return g_backend->RunProcess(request); }

FileDialogResult ShowFileDialog(const FileDialogRequest& request) { return g_backend->ShowFileDialog(request); }

} // namespace Seam
