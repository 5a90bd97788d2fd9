// The address at which the browser opens a web search for a program and an entry's name.
#pragma once

#include <string>
#include <string_view>

namespace WebSearch {

// A search site that takes the search words after "/search?q=".
inline constexpr wchar_t kSearchAddress[] = L"https://www.google.com/search?q=";

// The text as UTF-8 for a query: ASCII letters, digits, "-", ".", "_" and "~" stay, a blank
// becomes "+", every other byte "%" and two upper-case hex digits. So "&", "#" and a double
// quote can neither cut the query short nor break out of the browser's command line.
[[nodiscard]] std::wstring EncodeWords(std::wstring_view text);

// kSearchAddress, then the first text, "+OR+" and the second, both encoded.
[[nodiscard]] std::wstring Address(std::wstring_view first, std::wstring_view second);

} // namespace WebSearch
