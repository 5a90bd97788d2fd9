// Export of the "All Startups" list and the services list: the bytes of both formats, and the
// four commands through the recorded seam against real files.
#include "ServiceFixtures.h"
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ExportFormat.h"
#include "mainwindow/ListView.h"
#include "mainwindow/MenuIds.h"
#include "system/App.h"
#include "system/Paths.h"
#include "system/Text.h"

#include <gtest/gtest.h>
#include <commdlg.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using ExportFormat::Row;

const std::vector<std::wstring> kStartupHeaders = {L"Application", L"Application Path", L"Registry Key or User Path",
                                                   L"Date Detected"};
const std::vector<std::wstring> kServiceHeaders = {L"Display Name",       L"Service Name",      L"Status",
                                                   L"Setting",            L"Depends on Service", L"Dependant Services",
                                                   L"Service Path",       L"Date First Detected"};

constexpr char kStartupTextHeader[] = "- Application - Application Path - Registry Key or User Path - Date Detected - \r\n";
constexpr char kStartupCsvHeader[] =
    "\"Application\",\"Application Path\",\"Registry Key or User Path\",\"Date Detected\",\r\n";

TEST(ExportFormatTest, TextAndCsvBytesOfEachList) {
    const struct {
        const char* name;
        const std::vector<std::wstring>& headers;
        std::vector<Row> rows;
        std::string text;
        std::string csv;
    } cases[] = {
        {"empty startups", kStartupHeaders, {}, std::string(kStartupTextHeader) + "\r\n", kStartupCsvHeader},
        {"one startup",
         kStartupHeaders,
         {{L"A", L"B", L"C", L"D"}},
         std::string(kStartupTextHeader) + "A - B - C - D\r\n\r\n",
         std::string(kStartupCsvHeader) + "\"A\",\"B\",\"C\",\"D\",\r\n"},
        {"rows in their order, a comma and quotes",
         kStartupHeaders,
         {{L"Tool, Pro", L"say \"hi\"", L"", L"\""}, {L"Second", L"x", L"y", L"z"}},
         std::string(kStartupTextHeader) + "Tool, Pro - say \"hi\" -  - \"\r\nSecond - x - y - z\r\n\r\n",
         std::string(kStartupCsvHeader) + "\"Tool, Pro\",\"say \"\"hi\"\"\",\"\",\"\"\"\",\r\n" +
             "\"Second\",\"x\",\"y\",\"z\",\r\n"},
        // Code page 1252 holds "é" as the byte E9: the file stays ANSI, with no byte-order mark.
        {"a character of the code page",
         kStartupHeaders,
         {{L"Caf\u00e9", L"C:\\Caf\u00e9\\run.exe", L"HKLM\\Run", L"1/2/2026"}},
         std::string(kStartupTextHeader) + "Caf\xE9 - C:\\Caf\xE9\\run.exe - HKLM\\Run - 1/2/2026\r\n\r\n",
         std::string(kStartupCsvHeader) + "\"Caf\xE9\",\"C:\\Caf\xE9\\run.exe\",\"HKLM\\Run\",\"1/2/2026\",\r\n"},
        // "Ω" has no place in it: the whole file is UTF-8 ("é" included) after the mark.
        {"a character outside the code page",
         kStartupHeaders,
         {{L"\u03a9 Caf\u00e9", L"B", L"C", L"D"}},
         "\xEF\xBB\xBF" + std::string(kStartupTextHeader) + "\xCE\xA9 Caf\xC3\xA9 - B - C - D\r\n\r\n",
         "\xEF\xBB\xBF" + std::string(kStartupCsvHeader) + "\"\xCE\xA9 Caf\xC3\xA9\",\"B\",\"C\",\"D\",\r\n"},
        {"one service",
         kServiceHeaders,
         {{L"Corvell Test", L"CorvellTest", L"Running", L"Manual", L"RpcSs", L"", L"C:\\svc.exe", L"1/2/2026 10:00:00"}},
         "- Display Name - Service Name - Status - Setting - Depends on Service - Dependant Services - Service Path - "
         "Date First Detected - \r\n"
         "Corvell Test - CorvellTest - Running - Manual - RpcSs -  - C:\\svc.exe - 1/2/2026 10:00:00\r\n\r\n",
         "\"Display Name\",\"Service Name\",\"Status\",\"Setting\",\"Depends on Service\",\"Dependant Services\","
         "\"Service Path\",\"Date First Detected\",\r\n"
         "\"Corvell Test\",\"CorvellTest\",\"Running\",\"Manual\",\"RpcSs\",\"\",\"C:\\svc.exe\",\"1/2/2026 10:00:00\",\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ExportFormat::TextExportFormat(c.headers, c.rows), c.text);
        EXPECT_EQ(ExportFormat::CsvExportFormat(c.headers, c.rows), c.csv);
    }
}

// ---- The four commands ----

const std::wstring kFolder = L"C:\\corvell\\exports";
const std::wstring kSaveFailed = L"Could not save the list to ";
const std::wstring kFiveBlanks = L"     ";
constexpr DWORD kSaveFlags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;

const std::vector<Row> kStartupRows = {{L"Alpha", L"C:\\a.exe", L"HKLM\\Run", L"1/1/2026"},
                                       {L"Beta", L"C:\\b.exe", L"HKCU\\Run", L"2/2/2026"}};
const std::vector<Row> kServiceRows = {
    {L"Corvell Export", L"CorvellExport", L"Stopped", L"Manual", L"", L"", L"C:\\svc.exe", L"3/3/2026"}};

struct Command {
    const char* name;
    void (Form1::*click)();
    HWND Form1::*list;
    std::wstring title;
    std::wstring filter;  // as the dialog gets it
    std::wstring defaultExt;
    std::string bytes;    // the file the rows above give
};

const Command kCommands[] = {
    {"mnuExportText_Click", &Form1::mnuExportText_Click, &Form1::lv2, L"Save Startups as",
     L"Text File (*.txt)\0*.txt\0\0\0"s, L"txt",
     std::string(kStartupTextHeader) + "Alpha - C:\\a.exe - HKLM\\Run - 1/1/2026\r\n" +
         "Beta - C:\\b.exe - HKCU\\Run - 2/2/2026\r\n\r\n"},
    {"mnuExportCSV_Click", &Form1::mnuExportCSV_Click, &Form1::lv2, L"Save Startups as",
     L"CSV File (*.csv)\0*.csv\0\0\0"s, L"csv",
     std::string(kStartupCsvHeader) + "\"Alpha\",\"C:\\a.exe\",\"HKLM\\Run\",\"1/1/2026\",\r\n" +
         "\"Beta\",\"C:\\b.exe\",\"HKCU\\Run\",\"2/2/2026\",\r\n"},
    {"mnuExportTextSrv_Click", &Form1::mnuExportTextSrv_Click, &Form1::lv, L"Save Services as",
     L"Text File (*.txt)\0*.txt\0\0\0"s, L"txt",
     "- Display Name - Service Name - Status - Setting - Depends on Service - Dependant Services - Service Path - "
     "Date First Detected - \r\nCorvell Export - CorvellExport - Stopped - Manual -  -  - C:\\svc.exe - 3/3/2026\r\n\r\n"},
    {"mnuExportCSVSsrv_Click", &Form1::mnuExportCSVSsrv_Click, &Form1::lv, L"Save Services as",
     L"CSV File (*.csv)\0*.csv\0\0\0"s, L"csv",
     "\"Display Name\",\"Service Name\",\"Status\",\"Setting\",\"Depends on Service\",\"Dependant Services\","
     "\"Service Path\",\"Date First Detected\",\r\n"
     "\"Corvell Export\",\"CorvellExport\",\"Stopped\",\"Manual\",\"\",\"\",\"C:\\svc.exe\",\"3/3/2026\",\r\n"},
};

std::string Bytes(const std::wstring& path) { return MyMod::ReadWholeFile(path).value_or("<unreadable>"); }

void PutFile(const std::wstring& path, const std::string& bytes) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD done = 0;
    ASSERT_TRUE(file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr));
}

