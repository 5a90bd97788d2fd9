// The split of a startup command line into program and switch.
#include "startups/CommandSplit.h"

#include "system/Text.h"

namespace Startups {

namespace {

constexpr wchar_t kRundll[] = L"RUNDLL32.EXE ";

bool Contains(std::wstring_view text, std::wstring_view what) { return text.find(what) != std::wstring_view::npos; }

// Splits at the first occurrence of separator; the switch keeps the separator's last character.
CommandParts SplitAt(std::wstring_view command, std::wstring_view separator) {
    const size_t at = command.find(separator);
    CommandParts parts;
    parts.program.assign(command.substr(0, at));
    parts.switches.assign(command.substr(at + separator.size() - 1));
    return parts;
}

} // namespace

std::wstring StripQuotesAndRundll(std::wstring_view command) {
    return Text::ReplaceNoCase(Text::ReplaceAll(command, L"\"", L""), kRundll, L"");
}

CommandParts CommandSplit(std::wstring_view command) {
    if (Contains(command, L".exe /") || Contains(command, L"svchost /")) return SplitAt(command, L" /");
    if (Contains(command, L".exe -") || Contains(command, L"svchost -")) return SplitAt(command, L" -");
    if (Contains(command, L",")) return SplitAt(command, L",");
    return CommandParts{StripQuotesAndRundll(command), L""};
}

} // namespace Startups
