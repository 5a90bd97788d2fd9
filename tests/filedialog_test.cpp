// cFileDialog: the filter rule, the split of a several-file answer, the cancel error, what
// reaches the dialog, and the real Open and Save As dialogs driven from a helper thread.
#include "TestSeam.h"
#include "TestUtil.h"
#include "system/cFileDialog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <commdlg.h>
#include <dlgs.h>
#include <thread>

using namespace std::string_literals;

namespace {

TEST(cFileDialogRules, FilterText) {
    struct Case {
        std::wstring filter;
        std::wstring expected;
    };
    const Case cases[] = {
        // Two pairs; the second description keeps its leading blank.
        {L"Application Executable (*.exe)|*.exe| All Files (*.*)|*.*|",
         L"Application Executable (*.exe)\0*.exe\0 All Files (*.*)\0*.*\0\0\0"s},
        {L"CSV File (*.csv)|*.csv|", L"CSV File (*.csv)\0*.csv\0\0\0"s},
        {L"Text (*.txt)|*.txt", L"Text (*.txt)\0*.txt\0\0"s},
        {L"Drive C:|C:*.*|", L"Drive C\0\0C\0*.*\0\0\0"s},  // a ":" cannot stand in a filter
        {L"", L"\0\0"s},
    };
    for (const auto& c : cases) EXPECT_EQ(cFileDialog::FilterText(c.filter), c.expected) << c.filter.c_str();
}

TEST(cFileDialogRules, SplitMultiFileName) {
    struct Case {
        std::wstring filename;
        std::wstring dir;
        std::vector<std::wstring> files;
    };
    const Case cases[] = {
        {L"C:\\Pick\0a.exe\0b.exe\0c.exe\0\0"s, L"C:\\Pick", {L"a.exe", L"b.exe", L"c.exe"}},
        {L"C:\\Pick\0a.exe\0b.exe"s, L"C:\\Pick", {L"a.exe", L"b.exe"}},           // no closing NULs
        {L"C:\\\0a.exe\0b.exe\0\0"s, L"C:\\", {L"a.exe", L"b.exe"}},                // files in a root
        {L"C:\\Tools\\agent.exe", L"C:\\Tools\\", {L"agent.exe"}},                   // one file
        {L"C:\\Tools\\agent.exe\0\0"s, L"C:\\Tools\\", {L"agent.exe"}},              // one file, explorer style
        {L"agent.exe", L"", {L"agent.exe"}},                                         // no "\"
        {L"C:\\Pick\0a.exe\0\0stale\0x.exe"s, L"C:\\Pick", {L"a.exe"}},              // ends at the two NULs
    };
    for (const auto& c : cases) {
        const auto split = cFileDialog::SplitMultiFileName(c.filename);
        EXPECT_EQ(split.dir, c.dir) << c.filename.c_str();
        EXPECT_EQ(split.files, c.files) << c.filename.c_str();
    }

    cFileDialog dialog;
    dialog.Filename(L"C:\\Pick\0a.exe\0b.exe\0c.exe\0\0"s);
    std::wstring dir;
    std::vector<std::wstring> files;
    long count = 0;
    dialog.ParseMultiFileName(dir, files, count);
    EXPECT_EQ(dir, L"C:\\Pick");
    EXPECT_EQ(files, (std::vector<std::wstring>{L"a.exe", L"b.exe", L"c.exe"}));
    EXPECT_EQ(count, 3);
}

TEST(cFileDialogSeam, PropertiesReachTheDialogAndTheAnswerComesBack) {
    TestSeam seam;
    seam.dialogAnswers.push_back({true, L"C:\\Tools\\agent.exe", 2});
    cFileDialog dialog;
    EXPECT_FALSE(dialog.CancelError());
    EXPECT_EQ(dialog.FilterIndex(), 1);
    const HWND owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    dialog.Filename(L"");
    dialog.flags(4096);
    dialog.hwnd(owner);
    dialog.CancelError(false);
    dialog.DialogTitle(L"Select an application");
    dialog.Filter(L"Application Executable (*.exe)|*.exe| All Files (*.*)|*.*|");
    dialog.InitDir(L"C:\\Tools");
    EXPECT_FALSE(dialog.ShowOpen());
    ASSERT_EQ(seam.dialogs.size(), 1u);
    const auto& r = seam.dialogs[0];
    EXPECT_FALSE(r.save);
    EXPECT_EQ(r.owner, owner);
    EXPECT_EQ(r.title, L"Select an application");
    EXPECT_EQ(r.filter, cFileDialog::FilterText(dialog.Filter()));
    EXPECT_EQ(r.flags, 4096u);
    EXPECT_EQ(r.initialDir, L"C:\\Tools");
    EXPECT_EQ(r.fileName, L"");
    EXPECT_EQ(dialog.Filename(), L"C:\\Tools\\agent.exe");
    EXPECT_EQ(dialog.FilterIndex(), 2);
    EXPECT_EQ(dialog.Filter(), L"Application Executable (*.exe)|*.exe| All Files (*.*)|*.*|");  // as set

    // A save names one file, whatever the flags say.
    seam.dialogAnswers.push_back({true, L"C:\\Lists\\startups.csv", 1});
    dialog.flags(cFileDialog::kAllowMultiSelect | 2);
    dialog.DefaultExt(L"csv");
    EXPECT_FALSE(dialog.ShowSave());
    ASSERT_EQ(seam.dialogs.size(), 2u);
    EXPECT_TRUE(seam.dialogs[1].save);
    EXPECT_EQ(seam.dialogs[1].flags, 2u);
    EXPECT_EQ(seam.dialogs[1].defaultExt, L"csv");
    EXPECT_EQ(seam.dialogs[1].fileName, L"C:\\Tools\\agent.exe");  // the last name is proposed
    EXPECT_EQ(dialog.Filename(), L"C:\\Lists\\startups.csv");
}

TEST(cFileDialogSeam, CancelKeepsFilenameAndGivesTheErrorOnlyWhenAsked) {
    for (const bool save : {false, true}) {
        for (const bool cancelError : {false, true}) {
            TestSeam seam;  // no answer queued: the dialog is cancelled
            cFileDialog dialog;
            dialog.Filename(L"C:\\Tools\\typed.exe");
            dialog.CancelError(cancelError);
            const auto error = save ? dialog.ShowSave() : dialog.ShowOpen();
            SCOPED_TRACE(testing::Message() << "save " << save << ", CancelError " << cancelError);
            EXPECT_EQ(seam.dialogs.size(), 1u);
            EXPECT_EQ(dialog.Filename(), L"C:\\Tools\\typed.exe");
            ASSERT_EQ(error.has_value(), cancelError);
            if (!error) continue;
            EXPECT_EQ(error->number, 32755);
            EXPECT_EQ(error->description, L"User selected cancel.");
            EXPECT_EQ(error->source, L"Corvell.cFileDialog");
        }
    }
}

// The real dialogs, answered from a helper thread: it waits for the dialog with the title,
// records what its name box shows, types a name (when given) and presses OK, or Cancel.
class RealDialog : public testing::Test {
protected:
    void SetUp() override {
        folder = TestUtil::ProgramFolder() + L"\\pick";
        CreateDirectoryW(folder.c_str(), nullptr);
        for (const wchar_t* name : {L"a.exe", L"b.exe", L"c.exe", L"agent.exe"}) {
            const std::wstring path = folder + L"\\" + name;
            UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        }
    }
    void TearDown() override {
        if (helper.joinable()) helper.join();
    }