// The names in a folder, sorted; a temporary file left behind shows here.
std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find) return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find.get(), &data));
    std::sort(names.begin(), names.end());
    return names;
}

void EmptyFolder(const std::wstring& folder) {
    for (const std::wstring& name : FilesIn(folder)) {
        const std::wstring path = folder + L"\\" + name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileW(path.c_str())) RemoveDirectoryW(path.c_str());
    }
}

Seam::FileDialogResult Chosen(const std::wstring& path) {
    Seam::FileDialogResult answer;
    answer.ok = true;
    answer.fileName = path;
    return answer;
}

// A live main window whose two lists hold the rows above; the files go to kFolder.
class ExportCommandTest : public testing::Test {
protected:
    void SetUp() override {
        TestUtil::FreshSettings();
        CreateDirectoryW(kFolder.c_str(), nullptr);
        EmptyFolder(kFolder);
        live = std::make_unique<TestUtil::LiveForm>();
        Fill(form().lv2, kStartupRows);
        Fill(form().lv, kServiceRows);
        seam.messages.clear();
    }
    void TearDown() override {
        live.reset();
        EmptyFolder(kFolder);
    }

    static void Fill(HWND list, const std::vector<Row>& rows) {
        ListView::Clear(list);
        for (const Row& row : rows) ListView::AddRow(list, row[0], 1, std::vector<std::wstring>(row.begin() + 1, row.end()));
    }
    Form1& form() { return live->form; }
    void Run(const Command& command) { (form().*command.click)(); }

