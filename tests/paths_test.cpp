// Word lists, folders, path taking-apart, and finding and ending processes by name.
#include "TestUtil.h"
#include "system/Paths.h"
#include "system/Process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

TEST(InStrArray, ModesAndExactCase) {
    struct Case {
        short mode;
        std::wstring text;
        std::vector<std::wstring> words;
        bool expected;
    };
    const Case cases[] = {
        {2, L"C:\\A\\B.EXE /s", {L".exe /", L"svchost /"}, false},  // case counts
        {2, L"C:\\A\\b.exe /s", {L".exe /", L"svchost /"}, true},
        {2, L"10", {L"0", L"1", L"2"}, true},
        {2, L"Error", {L"0", L"1", L"2"}, false},
        {2, L"anything", {}, false},
        {1, L"abc", {L"a", L"c"}, true},
        {1, L"abc", {L"a", L"d"}, false},
        {1, L"abc", {}, true},
        {3, L"abc", {L"a"}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MyMod::InStrArray(c.mode, c.text, c.words), c.expected) << c.mode << " " << c.text.c_str();
}

TEST(PathParts, ParentFolderAndFileName) {
    struct Case {
        std::wstring path;
        bool keepDrive;
        std::wstring parent;
    };
    const Case cases[] = {
        {L"C:\\Tools\\App\\run.exe", true, L"C:\\Tools\\App"},
        {L"C:\\Tools\\App\\run.exe", false, L"Tools\\App"},
        {L"C:\\Tools\\App\\", true, L"C:\\Tools"},
        {L"C:\\", true, L"C:\\"},
        {L"C:", false, L""},
        {L"run.exe", true, L"run.exe"},
    };
    for (const auto& c : cases) EXPECT_EQ(MyMod::GetParentFolder(c.path, c.keepDrive), c.parent) << c.path.c_str();
    EXPECT_EQ(MyMod::GetFileName(L"C:\\Tools\\run.exe"), L"run.exe");
    EXPECT_EQ(MyMod::GetFileName(L"run.exe"), L"run.exe");
    EXPECT_EQ(MyMod::GetFileName(L"C:\\Tools\\"), L"");
}

TEST(Folders, WindowsSystemAndStartupFolders) {
    const std::wstring windows = MyMod::GetWindowsDir();
    ASSERT_FALSE(windows.empty());
    EXPECT_NE(windows.back(), L'\\');
    EXPECT_TRUE(MyMod::FolderExists(windows));
    EXPECT_TRUE(MyMod::FolderExists(MyMod::GetSystemDir()));
    EXPECT_TRUE(MyMod::FileExists(windows + L"\\win.ini"));
    EXPECT_TRUE(MyMod::FileExists(windows + L"\\*.ini"));
    EXPECT_FALSE(MyMod::FileExists(windows));          // a folder is no file
    EXPECT_TRUE(MyMod::FolderExists(windows + L"\\win.ini"));  // any entry counts
    EXPECT_FALSE(MyMod::FileExists(L""));
    EXPECT_FALSE(MyMod::FileExists(L"Q:\\nothing.exe"));
    EXPECT_FALSE(MyMod::FolderExists(windows + L"\\NoSuchFolder"));
    const std::wstring user = modSpecialFolder::GetSpecialFolder(modSpecialFolder::kUserStartup);
    const std::wstring common = modSpecialFolder::GetSpecialFolder(modSpecialFolder::kCommonStartup);
    EXPECT_NE(user.find(L"StartUp"), std::wstring::npos) << user.c_str();
    EXPECT_NE(common.find(L"StartUp"), std::wstring::npos) << common.c_str();
    EXPECT_NE(user, common);
}

TEST(Folders, ShortNamesRoundTrip) {
    const std::wstring folder = TestUtil::ProgramFolder() + L"\\A folder with a long name";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring file = folder + L"\\Program with long name.exe";
    CopyFileW((TestUtil::ProgramFolder() + L"\\sleeper.exe").c_str(), file.c_str(), FALSE);
    const std::wstring shortName = MyMod::GetShortName(file);
    ASSERT_FALSE(shortName.empty());
    EXPECT_EQ(shortName.find(L' '), std::wstring::npos);
    EXPECT_TRUE(MyMod::FileExists(shortName));
    EXPECT_EQ(MyMod::GetShortName(folder + L"\\missing.exe"), L"");
}

TEST(Processes, FindAndEndByWholeFileName) {
    auto app = TestUtil::StartCopy(L"sleeper.exe", L"app.exe");
    auto myapp = TestUtil::StartCopy(L"sleeper.exe", L"myapp.exe");
    ASSERT_TRUE(app && myapp);
    EXPECT_TRUE(modProcess::IsProcessRunning(L"app.exe"));
    EXPECT_TRUE(modProcess::IsProcessRunning(L"MYAPP.EXE"));
    EXPECT_FALSE(modProcess::IsProcessRunning(L"pp.exe"));
    EXPECT_FALSE(modProcess::IsProcessRunning(L""));
    const modProcess::ProcessSnapshot snapshot;
    EXPECT_TRUE(snapshot.Contains(L"App.exe"));
    EXPECT_TRUE(snapshot.Contains(L"myapp.exe"));
    EXPECT_FALSE(snapshot.Contains(L"pp.exe"));

    EXPECT_EQ(modTerminateProcess::KillProcessByName(L""), 0);
    EXPECT_EQ(modTerminateProcess::KillProcessByName(L"app.exe"), 1);
    EXPECT_EQ(WaitForSingleObject(app.get(), 30000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(myapp.get(), 200), static_cast<DWORD>(WAIT_TIMEOUT));  // not a suffix match
    EXPECT_TRUE(modProcess::IsProcessRunning(L"myapp.exe"));
    EXPECT_EQ(modTerminateProcess::KillProcessByName(L"MYAPP.EXE"), 1);
    EXPECT_EQ(WaitForSingleObject(myapp.get(), 30000), WAIT_OBJECT_0);
}

// Two same-named programs in different folders and one in a folder with a long name: the snapshot
// finds each by its file name, and by its full path only the one of that folder.
TEST(Processes, SnapshotFindsAProgramByFileNameAndTellsSameNamedOnesApartByPath) {
    std::vector<UniqueHandle> copies;
    for (const wchar_t* path : {L"C:\\SnapA\\twin.exe", L"C:\\SnapB\\twin.exe", L"C:\\Snap Long Folder\\solo.exe"}) {
        copies.push_back(TestUtil::StartCopy(L"sleeper.exe", path));
        ASSERT_TRUE(copies.back()) << path;
    }
    const std::wstring shortForm = MyMod::GetShortName(L"C:\\Snap Long Folder\\solo.exe");
    ASSERT_FALSE(shortForm.empty());
    auto idOf = [&](size_t copy) { return GetProcessId(copies[copy].get()); };

    const modProcess::ProcessSnapshot snapshot;
    const struct {
        std::wstring asked;
        bool contains;               // by file name
        std::vector<size_t> at;      // by full path the copy of that folder; by a bare name every copy
    } cases[] = {
        {L"twin.exe", true, {0, 1}},
        {L"TWIN.EXE", true, {0, 1}},
        {L"C:\\SnapA\\twin.exe", false, {0}},
        {L"c:\\snapb\\TWIN.exe", false, {1}},
        {L"%SystemDrive%\\SnapA\\twin.exe", false, {0}},
        {L"C:\\SnapC\\twin.exe", false, {}},  // the same name in a folder where none runs
        {L"solo.exe", true, {2}},
        {shortForm, false, {2}},
        {L"win.exe", false, {}},
        {L"", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked.c_str());
        EXPECT_EQ(snapshot.Contains(c.asked), c.contains);
        std::vector<DWORD> expected;
        for (size_t copy : c.at) expected.push_back(idOf(copy));
        std::vector<DWORD> found = snapshot.ProcessesAt(c.asked);
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(found, expected);
        EXPECT_EQ(modProcess::IsProcessRunning(c.asked), c.contains);
    }

    // A snapshot taken after one of the two has ended still finds the other.
    TerminateProcess(copies[0].get(), 0);
    ASSERT_EQ(WaitForSingleObject(copies[0].get(), 30000), WAIT_OBJECT_0);
    const modProcess::ProcessSnapshot after;
    EXPECT_TRUE(after.ProcessesAt(L"C:\\SnapA\\twin.exe").empty());
    EXPECT_EQ(after.ProcessesAt(L"C:\\SnapB\\twin.exe"), std::vector<DWORD>{idOf(1)});
    EXPECT_TRUE(after.Contains(L"twin.exe"));
    for (auto& copy : copies) TerminateProcess(copy.get(), 0);
}

} // namespace
