// The "File Properties" panel's texts for one file, and sizes in bytes to KB ... YB.
#include "system/FileProperties.h"

#include "system/Paths.h"
#include "system/VersionInfo.h"

#include <windows.h>
#include <algorithm>
#include <cwchar>
#include <iterator>

namespace KB_MB {

std::wstring FormatSize(double bytes) {
    static constexpr const wchar_t* kUnits[] = {L" KB", L" MB", L" GB", L" TB", L" PB", L" EB", L" ZB", L" YB"};
    if (bytes < 1024.0) {
        wchar_t whole[64] = {};
        std::swprintf(whole, 64, L"%.15g", bytes);
        return std::wstring(whole) + L" bytes";
    }
    int unit = 0;
    double scaled = bytes / 1024.0;
    while (unit + 1 < static_cast<int>(std::size(kUnits)) && scaled >= 1024.0) {
        scaled /= 1024.0;
        ++unit;
    }
    wchar_t number[64] = {};
    std::swprintf(number, 64, L"%.2f", scaled);
    std::wstring text = number;
    // Two decimals behind the user's own decimal separator.
    wchar_t separator[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) > 1) {
        const size_t point = text.find(L'.');
        if (point != std::wstring::npos) text.replace(point, 1, separator);
    }
    return text + kUnits[unit];
}

} // namespace KB_MB

namespace FileProperties {

namespace {

// A date and time in the user's general format: the short date, then the time unless it is midnight.
std::wstring GeneralDate(const FILETIME& utc) {
    SYSTEMTIME universal{}, local{};
    if (!FileTimeToSystemTime(&utc, &universal) || !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return {};
    wchar_t date[128] = {};
    wchar_t time[128] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 128);
    if (local.wHour == 0 && local.wMinute == 0 && local.wSecond == 0) return date;
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &local, nullptr, time, 128);
    return std::wstring(date) + L" " + time;
}

} // namespace

bool Texts::Filled(int fieldNumber) const noexcept {
    const auto end = kFillOrder.begin() + filled;
    return std::find(kFillOrder.begin(), end, fieldNumber) != end;
}

Texts LoadFileProperties(const std::wstring& path, NameRule nameRule) {
    Texts texts;
    auto fill = [&texts](int field, std::wstring text) {
        texts.field[static_cast<size_t>(field)] = std::move(text);
        ++texts.filled;
    };
    VersionInfo version;
    version.Filename(path);
    fill(0, nameRule == NameRule::FileName ? MyMod::GetFileName(version.Filename()) : version.OriginalFileName());
    fill(1, version.ProductVersion());
    fill(2, version.CompanyName());
    fill(5, version.FileType());
    fill(4, version.FileOS());

    // Size and creation date come from the file itself: a missing file (or a folder) ends here.
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return texts;
    const unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    fill(6, KB_MB::FormatSize(static_cast<double>(size)));
    fill(3, version.LegalCopyright());
    const std::wstring created = GeneralDate(data.ftCreationTime);
    if (created.empty()) return texts;
    fill(7, created);
    return texts;
}

} // namespace FileProperties
