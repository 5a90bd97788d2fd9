// The stored command line of a new startup or service: the quoted program path and its switch.
#include "system/CommandLine.h"

#include "system/Text.h"

namespace CommandLine {

std::wstring QuoteProgramPath(std::wstring_view path) {
    if (path.find(L'"') != std::wstring_view::npos) return std::wstring(path);
    constexpr std::wstring_view kExe = L".exe ";
    const size_t exe = Text::FindNoCase(path, kExe);
    const size_t programEnd = exe == std::wstring_view::npos ? path.size() : exe + kExe.size() - 1;
    const std::wstring_view program = path.substr(0, programEnd);
    if (program.find(L' ') == std::wstring_view::npos) return std::wstring(path);
    std::wstring quoted = L"\"";
    quoted += program;
    quoted += L'"';
    quoted += path.substr(programEnd);
    return quoted;
}

std::wstring Join(std::wstring_view path, std::wstring_view switches) {
    if (!switches.empty() && switches.front() == L' ') switches.remove_prefix(1);
    // Blanks pasted before or after a path are no part of it: quoted with them it never starts.
    std::wstring command = QuoteProgramPath(Text::Trim(path));
    if (!switches.empty()) {
        command += L' ';
        command += switches;
    }
    return command;
}

} // namespace CommandLine
