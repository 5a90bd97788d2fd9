// What one row of the services list shows, from the service's key and the first-seen records.
#include "services/ServiceRows.h"

#include "system/Handles.h"
#include "system/Registry.h"
#include "system/Text.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace ServiceRows {

bool FactsReader::Query(HKEY key, const wchar_t* name, DWORD& type) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        size_ = static_cast<DWORD>(buffer_.size());
        const LONG rc = RegQueryValueExW(key, name, nullptr, &type, buffer_.data(), &size_);
        if (rc == ERROR_SUCCESS) return true;
        if (rc != ERROR_MORE_DATA) return false;
        buffer_.resize(static_cast<size_t>(size_) + sizeof(wchar_t));
    }
    return false;
}

RegistryFacts FactsReader::Read(const std::wstring& serviceName) {
    RegistryFacts facts;
    UniqueHkey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kServicesSubKey) + serviceName).c_str(), 0, KEY_QUERY_VALUE,
                      key.put()) != ERROR_SUCCESS)
        return facts;
    auto text = [this]() {
        std::wstring t(size_ / sizeof(wchar_t), L'\0');
        if (!t.empty()) std::memcpy(t.data(), buffer_.data(), t.size() * sizeof(wchar_t));
        if (!t.empty() && t.back() == L'\0') t.pop_back();
        return t;
    };
    DWORD type = 0;
    // Only a REG_DWORD of four bytes is a start type; text or a longer number is shown as unreadable.
    if (Query(key.get(), L"Start", type) && type == REG_DWORD && size_ == sizeof(DWORD)) {
        LONG value = 0;
        std::memcpy(&value, buffer_.data(), sizeof(value));
        facts.start = static_cast<long>(value);
    }
    if (Query(key.get(), L"DependOnService", type)) facts.dependOn = text();
    if (Query(key.get(), L"ImagePath", type) && (type == REG_SZ || type == REG_EXPAND_SZ)) facts.imagePath = text();
    return facts;
}

Setting SettingOf(const std::optional<long>& start) {
    if (!start) return {kStartUnreadable, kIconServiceManual};
    switch (*start) {
    case 2: return {kAutomatic, kIconServiceAutomatic};
    case 3: return {kManual, kIconServiceManual};
    case 4: return {kDisabled, kIconServiceDisabled};
    default: return {std::to_wstring(*start), kIconServiceManual};
    }
}

bool IsSevenOrVista(const std::wstring& productName) {
    return Text::ContainsNoCase(productName, L"Windows 7") || Text::ContainsNoCase(productName, L"Vista");
}

std::vector<std::wstring> SplitDependencies(const std::wstring& stored) {
    std::vector<std::wstring> items;
    size_t start = 0;
    for (;;) {
        const size_t nul = stored.find(L'\0', start);
        if (nul == std::wstring::npos) {
            items.push_back(stored.substr(start));
            return items;
        }
        items.push_back(stored.substr(start, nul - start));
        start = nul + 1;
    }
}

std::wstring DependsCell(const std::optional<std::wstring>& stored, bool asText) {
    if (!stored) return kNoDependency;
    return DependsCell(*stored, SplitDependencies(*stored), asText);
}

std::wstring DependsCell(const std::wstring& stored, const std::vector<std::wstring>& items, bool asText) {
    // Read as one text, a value that says "error" reads like a failed read.
    if (asText && Text::EqualsNoCase(stored, General::kError)) return kNoDependency;
    // The list cannot draw the NULs between the strings, so both ways of reading show them
    // joined by ", ".
    std::wstring cell;
    for (const auto& item : items) {
        if (item.empty()) continue;
        if (!cell.empty()) cell += L", ";
        cell += item;
    }
    return cell.empty() ? std::wstring(kNoDependency) : cell;
}

std::wstring PathCell(const std::optional<std::wstring>& imagePath, const std::wstring& windowsDir) {
    if (!imagePath) return kPathNotFound;
    std::wstring path = *imagePath;
    if (path.find(L'%') != std::wstring::npos) path = Text::ReplaceNoCase(path, L"%SystemRoot%", windowsDir);
    path.erase(std::remove(path.begin(), path.end(), L'"'), path.end());
    if (path.find_first_of(L" \t") != std::wstring::npos) path = Text::ReplaceNoCase(path, L"svchost ", L"svchost.exe ");
    return path;
}

std::vector<std::wstring> DependantsCells(const std::vector<DependencyEntry>& services) {
    // Which rows name each service, in row order; a row that names a service twice counts once.
    std::unordered_map<std::wstring, std::vector<size_t>> dependants;
    for (size_t k = 0; k < services.size(); ++k) {
        for (const auto& name : services[k].dependOn) {
            if (name.empty()) continue;
            auto& rows = dependants[Text::Lower(name)];
            if (rows.empty() || rows.back() != k) rows.push_back(k);
        }
    }
    std::vector<std::wstring> cells;
    cells.reserve(services.size());
    for (const auto& service : services) {
        const auto found = dependants.find(Text::Lower(service.name));
        if (found == dependants.end()) {
            cells.emplace_back(kNoDependants);
            continue;
        }
        std::wstring cell;
        for (size_t k : found->second) {
            if (!cell.empty()) cell += L", ";
            cell += services[k].name;
        }
        cells.push_back(std::move(cell));
    }
    return cells;
}

} // namespace ServiceRows