    TestSeam seam;
    std::unique_ptr<TestUtil::LiveForm> live;
};

TEST_F(ExportCommandTest, EachCommandAsksForItsFileAndACancelWritesNothing) {
    for (const Command& command : kCommands) {
        SCOPED_TRACE(command.name);
        seam.dialogs.clear();
        seam.dialogAnswers.push_back({});  // cancelled
        Run(command);
        ASSERT_EQ(seam.dialogs.size(), 1u);
        const Seam::FileDialogRequest& asked = seam.dialogs[0];
        EXPECT_TRUE(asked.save);
        EXPECT_EQ(asked.owner, form().hwnd());
        EXPECT_EQ(asked.title, command.title);
        EXPECT_EQ(asked.filter, command.filter);
        EXPECT_EQ(asked.defaultExt, command.defaultExt);
        EXPECT_EQ(asked.flags, kSaveFlags);
        EXPECT_EQ(asked.fileName, L"");
        EXPECT_TRUE(seam.messages.empty());
        EXPECT_TRUE(FilesIn(kFolder).empty());
    }
}

TEST_F(ExportCommandTest, EachCommandWritesTheWholeListAsANewFileOrOverALongerOne) {
    for (const Command& command : kCommands) {
        for (const bool existing : {false, true}) {
            SCOPED_TRACE(std::string(command.name) + (existing ? " over a longer file" : " as a new file"));
            EmptyFolder(kFolder);
            const std::wstring path = kFolder + L"\\list." + command.defaultExt;
            if (existing) PutFile(path, std::string(command.bytes.size() * 3, 'x'));
            seam.dialogAnswers.push_back(Chosen(path));
            Run(command);
            EXPECT_TRUE(seam.messages.empty());
            EXPECT_EQ(Bytes(path), command.bytes);
            EXPECT_EQ(FilesIn(kFolder), std::vector<std::wstring>{L"list." + command.defaultExt});
        }
    }
}

// The list may be filled again while the Save dialog waits: the file holds the rows shown when
// the command was chosen.
TEST_F(ExportCommandTest, TheFileHoldsTheRowsShownWhenTheCommandWasChosen) {
    for (const Command& command : kCommands) {
        SCOPED_TRACE(command.name);
        const HWND list = form().*command.list;
        const std::vector<Row>& rows = list == form().lv2 ? kStartupRows : kServiceRows;
        const std::wstring path = kFolder + L"\\later." + command.defaultExt;
        seam.onFileDialog = [list](const Seam::FileDialogRequest&) {
            ListView::Clear(list);
            ListView::AddRow(list, L"Loaded meanwhile", 1, {L"C:\\later.exe"});
        };
        seam.dialogAnswers.push_back(Chosen(path));
        Run(command);
        seam.onFileDialog = nullptr;
        EXPECT_TRUE(seam.messages.empty());
        EXPECT_EQ(Bytes(path), command.bytes);
        Fill(list, rows);
    }
}

