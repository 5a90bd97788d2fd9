// Reading shell shortcuts through IShellLinkW and IPersistFile.
#include "system/ShellLink.h"

#include <shlguid.h>
#include <vector>

namespace ShellShortcut {
namespace {

// Room for the longest path the system can name: a shortcut's fields are never cut short.
constexpr int kFieldChars = 32768;

template <typename Get>
std::wstring Field(Get get) {
    std::vector<wchar_t> buf(kFieldChars, L'\0');
    if (FAILED(get(buf.data(), kFieldChars))) return {};
    buf.back() = L'\0';
    return buf.data();
}

// The hot key's name as the shortcut's own dialog writes it: letters and digits as they are,
// F1 to F24 by number, other keys by the keyboard's name for them.
std::wstring KeyName(BYTE vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::wstring(1, static_cast<wchar_t>(vk));
    if (vk >= VK_F1 && vk <= VK_F24) return L"F" + std::to_wstring(vk - VK_F1 + 1);
    wchar_t name[64] = {};
    const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    if (scan != 0 && GetKeyNameTextW(static_cast<LONG>(scan << 16), name, 64) > 0) return name;
    return std::to_wstring(vk);
}

} // namespace

bool Reader::Load(const std::wstring& path) {
    loaded_ = false;
    fullName_.clear();
    if (!link_) {
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    link_.put_void())))
            return false;
        file_ = link_.query<IPersistFile>();
    }
    if (!file_ || FAILED(file_->Load(path.c_str(), STGM_READ))) return false;
    std::vector<wchar_t> full(kFieldChars, L'\0');
    const DWORD n = GetFullPathNameW(path.c_str(), kFieldChars, full.data(), nullptr);
    fullName_ = n > 0 && n < static_cast<DWORD>(kFieldChars) ? std::wstring(full.data(), n) : path;
    loaded_ = true;
    return true;
}

std::wstring Reader::Target() const {
    if (!loaded_) return {};
    return Field([this](wchar_t* buf, int size) { return link_->GetPath(buf, size, nullptr, 0); });
}

std::wstring Reader::FullName() const { return loaded_ ? fullName_ : std::wstring(); }

std::wstring Reader::IconLocation() const {
    if (!loaded_) return {};
    int index = 0;
    const std::wstring path =
        Field([this, &index](wchar_t* buf, int size) { return link_->GetIconLocation(buf, size, &index); });
    return path + L"," + std::to_wstring(index);
}

std::wstring Reader::WorkingDirectory() const {
    if (!loaded_) return {};
    return Field([this](wchar_t* buf, int size) { return link_->GetWorkingDirectory(buf, size); });
}

std::wstring Reader::Hotkey() const {
    WORD hotkey = 0;
    if (!loaded_ || FAILED(link_->GetHotkey(&hotkey)) || LOBYTE(hotkey) == 0) return {};
    const BYTE modifiers = HIBYTE(hotkey);
    std::wstring text;
    if (modifiers & HOTKEYF_ALT) text += L"Alt+";
    if (modifiers & HOTKEYF_CONTROL) text += L"Ctrl+";
    if (modifiers & HOTKEYF_SHIFT) text += L"Shift+";
    if (modifiers & HOTKEYF_EXT) text += L"Ext+";
    return text + KeyName(LOBYTE(hotkey));
}

} // namespace ShellShortcut
