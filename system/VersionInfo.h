// VersionInfo: the version resource of a file or of a module loaded in the program, read
// into its language key, its string values and the fixed file information.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

class VersionInfo {
public:
    // Setting either one forgets what was read before and loads the new file's data.
    void Filename(const std::wstring& path);
    [[nodiscard]] const std::wstring& Filename() const noexcept { return filename_; }
    // A module loaded in the program; one that is not loaded leaves the object empty, Filename included.
    void ModuleName(const std::wstring& name);
    [[nodiscard]] const std::wstring& ModuleName() const noexcept { return moduleName_; }

    // The string values are read under the key of the resource's first translation: language
    // then code page as 8 upper-case hex digits ("040904E4"); none read without a translation.
    // Language and CodePage: the key's first and last four digits; 0 without a key.
    [[nodiscard]] long Language() const;
    [[nodiscard]] long CodePage() const;

    // String values; "" when missing, empty or unreadable. Each ends at its first NUL.
    [[nodiscard]] std::wstring CompanyName() const { return GetStringInfo(L"CompanyName"); }
    [[nodiscard]] std::wstring FileDescription() const { return GetStringInfo(L"FileDescription"); }
    [[nodiscard]] std::wstring FileVersion() const { return GetStringInfo(L"FileVersion"); }
    [[nodiscard]] std::wstring InternalName() const { return GetStringInfo(L"InternalName"); }
    [[nodiscard]] std::wstring LegalCopyright() const { return GetStringInfo(L"LegalCopyright"); }
    [[nodiscard]] std::wstring OriginalFileName() const { return GetStringInfo(L"OriginalFileName"); }
    [[nodiscard]] std::wstring ProductName() const { return GetStringInfo(L"ProductName"); }
    [[nodiscard]] std::wstring ProductVersion() const { return GetStringInfo(L"ProductVersion"); }
    [[nodiscard]] std::wstring LegalTrademarks() const { return GetStringInfo(L"LegalTrademarks"); }
    [[nodiscard]] std::wstring LegalTrademarks1() const { return GetStringInfo(L"LegalTrademarks1"); }
    [[nodiscard]] std::wstring LegalTrademarks2() const { return GetStringInfo(L"LegalTrademarks2"); }
    [[nodiscard]] std::wstring Comments() const { return GetStringInfo(L"Comments"); }
    [[nodiscard]] std::wstring PrivateBuild() const { return GetStringInfo(L"PrivateBuild"); }
    [[nodiscard]] std::wstring SpecialBuild() const { return GetStringInfo(L"SpecialBuild"); }

    // Fixed file information; 0 (and the texts of 0) without a resource.
    [[nodiscard]] DWORD FileFlagsRaw() const noexcept { return fixed_.dwFileFlags & fixed_.dwFileFlagsMask; }
    // "Debug ", "Patched ", "Pre-release ", "Private ", "Special " for the flags set, in this order.
    [[nodiscard]] std::wstring FileFlags() const;
    [[nodiscard]] DWORD FileOSRaw() const noexcept { return fixed_.dwFileOS; }
    // The API ("Win32 API", ... or "Unknown API") and the system it runs on (" on Windows NT", ...).
    [[nodiscard]] std::wstring FileOS() const;
    [[nodiscard]] DWORD FileTypeRaw() const noexcept { return fixed_.dwFileType; }
    // "Unknown", "Application", "DLL", "Driver", "Font", "VXD", "Static-link library"; "" for other types.
    [[nodiscard]] std::wstring FileType() const;
    [[nodiscard]] DWORD FileSubTypeRaw() const noexcept { return fixed_.dwFileSubtype; }
    // The kind of driver or font, a virtual device's id in decimal; "Unknown" otherwise.
    [[nodiscard]] std::wstring FileSubType() const;

private:
    void Clear();
    void LoadVersionInfo();
    [[nodiscard]] std::wstring GetStringInfo(const wchar_t* name) const;

    std::wstring moduleName_;
    std::wstring filename_;
    std::vector<BYTE> block_;
    std::wstring key_;             // "" without a translation
    VS_FIXEDFILEINFO fixed_{};
};
