// VersionInfo: reads a version resource and names its fixed fields.
#include "system/VersionInfo.h"

#include <cstring>
#include <cwchar>
#include <iterator>

namespace {

constexpr wchar_t kDefaultKey[] = L"040904E4";  // US English, Western European code page
constexpr wchar_t kZeroKey[] = L"00000000";
constexpr DWORD kFixedSignature = 0xFEEF04BD;

// value in upper-case hex, padded with leading zeros to width digits.
std::wstring PadHex(unsigned value, int width) {
    wchar_t text[16] = {};
    std::swprintf(text, 16, L"%0*X", width, value);
    return text;
}

// The text before the first NUL; the whole text when there is none.
std::wstring TrimAtNull(const wchar_t* text, size_t length) {
    size_t n = 0;
    while (n < length && text[n] != L'\0') ++n;
    return std::wstring(text, n);
}

// The value at subBlock, present and lying wholly inside the block with at least minBytes;
// nullptr otherwise. bytes receives its size in bytes.
const BYTE* QueryValue(const std::vector<BYTE>& block, const wchar_t* subBlock, size_t unitBytes, size_t minBytes,
                       size_t& bytes) {
    bytes = 0;
    if (block.empty()) return nullptr;
    void* found = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), subBlock, &found, &length) || !found) return nullptr;
    const auto* at = static_cast<const BYTE*>(found);
    const BYTE* begin = block.data();
    const BYTE* end = begin + block.size();
    if (at < begin || at >= end) return nullptr;
    const size_t available = static_cast<size_t>(end - at);
    const size_t wanted = static_cast<size_t>(length) * unitBytes;
    bytes = wanted < available ? wanted : available - available % unitBytes;
    return bytes >= minBytes ? at : nullptr;
}

} // namespace

void VersionInfo::Filename(const std::wstring& path) {
    filename_ = path;
    LoadVersionInfo();
}

void VersionInfo::ModuleName(const std::wstring& name) {
    moduleName_ = name;
    LoadVersionInfo();
}

void VersionInfo::Clear() {
    block_.clear();
    key_.clear();
    fixed_ = VS_FIXEDFILEINFO{};
}

void VersionInfo::LoadVersionInfo() {
    Clear();
    if (!moduleName_.empty()) {
        // Only a module that is loaded: a null handle would name the program's own file.
        const HMODULE module = GetModuleHandleW(moduleName_.c_str());
        filename_.clear();
        if (!module) return;
        std::wstring path(MAX_PATH, L'\0');
        for (;;) {
            const DWORD n = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
            if (n == 0) return;
            if (n < path.size()) {
                path.resize(n);
                break;
            }
            path.resize(path.size() * 2);
        }
        filename_ = path;
    }
    if (filename_.empty()) return;

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(filename_.c_str(), &ignored);
    if (size == 0) return;
    block_.assign(size, 0);
    if (!GetFileVersionInfoW(filename_.c_str(), 0, size, block_.data())) {
        block_.clear();
        return;
    }

    size_t bytes = 0;
    if (const BYTE* translation = QueryValue(block_, L"\\VarFileInfo\\Translation", 1, 2 * sizeof(WORD), bytes)) {
        WORD pair[2] = {};
        std::memcpy(pair, translation, sizeof(pair));
        key_ = PadHex(pair[0], 4) + PadHex(pair[1], 4);
        if (key_ == kZeroKey) key_ = kDefaultKey;
    }
    if (const BYTE* fixed = QueryValue(block_, L"\\", 1, sizeof(VS_FIXEDFILEINFO), bytes)) {
        VS_FIXEDFILEINFO read{};
        std::memcpy(&read, fixed, sizeof(read));
        if (read.dwSignature == kFixedSignature) fixed_ = read;
    }
}

long VersionInfo::Language() const {
    return key_.size() == 8 ? std::wcstol(key_.substr(0, 4).c_str(), nullptr, 16) : 0;
}

long VersionInfo::CodePage() const {
    return key_.size() == 8 ? std::wcstol(key_.substr(4, 4).c_str(), nullptr, 16) : 0;
}

std::wstring VersionInfo::GetStringInfo(const wchar_t* name) const {
    if (key_.empty()) return {};
    const std::wstring path = L"\\StringFileInfo\\" + key_ + L"\\" + name;
    size_t bytes = 0;
    const BYTE* text = QueryValue(block_, path.c_str(), sizeof(wchar_t), sizeof(wchar_t), bytes);
    if (!text) return {};
    std::wstring copy(bytes / sizeof(wchar_t), L'\0');
    std::memcpy(copy.data(), text, copy.size() * sizeof(wchar_t));
    return TrimAtNull(copy.data(), copy.size());
}

std::wstring VersionInfo::FileFlags() const {
    struct Flag {
        DWORD bit;
        const wchar_t* text;
    };
    static constexpr Flag kFlags[] = {
        {VS_FF_DEBUG, L"Debug "},       {VS_FF_PATCHED, L"Patched "}, {VS_FF_PRERELEASE, L"Pre-release "},
        {VS_FF_PRIVATEBUILD, L"Private "}, {VS_FF_SPECIALBUILD, L"Special "},
    };
    const DWORD flags = FileFlagsRaw();
    std::wstring text;
    for (const auto& f : kFlags)
        if (flags & f.bit) text += f.text;
    return text;
}

std::wstring VersionInfo::FileOS() const {
    std::wstring text;
    switch (fixed_.dwFileOS & 0xFFFFu) {
    case VOS__WINDOWS16: text = L"Win16 API"; break;
    case VOS__PM16: text = L"PM16 API"; break;
    case VOS__PM32: text = L"PM32 API"; break;
    case VOS__WINDOWS32: text = L"Win32 API"; break;
    default: text = L"Unknown API"; break;
    }
    switch (fixed_.dwFileOS & 0xFFFF0000u) {
    case VOS_DOS: text += L" on DOS"; break;
    case VOS_OS216: text += L" on OS2/16"; break;
    case VOS_OS232: text += L" on OS2/32"; break;
    case VOS_NT: text += L" on Windows NT"; break;
    default: break;
    }
    return text;
}

std::wstring VersionInfo::FileType() const {
    switch (fixed_.dwFileType) {
    case VFT_UNKNOWN: return L"Unknown";
    case VFT_APP: return L"Application";
    case VFT_DLL: return L"DLL";
    case VFT_DRV: return L"Driver";
    case VFT_FONT: return L"Font";
    case VFT_VXD: return L"VXD";
    case VFT_STATIC_LIB: return L"Static-link library";
    default: return L"";
    }
}

std::wstring VersionInfo::FileSubType() const {
    const DWORD sub = fixed_.dwFileSubtype;
    switch (fixed_.dwFileType) {
    case VFT_DRV: {
        static constexpr const wchar_t* kDrivers[] = {
            L"Unknown", L"Printer", L"Keyboard", L"Language", L"Display",        L"Mouse",
            L"Network", L"System",  L"Installable", L"Sound", L"Communications", L"Input Method",
        };
        return sub < std::size(kDrivers) ? kDrivers[sub] : L"Unknown";
    }
    case VFT_FONT:
        switch (sub) {
        case VFT2_FONT_RASTER: return L"Raster";
        case VFT2_FONT_VECTOR: return L"Vector";
        case VFT2_FONT_TRUETYPE: return L"TrueType";
        default: return L"Unknown";
        }
    case VFT_VXD: return std::to_wstring(sub);
    default: return L"Unknown";
    }
}
