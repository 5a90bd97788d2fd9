// What the commands that hand work to the shell are given: the web-search address, the folder
// opened for a program path, and which processes ending a program by its path ends.
#include "TestUtil.h"
#include "system/Paths.h"
#include "system/Process.h"
#include "system/WebSearch.h"

#include <gtest/gtest.h>

namespace {

TEST(WebSearch, WordsAreEncodedAsUtf8ForAQuery) {
    const struct {
        std::wstring text;
        std::wstring encoded;
    } cases[] = {
        {L"", L""},
        {L"AZaz09-._~", L"AZaz09-._~"},
        {L"c a.exe", L"c+a.exe"},
        {L"C&A #1", L"C%26A+%231"},
        {L"\"100%+\"", L"%22100%25%2B%22"},
        {L"/min,x=y?z", L"%2Fmin%2Cx%3Dy%3Fz"},
        {L"Caf\u00e9", L"Caf%C3%A9"},
        {L"\u20ac", L"%E2%82%AC"},
        {L"\U0001F600", L"%F0%9F%98%80"},  // a surrogate pair is one character
    };
    for (const auto& c : cases) EXPECT_EQ(WebSearch::EncodeWords(c.text), c.encoded) << c.text.c_str();

    const std::wstring base = WebSearch::kSearchAddress;
    EXPECT_EQ(base.rfind(L"https://", 0), 0u);
    EXPECT_EQ(base.substr(base.size() - 10), L"/search?q=");
    EXPECT_EQ(WebSearch::Address(L"c a.exe", L"C&A"), base + L"c+a.exe+OR+C%26A");
}

TEST(FolderToOpen, OnlyAnExistingFolderNamedByAFullPath) {
    ASSERT_TRUE(CreateDirectoryW(L"C:\\FT", nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    CreateDirectoryW(L"C:\\FT\\A", nullptr);
    const HANDLE file = CreateFileW(L"C:\\FT\\notes.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    const std::wstring windows = MyMod::GetWindowsDir();
    const struct {
        std::wstring program;
        std::wstring folder;
    } cases[] = {
        {L"C:\\FT\\A\\app.exe", L"C:\\FT\\A"},
        {L"c:\\ft\\a\\APP.EXE", L"c:\\ft\\a"},
        {L"C:\\app.exe", L"C:\\"},                              // the root, not the drive's current folder
        {L"%SystemRoot%\\system32\\x.exe", windows + L"\\system32"},
        {L"%NoSuchVariable%\\x.exe", L""},
        {L"app.exe", L""},                                      // "open" would run it
        {L"", L""},
        {L"C:\\Missing\\app.exe", L""},
        {L"C:\\FT\\notes.txt\\app.exe", L""},                   // a file, not a folder
        {L"system32\\x.exe", L""},                              // relative to whatever folder is current
        {L"\\FT\\A\\app.exe", L""},                             // no drive
        {L"C:FT\\A\\app.exe", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(MyMod::FolderToOpen(c.program), c.folder) << c.program.c_str();
}

// Four copies of the sleeper; which of them a call ends.
class KillByPathTest : public testing::Test {
protected:
    struct Copy {
        std::wstring path;
        UniqueHandle process;
    };
    void StartAll() {
        copies.clear();
        for (const wchar_t* path :
             {L"C:\\A\\app.exe", L"C:\\B\\app.exe", L"C:\\A\\myapp.exe", L"C:\\Long Folder\\app.exe"}) {
            copies.push_back({path, TestUtil::StartCopy(L"sleeper.exe", path)});
            ASSERT_TRUE(copies.back().process) << path;
        }
    }
    // The paths of the copies that have ended; the others are ended afterwards. An ended copy
    // can take a while to go on a loaded machine, so this waits for as many as were expected to
    // end and then a little longer for any that should not have.
    std::vector<std::wstring> Ended(size_t expected) {
        const auto endedCount = [this] {
            size_t count = 0;
            for (auto& copy : copies) count += WaitForSingleObject(copy.process.get(), 0) == WAIT_OBJECT_0;
            return count;
        };
        const DWORD start = GetTickCount();
        while (endedCount() < expected && GetTickCount() - start < 10000) Sleep(20);
        Sleep(300);
        std::vector<std::wstring> ended;
        for (auto& copy : copies) {
            if (WaitForSingleObject(copy.process.get(), 0) == WAIT_OBJECT_0) ended.push_back(copy.path);
            else TerminateProcess(copy.process.get(), 0);
            WaitForSingleObject(copy.process.get(), 5000);
        }
        return ended;
    }
    void TearDown() override {
        for (auto& copy : copies) TerminateProcess(copy.process.get(), 0);
    }
    std::vector<Copy> copies;
};

TEST_F(KillByPathTest, EndsOnlyTheProgramAtThatPathAndABareNameEndsByName) {
    StartAll();  // the short form is that of an existing file
    const std::wstring shortForm = MyMod::GetShortName(L"C:\\Long Folder\\app.exe");
    ASSERT_FALSE(shortForm.empty());
    ASSERT_EQ(shortForm.find(L' '), std::wstring::npos);
    EXPECT_TRUE(Ended(0).empty());
    const struct {
        std::wstring program;
        std::vector<std::wstring> ended;
    } cases[] = {
        {L"C:\\A\\app.exe", {L"C:\\A\\app.exe"}},
        {L"c:\\a\\APP.EXE", {L"C:\\A\\app.exe"}},
        {L"%SystemDrive%\\B\\app.exe", {L"C:\\B\\app.exe"}},
        {shortForm, {L"C:\\Long Folder\\app.exe"}},
        {L"app.exe", {L"C:\\A\\app.exe", L"C:\\B\\app.exe", L"C:\\Long Folder\\app.exe"}},
        {L"C:\\C\\app.exe", {}},
        {L"pp.exe", {}},
        {L"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program.c_str());
        StartAll();
        EXPECT_EQ(modTerminateProcess::KillProcessByPath(c.program), static_cast<int>(c.ended.size()));
        EXPECT_EQ(Ended(c.ended.size()), c.ended);
    }
}

} // namespace
