// The command line a new startup or service is stored with: its program path, quoted where
// Windows would otherwise read it wrongly, and its switch.
#pragma once

#include <string>
#include <string_view>

namespace CommandLine {

// The program path as it is stored. A path that holds a double quote is kept as typed. Otherwise
// its program part is the text up to and including the first ".exe" (case ignored) that a blank
// follows, or the whole path when there is none; when that part holds a blank it is put in double
// quotes and the rest is kept as typed. So "C:\Program Files\a.exe" cannot start "C:\Program.exe".
[[nodiscard]] std::wstring QuoteProgramPath(std::wstring_view path);

// QuoteProgramPath(path less its outer blanks), then, when the switch less one leading blank is
// not empty, a blank and that switch (a switch typed with two leading blanks keeps one).
[[nodiscard]] std::wstring Join(std::wstring_view path, std::wstring_view switches);

} // namespace CommandLine
