// Export of the "All Startups" list and the services list: the bytes of both formats, and the
// four commands through the recorded seam against real files.
#include "TestSeam.h"
#include "TestUtil.h"
#include "mainwindow/ExportFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

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

} // namespace
