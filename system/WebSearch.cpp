// The address at which the browser opens a web search for a program and an entry's name.
#include "system/WebSearch.h"

#include "system/Text.h"

namespace WebSearch {
namespace {

bool KeptAsIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

} // namespace

std::wstring EncodeWords(std::wstring_view text) {
    static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring out;
    for (const char byte : Text::ToUtf8(text)) {
        const auto c = static_cast<unsigned char>(byte);
        if (KeptAsIs(c)) {
            out += static_cast<wchar_t>(c);
        } else if (c == ' ') {
            out += L'+';
        } else {
            out += L'%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

std::wstring Address(std::wstring_view first, std::wstring_view second) {
    return kSearchAddress + EncodeWords(first) + L"+OR+" + EncodeWords(second);
}

} // namespace WebSearch
