// Reading shell shortcuts (.lnk files) through IShellLinkW; a shortcut is only read, never saved.
#pragma once

#include "system/Handles.h"

#include <windows.h>
#include <shobjidl.h>
#include <string>

namespace ShellShortcut {

// One shortcut file loaded into a fresh IShellLinkW. Every reader is independent, so no field of
// a file read earlier can show through a later one that lacks it.
class Reader {
public:
    // False for a missing file, a file that is no shell link (desktop.ini, an Internet shortcut)
    // or when the shell's link object cannot be made (COM not initialised on this thread).
    [[nodiscard]] bool Load(const std::wstring& path);
    [[nodiscard]] bool Loaded() const noexcept { return static_cast<bool>(link_); }

    // Each is "" when nothing is loaded or the shortcut holds no such field.
    [[nodiscard]] std::wstring Target() const;            // the target path
    [[nodiscard]] std::wstring FullName() const;          // the full path of the .lnk file itself
    [[nodiscard]] std::wstring IconLocation() const;      // "path,index" (",0" without an icon)
    [[nodiscard]] std::wstring WorkingDirectory() const;
    [[nodiscard]] std::wstring Hotkey() const;            // "Alt+Ctrl+Shift+F5"; "" without one

private:
    ComPtr<IShellLinkW> link_;
    std::wstring fullName_;
};

} // namespace ShellShortcut
