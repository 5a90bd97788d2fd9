// The built-in descriptions of services, by service key name, shown by the service
// properties dialog on the systems whose services carry no readable description.
#pragma once

#include <span>
#include <string>

namespace ServiceDescriptions {

inline constexpr wchar_t kNotAvailable[] = L"Not Available";

struct Entry {
    const wchar_t* key;          // service key name
    const wchar_t* description;  // one English sentence
};

// Every entry, in the order they are tried.
[[nodiscard]] std::span<const Entry> Table();

} // namespace ServiceDescriptions

// The description of the first entry whose key equals keyName (case ignored); "Not Available" for none.
[[nodiscard]] std::wstring LookupServiceDescription(const std::wstring& keyName);
