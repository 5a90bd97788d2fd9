// First-seen dates: the stamp of a new entry and the store of stamps under one settings key.
#include "system/FirstSeen.h"

#include "system/Registry.h"
#include "system/Text.h"

#include <windows.h>

namespace FirstSeen {

std::wstring FirstSeenDate() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return DateText(now);
}

std::wstring DateText(const SYSTEMTIME& local) {
    wchar_t date[128] = {};
    wchar_t time[128] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 128);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &local, nullptr, time, 128);
    return std::wstring(date) + L" " + time;
}

DateBook::DateBook(const std::wstring& datesKeyPath) {
    const auto path = General::ParseKeyPath(datesKeyPath);
    if (!path) return;
    // Created when missing: without it no date could be stored, and every later load would
    // announce the same entries as new again.
    if (RegCreateKeyExW(path->root, path->subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key_.put(), nullptr) != ERROR_SUCCESS)
        return;
    const auto values = Registry::EnumValues(key_.get(), L"");
    if (!values) return;
    for (auto& v : *values) {
        if (v.type != REG_SZ && v.type != REG_EXPAND_SZ) continue;
        if (Text::EqualsNoCase(v.text, General::kError)) continue;
        byLowerName_.emplace(Text::Lower(v.name), v.text);
        dates_.emplace(std::move(v.name), std::move(v.text));
    }
}

std::optional<std::wstring> DateBook::Find(const std::wstring& name) const {
    // Value names ignore case; most are stored exactly as the entry is named.
    if (const auto exact = dates_.find(name); exact != dates_.end()) return exact->second;
    const auto found = byLowerName_.find(Text::Lower(name));
    if (found == byLowerName_.end()) return std::nullopt;
    return found->second;
}

bool DateBook::Store(const std::wstring& name, const std::wstring& date) {
    if (!key_) return false;
    const LONG rc = RegSetValueExW(key_.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(date.c_str()),
                                   static_cast<DWORD>((date.size() + 1) * sizeof(wchar_t)));
    if (rc != ERROR_SUCCESS) return false;
    dates_[name] = date;
    byLowerName_[Text::Lower(name)] = date;
    return true;
}

} // namespace FirstSeen
