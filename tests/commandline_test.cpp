// The stored command line of a new startup or service: the program path quoted where it must be,
// and the switch joined with one leading blank dropped.
#include "system/CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, ProgramPathIsQuotedOnlyWhereABlankWouldSplitIt) {
    const struct {
        const wchar_t* path;
        const wchar_t* stored;
    } cases[] = {
        {L"C:\\Program Files\\Agent\\agent.exe", L"\"C:\\Program Files\\Agent\\agent.exe\""},
        {L"C:\\Tools\\agent.exe", L"C:\\Tools\\agent.exe"},
        {L"\"C:\\Program Files\\Agent\\agent.exe\"", L"\"C:\\Program Files\\Agent\\agent.exe\""},
        {L"\"C:\\Program Files\\Agent\\agent.exe\" /min", L"\"C:\\Program Files\\Agent\\agent.exe\" /min"},
        // A switch typed into the path: only the program is quoted.
        {L"C:\\Program Files\\Agent\\agent.exe /min -x", L"\"C:\\Program Files\\Agent\\agent.exe\" /min -x"},
        {L"C:\\Program Files\\Agent\\AGENT.EXE -k net", L"\"C:\\Program Files\\Agent\\AGENT.EXE\" -k net"},
        {L"C:\\Tools\\agent.exe /min", L"C:\\Tools\\agent.exe /min"},
        // ".exe" inside a folder name does not end the program.
        {L"C:\\My Tools\\x.exe.d\\agent.exe", L"\"C:\\My Tools\\x.exe.d\\agent.exe\""},
        {L"C:\\My Tools\\run.bat", L"\"C:\\My Tools\\run.bat\""},
        {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(CommandLine::QuoteProgramPath(c.path), c.stored) << c.path;
}

TEST(CommandLine, SwitchLosesOneLeadingBlankAndThePathItsOuterBlanks) {
    const struct {
        const wchar_t* path;
        const wchar_t* switches;
        const wchar_t* stored;
    } cases[] = {
        {L"C:\\Tools\\agent.exe", L"/min", L"C:\\Tools\\agent.exe /min"},
        {L"C:\\Tools\\agent.exe", L" /min", L"C:\\Tools\\agent.exe /min"},
        {L"C:\\Tools\\agent.exe", L"  /min", L"C:\\Tools\\agent.exe  /min"},
        {L"C:\\Tools\\agent.exe", L"", L"C:\\Tools\\agent.exe"},
        {L"C:\\Tools\\agent.exe", L" ", L"C:\\Tools\\agent.exe"},
        {L"C:\\Program Files\\agent.exe", L" -k net", L"\"C:\\Program Files\\agent.exe\" -k net"},
        {L"C:\\Program Files\\agent.exe", L"", L"\"C:\\Program Files\\agent.exe\""},
        // Blanks pasted around the path are no part of it, inside quotes or out.
        {L" C:\\Program Files\\T\\t.exe", L"", L"\"C:\\Program Files\\T\\t.exe\""},
        {L"  C:\\Tools\\agent.exe  ", L"/min", L"C:\\Tools\\agent.exe /min"},
    };
    for (const auto& c : cases) EXPECT_EQ(CommandLine::Join(c.path, c.switches), c.stored) << c.path << c.switches;
}

} // namespace
