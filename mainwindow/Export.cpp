// Form1's export of the "All Startups" list and the services list as text or CSV.
#include "mainwindow/Form1.h"

#include "mainwindow/ExportFormat.h"
#include "mainwindow/ListView.h"
#include "system/App.h"
#include "system/SafeFile.h"
#include "system/Seam.h"
#include "system/Text.h"
#include "system/cFileDialog.h"

#include <commdlg.h>

namespace {

constexpr wchar_t kSaveStartupsAs[] = L"Save Startups as";
constexpr wchar_t kSaveServicesAs[] = L"Save Services as";
constexpr wchar_t kSaveFailed[] = L"Could not save the list to ";
constexpr wchar_t kSaveFailedEnd[] = L"     ";

// The dialog asks before it replaces a file, and the folder of a typed name must exist.
constexpr DWORD kSaveFlags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;

struct Format {
    const wchar_t* filter;
    const wchar_t* defaultExt;  // added by the dialog to a name typed without one
    std::string (*bytes)(const std::vector<std::wstring>& headers, const std::vector<ExportFormat::Row>& rows);
};
constexpr Format kText{L"Text File (*.txt)|*.txt|", L"txt", &ExportFormat::TextExportFormat};
constexpr Format kCsv{L"CSV File (*.csv)|*.csv|", L"csv", &ExportFormat::CsvExportFormat};

// The rows in the order the list shows them, one field per column.
std::vector<ExportFormat::Row> RowsOf(HWND list, size_t columns) {
    std::vector<ExportFormat::Row> rows(static_cast<size_t>(ListView::Count(list)));
    for (size_t row = 0; row < rows.size(); ++row)
        for (size_t column = 0; column < columns; ++column)
            rows[row].push_back(ListView::Text(list, static_cast<int>(row), static_cast<int>(column)));
    return rows;
}

// Asks for a file name and writes the whole list into it; a cancel writes nothing. A file that
// cannot be written is reported, and whatever stood under that name stays as it was.
void ExportList(HWND owner, HWND list, const wchar_t* title, const Format& format) {
    // The rows shown when the command was chosen: the list may be loaded again while the dialog waits.
    const std::vector<std::wstring> headers = ListView::ColumnHeaders(list);
    const std::vector<ExportFormat::Row> rows = RowsOf(list, headers.size());

    cFileDialog dialog;
    dialog.Filename(L"");
    dialog.flags(kSaveFlags);
    dialog.hwnd(owner);
    dialog.CancelError(false);
    dialog.DialogTitle(title);
    dialog.DefaultExt(format.defaultExt);
    dialog.Filter(format.filter);
    (void)dialog.ShowSave();  // without CancelError a cancel only leaves Filename empty
    const std::wstring path = dialog.Filename();
    if (path.empty()) return;

    const DWORD error = SafeFile::Write(path, format.bytes(headers, rows));
    if (error != ERROR_SUCCESS)
        Seam::ShowMessage(owner, kSaveFailed + path + L"  " + Text::SystemMessage(error) + kSaveFailedEnd,
                          App::Title(), MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

// While lv2 or lv is being filled (or emptied for another view) an export would save half a list or
// none: it does nothing then.
void Form1::mnuExportText_Click() {
    if (!IsBusy()) ExportList(hwnd_, lv2, kSaveStartupsAs, kText);
}

void Form1::mnuExportCSV_Click() {
    if (!IsBusy()) ExportList(hwnd_, lv2, kSaveStartupsAs, kCsv);
}

void Form1::mnuExportTextSrv_Click() {
    if (!IsBusy()) ExportList(hwnd_, lv, kSaveServicesAs, kText);
}

void Form1::mnuExportCSVSsrv_Click() {
    if (!IsBusy()) ExportList(hwnd_, lv, kSaveServicesAs, kCsv);
}
