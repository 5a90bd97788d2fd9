// The one seam for everything that waits for a person or leaves the program:
// message boxes, shell launches and the common file dialogs. The program uses the
// real ones; tests install a backend that scripts answers and records the calls.
#pragma once

#include <windows.h>
#include <string>

namespace Seam {

struct MessageRequest {
    HWND owner = nullptr;
    std::wstring text;
    std::wstring caption;
    UINT flags = 0;
};

struct ShellRequest {
    HWND owner = nullptr;
    std::wstring verb;
    std::wstring file;
    std::wstring parameters;
    std::wstring directory;
    int show = SW_SHOWNORMAL;
};

// A started process (CreateProcess); the program waits for it when wait is set, at most
// timeLimitMs: a process still running then is ended and gives kProcessTimedOut.
struct ProcessRequest {
    std::wstring commandLine;
    std::wstring directory;
    bool hidden = false;
    bool wait = false;
    DWORD timeLimitMs = INFINITE;
};

// RunProcess results that are no exit code of the process.
inline constexpr long kProcessNotStarted = -1;
inline constexpr long kProcessTimedOut = -2;

struct FileDialogRequest {
    HWND owner = nullptr;
    bool save = false;
    std::wstring title;
    // Description and pattern list separated by NULs and ended by two NULs
    // (cFileDialog::FilterText); empty for no filter.
    std::wstring filter;
    int filterIndex = 1;
    std::wstring defaultExt;
    std::wstring initialDir;
    std::wstring fileName;    // proposed name
    // OFN_ flags. With OFN_ALLOWMULTISELECT the explorer style is added and the answer is whole.
    DWORD flags = 0;
};

struct FileDialogResult {
    bool ok = false;          // false: cancelled, failed, or a name too long for the buffer
    // The chosen file's full name; with OFN_ALLOWMULTISELECT the whole answer: the folder,
    // a NUL and each name followed by a NUL, then one more NUL (one file: its full name and
    // two NULs).
    std::wstring fileName;
    int filterIndex = 1;
};

class Backend {
public:
    virtual ~Backend() = default;
    virtual int ShowMessage(const MessageRequest& request) = 0;
    // Returns the ShellExecute result as the API does (> 32 is success).
    virtual INT_PTR Launch(const ShellRequest& request) = 0;
    // Returns the exit code when waited for, 0 when started, kProcessNotStarted or kProcessTimedOut.
    virtual long RunProcess(const ProcessRequest& request) = 0;
    virtual FileDialogResult ShowFileDialog(const FileDialogRequest& request) = 0;
};

// nullptr puts the real backend back.
void SetBackend(Backend* backend) noexcept;
[[nodiscard]] Backend& Current() noexcept;

// A message box; an empty caption gets the program's title.
int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags);
// ShellExecute with the verb "open".
INT_PTR ShellOpen(HWND owner, const std::wstring& file, const std::wstring& parameters = L"",
                  const std::wstring& directory = L"", int show = SW_SHOWNORMAL);
long RunProcess(const ProcessRequest& request);
FileDialogResult ShowFileDialog(const FileDialogRequest& request);

} // namespace Seam