    void Answer(const std::wstring& title, const std::wstring& typed, int button = IDOK) {
        found = false;
        leftOpen = false;
        helper = std::thread([this, title, typed, button] {
            // Shown only once it is filled in; a loaded machine may take a while to get there.
            HWND dialog = nullptr;
            for (int i = 0; i < 1200 && !dialog; ++i) {
                dialog = FindWindowW(L"#32770", title.c_str());
                if (dialog && !IsWindowVisible(dialog)) dialog = nullptr;
                if (!dialog) Sleep(25);
            }
            if (!dialog) return;
            found = true;
            HWND nameBox = GetDlgItem(dialog, cmb13);
            if (!nameBox) nameBox = GetDlgItem(dialog, edt1);
            wchar_t shown[1024] = {};
            GetWindowTextW(nameBox, shown, 1024);
            shownName = shown;
            if (!typed.empty()) SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
            // Posted: OK may open a message box, and the helper must not wait for it.
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
            for (int i = 0; i < 1200 && IsWindow(dialog); ++i) Sleep(25);
            // Still open (a message box over it, say): cancel everything, so the case fails
            // instead of waiting for a person.
            const DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
            for (int i = 0; i < 50 && IsWindow(dialog); ++i) {
                leftOpen = true;
                EnumThreadWindows(thread, [](HWND w, LPARAM) -> BOOL {
                    PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
                    return TRUE;
                }, 0);
                Sleep(100);
            }
        });
    }

