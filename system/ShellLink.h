// Reading shell shortcuts (.lnk files) through IShellLinkW; a shortcut is only read, never saved.
#pragma once

#include "system/Handles.h"

#include <windows.h>
#include <shobjidl.h>
#include <string>

namespace ShellShortcut {

// Reads shortcut files one after the other through one IShellLinkW, made at the first Load: a
// load replaces every field, so nothing of a file read earlier shows through a later one.
class Reader {
public:
    // False for a missing file, a file that is no shell link (desktop.ini, an Internet shortcut)
    // or when the shell's link object cannot be made (COM not initialised on this thread); the
    // fields then read "" until a later Load succeeds.
    [[nodiscard]] bool Load(const std::wstring& path);
    [[nodiscard]] bool Loaded() const noexcept { return loaded_; }

    // Each is "" when nothing is loaded or the shortcut holds no such field.
    [[nodiscard]] std::wstring Target() const;            // the target path
    [[nodiscard]] std::wstring FullName() const;          // the full path of the .lnk file itself
    [[nodiscard]] std::wstring IconLocation() const;      // "path,index" (",0" without an icon)
    [[nodiscard]] std::wstring WorkingDirectory() const;
    [[nodiscard]] std::wstring Hotkey() const;            // "Alt+Ctrl+Shift+F5"; "" without one

private:
    ComPtr<IShellLinkW> link_;
    ComPtr<IPersistFile> file_;
    bool loaded_ = false;
    std::wstring fullName_;
};

} // namespace ShellShortcut
