// The one rule by which the program splits a startup command line into its program and its switch.
#pragma once

#include <string>
#include <string_view>

namespace Startups {

struct CommandParts {
    std::wstring program;    // the program part
    std::wstring switches;   // the switch part, beginning with its separator ("/", "-" or ","); "" when none
};

// The first test that holds decides, each compared exactly (case matters):
// ".exe /" or "svchost /": split at the first " /"; ".exe -" or "svchost -": at the first " -";
// a ",": at the first ",". The blank before "/" or "-" belongs to neither part, and the program
// part of these three is used unchanged. Otherwise the whole text with its double quotes and
// every "RUNDLL32.EXE " (case ignored) removed is the program, with no switch.
[[nodiscard]] CommandParts CommandSplit(std::wstring_view command);

// The text with every double quote and then every "RUNDLL32.EXE " (case ignored) removed.
[[nodiscard]] std::wstring StripQuotesAndRundll(std::wstring_view command);

} // namespace Startups
