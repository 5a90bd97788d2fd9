// Text helpers: the case-blind comparisons, trimming, number formatting and ANSI conversion.
#include "system/Text.h"

#include <windows.h>
#include <cstdio>
#include <cwchar>
#include <cstdlib>
#include <cerrno>

namespace Text {

std::wstring Upper(std::wstring_view s) {
    std::wstring out(s);
    if (!out.empty()) CharUpperBuffW(out.data(), static_cast<DWORD>(out.size()));
    return out;
}

std::wstring Lower(std::wstring_view s) {
    std::wstring out(s);
    if (!out.empty()) CharLowerBuffW(out.data(), static_cast<DWORD>(out.size()));
    return out;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && Upper(a) == Upper(b);
}

size_t FindNoCase(std::wstring_view haystack, std::wstring_view needle, size_t from) {
    return Upper(haystack).find(Upper(needle), from);
}

bool ContainsNoCase(std::wstring_view haystack, std::wstring_view needle) {
    return FindNoCase(haystack, needle) != std::wstring::npos;
}

bool StartsWithNoCase(std::wstring_view s, std::wstring_view prefix) {
    return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

std::wstring Trim(std::wstring_view s) {
    const size_t first = s.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) return {};
    const size_t last = s.find_last_not_of(L' ');
    return std::wstring(s.substr(first, last - first + 1));
}

std::wstring ReplaceNoCase(std::wstring_view s, std::wstring_view what, std::wstring_view with) {
    if (what.empty()) return std::wstring(s);
    const std::wstring upper = Upper(s);
    const std::wstring upperWhat = Upper(what);
    std::wstring out;
    size_t pos = 0;
    for (;;) {
        const size_t hit = upper.find(upperWhat, pos);
        if (hit == std::wstring::npos) break;
        out.append(s.substr(pos, hit - pos)).append(with);
        pos = hit + what.size();
    }
    out.append(s.substr(pos));
    return out;
}

std::wstring ReplaceAll(std::wstring_view s, std::wstring_view what, std::wstring_view with) {
    if (what.empty()) return std::wstring(s);
    std::wstring out;
    size_t pos = 0;
    for (;;) {
        const size_t hit = s.find(what, pos);
        if (hit == std::wstring_view::npos) break;
        out.append(s.substr(pos, hit - pos)).append(with);
        pos = hit + what.size();
    }
    out.append(s.substr(pos));
    return out;
}

bool ParseLong(std::wstring_view s, long& out) {
    const std::wstring t = Trim(s);
    if (t.empty()) return false;
    wchar_t* end = nullptr;
    errno = 0;
    const long v = std::wcstol(t.c_str(), &end, 10);
    if (errno != 0 || end == t.c_str() || *end != L'\0') return false;
    out = v;
    return true;
}

bool ParseDouble(std::wstring_view s, double& out) {
    const std::wstring t = Trim(s);
    if (t.empty()) return false;
    wchar_t* end = nullptr;
    const double v = std::wcstod(t.c_str(), &end);
    if (end == t.c_str() || *end != L'\0') return false;
    out = v;
    return true;
}

std::wstring FormatSingle(float value) {
    wchar_t buf[64];
    if (value == static_cast<float>(static_cast<long long>(value)) && value > -1e9f && value < 1e9f) {
        std::swprintf(buf, 64, L"%lld", static_cast<long long>(value));
        return buf;
    }
    for (int precision = 1; precision <= 9; ++precision) {
        std::swprintf(buf, 64, L"%.*g", precision, static_cast<double>(value));
        if (static_cast<float>(std::wcstod(buf, nullptr)) == value) break;
    }
    return buf;
}

std::wstring FromAnsi(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

std::optional<std::string> ToAnsi(std::wstring_view text) {
    if (text.empty()) return std::string();
    // A UTF-8 code page takes no best-fit flag; it holds every character but a lone surrogate.
    const DWORD flags = GetACP() == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    const int length = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_ACP, flags, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::nullopt;
    std::string out(static_cast<size_t>(n), '\0');
    BOOL usedDefault = FALSE;
    if (WideCharToMultiByte(CP_ACP, flags, text.data(), length, out.data(), n, nullptr,
                            GetACP() == CP_UTF8 ? nullptr : &usedDefault) != n || usedDefault)
        return std::nullopt;
    // Characters without a place in the code page came out as its default character.
    if (FromAnsi(out) != text) return std::nullopt;
    return out;
}

std::string ToUtf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring SystemMessage(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n && buffer ? std::wstring(buffer, n) : L"Error " + std::to_wstring(code) + L".";
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text;
}

std::vector<std::wstring> ListedLines(const std::vector<std::wstring>& lines) {
    if (lines.size() <= kListedLines) return lines;
    std::vector<std::wstring> listed(lines.begin(), lines.begin() + kListedLines);
    listed.push_back(L"... and " + std::to_wstring(lines.size() - kListedLines) + L" more.");
    return listed;
}

std::wstring OneLineExcerpt(std::wstring_view text, size_t maxChars) {
    std::wstring line(text);
    for (wchar_t& c : line)
        if (c == L'\r' || c == L'\n') c = L' ';
    constexpr std::wstring_view kCut = L"...";
    if (line.size() <= maxChars || maxChars <= kCut.size()) return line;
    size_t keep = maxChars - kCut.size();
    if (IS_HIGH_SURROGATE(line[keep - 1])) --keep;
    line.resize(keep);
    return line + std::wstring(kCut);
}

} // namespace Text