TEST_F(ExportCommandTest, AFileHeldOpenIsReportedAndKeepsItsBytes) {
    for (const Command& command : kCommands) {
        SCOPED_TRACE(command.name);
        seam.messages.clear();
        const std::wstring path = kFolder + L"\\held." + command.defaultExt;
        PutFile(path, "the old list");
        {
            UniqueHandle held(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(held);
            seam.dialogAnswers.push_back(Chosen(path));
            Run(command);
        }
        ASSERT_EQ(seam.messages.size(), 1u);
        EXPECT_EQ(seam.messages[0].text,
                  kSaveFailed + path + L"  " + Text::SystemMessage(ERROR_SHARING_VIOLATION) + kFiveBlanks);
        EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(seam.messages[0].caption, App::Title());
        EXPECT_EQ(Bytes(path), "the old list");
        EXPECT_EQ(FilesIn(kFolder), std::vector<std::wstring>{L"held." + command.defaultExt});
        DeleteFileW(path.c_str());
    }
}

TEST_F(ExportCommandTest, AFolderThatDoesNotExistIsReportedAndNothingIsWritten) {
    for (const Command& command : kCommands) {
        SCOPED_TRACE(command.name);
        seam.messages.clear();
        const std::wstring path = kFolder + L"\\missing\\list." + command.defaultExt;
        seam.dialogAnswers.push_back(Chosen(path));
        Run(command);
        ASSERT_EQ(seam.messages.size(), 1u);
        const std::wstring& text = seam.messages[0].text;
        const std::wstring start = kSaveFailed + path + L"  ";
        ASSERT_GT(text.size(), start.size() + kFiveBlanks.size());
        EXPECT_EQ(text.substr(0, start.size()), start);
        EXPECT_EQ(text.substr(text.size() - kFiveBlanks.size()), kFiveBlanks);
        EXPECT_NE(text[start.size()], L' ');  // the system's reason stands between them
        EXPECT_EQ(seam.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_TRUE(FilesIn(kFolder).empty());
    }
}

TEST_F(ExportCommandTest, AnExportAskedWhileItsListIsFilledDoesNothing) {
    // The startup exports, asked in the middle of an "All Startups" dispatch.
    int asked = 0;
    form().onDispatchStep = [&](const wchar_t* step) {
        if (std::wstring(step) != L"MarkRunningStartups") return;
        ++asked;
        form().mnuExportText_Click();
        form().mnuExportCSV_Click();
    };
    for (int i = 0; i < 2; ++i) seam.dialogAnswers.push_back(Chosen(kFolder + L"\\startups.txt"));
    form().tvwDemo_NodeClick(L"one");
    form().onDispatchStep = nullptr;
    EXPECT_EQ(asked, 1);

    // The services exports, taken from the message queue while a services pass yields.
    for (const UINT id : {IDM_mnuExportTextSrv, IDM_mnuExportCSVSsrv})
        PostMessageW(form().hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    form().Command6_Click();
    TestUtil::Pump(50);

    EXPECT_TRUE(seam.dialogs.empty());
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_TRUE(FilesIn(kFolder).empty());

    // Once the fill is over, an export runs.
    form().mnuExportText_Click();
    EXPECT_EQ(seam.dialogs.size(), 1u);
    EXPECT_EQ(FilesIn(kFolder), std::vector<std::wstring>{L"startups.txt"});
}

TEST_F(ExportCommandTest, AServicesExportTakenUpWhileAnotherViewIsDispatchedLeavesTheFileAlone) {
    // lv is emptied as the dispatch starts; the commands are taken up while "All Startups" yields.
    const std::wstring path = kFolder + L"\\services.txt";
    PutFile(path, "the user's list");
    for (int i = 0; i < 2; ++i) seam.dialogAnswers.push_back(Chosen(path));
    bool posted = false;
    form().onDispatchStep = [&](const wchar_t*) {
        if (posted) return;
        posted = true;
        for (const UINT id : {IDM_mnuExportTextSrv, IDM_mnuExportCSVSsrv})
            PostMessageW(form().hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    };
    form().tvwDemo_NodeClick(L"one");
    form().onDispatchStep = nullptr;
    ASSERT_TRUE(posted);
    MSG left{};
    EXPECT_FALSE(PeekMessageW(&left, form().hwnd(), WM_COMMAND, WM_COMMAND, PM_NOREMOVE));  // both were taken up

    EXPECT_TRUE(seam.dialogs.empty());
    EXPECT_TRUE(seam.messages.empty());
    EXPECT_EQ(Bytes(path), "the user's list");
}

// ---- On the real window, through the menu ----

const std::wstring kRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// The rows as the list shows them, top to bottom, each cell as on screen.
std::vector<Row> ScreenRows(HWND list, int columns) {
    std::vector<Row> rows;
    for (int row = 0; row < ListView::Count(list); ++row) {
        rows.emplace_back();
        for (int column = 0; column < columns; ++column) rows.back().push_back(ListView::Text(list, row, column));
    }
    return rows;
}

void ExportFromMenu(Form1& form, TestSeam& seam, UINT id, const std::wstring& path) {
    seam.dialogAnswers.push_back(Chosen(path));
    SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

TEST(ExportOnScreenTest, AllStartupsRowsComeOutInTheOrderShown) {
    TestUtil::FreshSettings();
    TestUtil::PutString(HKEY_LOCAL_MACHINE, kRun, L"Corvell Export Machine", L"C:\\corvell\\machine.exe /q");
    TestUtil::PutString(HKEY_CURRENT_USER, kRun, L"Corvell Export User", L"C:\\corvell\\user.exe");
    CreateDirectoryW(kFolder.c_str(), nullptr);
    const std::wstring path = kFolder + L"\\startups.txt";
    TestSeam seam;
    {
        TestUtil::LiveForm live;
        Form1& form = live.form;
        form.tvwDemo_NodeClick(L"one");
        ASSERT_GE(ListView::FindRow(form.lv2, L"Corvell Export Machine"), 0);
        ASSERT_GE(ListView::FindRow(form.lv2, L"Corvell Export User"), 0);

        ExportFromMenu(form, seam, IDM_mnuExportText, path);
        std::wstring expected = L"- Application - Application Path - Registry Key or User Path - Date Detected - \r\n";
        for (const Row& row : ScreenRows(form.lv2, 4))
            expected += row[0] + L" - " + row[1] + L" - " + row[2] + L" - " + row[3] + L"\r\n";
        expected += L"\r\n";
        EXPECT_EQ(Text::FromAnsi(Bytes(path)), expected);
        EXPECT_TRUE(seam.messages.empty());
    }
    TestUtil::DeleteTree(HKEY_LOCAL_MACHINE, kRun);
    TestUtil::DeleteTree(HKEY_CURRENT_USER, kRun);
    EmptyFolder(kFolder);
}

class ExportServicesOnScreenTest : public ServiceFixtures::ServiceTest {};

TEST_F(ExportServicesOnScreenTest, ServicesRowsComeOutInTheSortOrderShown) {
    Install(L"CorvellExportA", L"Zulu Corvell Export");
    Install(L"CorvellExportZ", L"Alpha Corvell Export");
    CreateDirectoryW(kFolder.c_str(), nullptr);
    const std::wstring path = kFolder + L"\\services.csv";
    {
        TestUtil::LiveForm live;
        Form1& form = live.form;
        form.tvwDemo_NodeClick(L"six");
        form.mnuSortService_Click();  // by service name: CorvellExportA before CorvellExportZ
        ASSERT_LT(Row(form, L"CorvellExportA"), Row(form, L"CorvellExportZ"));

        ExportFromMenu(form, seam, IDM_mnuExportCSVSsrv, path);
        const auto quoted = [](const std::wstring& field) {
            return L"\"" + Text::ReplaceAll(field, L"\"", L"\"\"") + L"\",";
        };
        std::wstring expected;
        for (const std::wstring& header : kServiceHeaders) expected += quoted(header);
        expected += L"\r\n";
        for (const ExportFormat::Row& row : ScreenRows(form.lv, 8)) {
            for (const std::wstring& field : row) expected += quoted(field);
            expected += L"\r\n";
        }
        EXPECT_EQ(Text::FromAnsi(Bytes(path)), expected);
        EXPECT_TRUE(seam.messages.empty());
    }
    EmptyFolder(kFolder);
}

} // namespace