    // Waits for the helper: true when it found the dialog and the button closed it.
    bool Answered() {
        helper.join();
        return found && !leftOpen;
    }

    std::wstring folder;
    std::thread helper;
    std::atomic<bool> found{false};
    std::atomic<bool> leftOpen{false};
    std::wstring shownName;
};

TEST_F(RealDialog, PrefilledNameComesBack) {
    cFileDialog dialog;
    dialog.Filename(folder + L"\\agent.exe");
    dialog.flags(cFileDialog::kFileMustExist);
    dialog.DialogTitle(L"Select an application");
    dialog.Filter(L"Application Executable (*.exe)|*.exe| All Files (*.*)|*.*|");
    Answer(L"Select an application", L"");
    EXPECT_FALSE(dialog.ShowOpen());
    ASSERT_TRUE(Answered());
    EXPECT_NE(shownName.find(L"agent.exe"), std::wstring::npos) << shownName.c_str();
    EXPECT_EQ(dialog.Filename(), folder + L"\\agent.exe");
}

TEST_F(RealDialog, ThreeFilesChosenTogetherAreTakenApart) {
    cFileDialog dialog;
    dialog.flags(cFileDialog::kAllowMultiSelect | cFileDialog::kFileMustExist);
    dialog.DialogTitle(L"Pick several");
    dialog.InitDir(folder);
    Answer(L"Pick several", L"\"a.exe\" \"b.exe\" \"c.exe\"");
    EXPECT_FALSE(dialog.ShowOpen());
    ASSERT_TRUE(Answered());
    std::wstring dir;
    std::vector<std::wstring> files;
    long count = 0;
    dialog.ParseMultiFileName(dir, files, count);
    EXPECT_EQ(dir, folder);  // no trailing "\" before several names
    EXPECT_EQ(files, (std::vector<std::wstring>{L"a.exe", L"b.exe", L"c.exe"}));
    EXPECT_EQ(count, 3);

    // One file with several allowed: the folder with its "\" and the name.
    dialog.Filename(L"");
    Answer(L"Pick several", L"\"b.exe\"");
    EXPECT_FALSE(dialog.ShowOpen());
    ASSERT_TRUE(Answered());
    dialog.ParseMultiFileName(dir, files, count);
    EXPECT_EQ(dir, folder + L"\\");
    EXPECT_EQ(files, (std::vector<std::wstring>{L"b.exe"}));
    EXPECT_EQ(count, 1);
}

TEST_F(RealDialog, SaveAddsTheDefaultExtensionAndCancelKeepsTheName) {
    cFileDialog dialog;
    dialog.DialogTitle(L"Save the list");
    dialog.Filter(L"CSV File (*.csv)|*.csv|");
    dialog.DefaultExt(L"csv");
    dialog.InitDir(folder);
    Answer(L"Save the list", folder + L"\\startups");
    EXPECT_FALSE(dialog.ShowSave());
    ASSERT_TRUE(Answered());
    EXPECT_EQ(dialog.Filename(), folder + L"\\startups.csv");

    dialog.CancelError(true);
    Answer(L"Save the list", L"", IDCANCEL);
    const auto error = dialog.ShowSave();
    ASSERT_TRUE(Answered());
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number, 32755);
    EXPECT_EQ(dialog.Filename(), folder + L"\\startups.csv");
}

} // namespace
