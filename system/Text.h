// Text helpers: the case-blind comparisons, trimming, number formatting and ANSI conversion.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Text {

[[nodiscard]] std::wstring Upper(std::wstring_view s);
[[nodiscard]] std::wstring Lower(std::wstring_view s);
[[nodiscard]] bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
[[nodiscard]] bool ContainsNoCase(std::wstring_view haystack, std::wstring_view needle);
// Position of needle in haystack ignoring case, or npos.
[[nodiscard]] size_t FindNoCase(std::wstring_view haystack, std::wstring_view needle, size_t from = 0);
[[nodiscard]] bool StartsWithNoCase(std::wstring_view s, std::wstring_view prefix);
[[nodiscard]] std::wstring Trim(std::wstring_view s);  // blanks at both ends
// Every occurrence of what, ignoring case, replaced by with.
[[nodiscard]] std::wstring ReplaceNoCase(std::wstring_view s, std::wstring_view what, std::wstring_view with);
[[nodiscard]] std::wstring ReplaceAll(std::wstring_view s, std::wstring_view what, std::wstring_view with);

// The whole text as a number, or false (blanks around it allowed, nothing else).
[[nodiscard]] bool ParseLong(std::wstring_view s, long& out);
[[nodiscard]] bool ParseDouble(std::wstring_view s, double& out);
// A single-precision number as text, the shortest form that reads back the same.
[[nodiscard]] std::wstring FormatSingle(float value);

// Legacy files are bytes in the ANSI code page.
[[nodiscard]] std::wstring FromAnsi(std::string_view bytes);
// The text's bytes in the ANSI code page; nullopt when the code page cannot hold a character of
// it exactly (no "?" and no look-alike stands in for it), so reading the bytes back gives the text.
[[nodiscard]] std::optional<std::string> ToAnsi(std::wstring_view text);
// The text's bytes in UTF-8, without a byte-order mark; a lone surrogate becomes U+FFFD.
[[nodiscard]] std::string ToUtf8(std::wstring_view text);

// The lines a message box lists (names, failures): all of them when there are at most
// kListedLines, else the first kListedLines and "... and N more.", so the box and its button
// stay on the screen.
inline constexpr size_t kListedLines = 25;
[[nodiscard]] std::vector<std::wstring> ListedLines(const std::vector<std::wstring>& lines);
// A name or a line as a message box quotes it, on one line: its line breaks become blanks, and
// text longer than maxChars is cut to fit maxChars with "..." at its end (never half a character).
[[nodiscard]] std::wstring OneLineExcerpt(std::wstring_view text, size_t maxChars);

// The system's own text for an error code, without its line end; "Error <code>." when it has none.
[[nodiscard]] std::wstring SystemMessage(unsigned long code);

} // namespace Text
