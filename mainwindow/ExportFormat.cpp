// The text and CSV formats of an exported list and the code page its file is written in.
#include "mainwindow/ExportFormat.h"

#include "system/Text.h"


namespace ExportFormat {
namespace {

constexpr wchar_t kLineEnd[] = L"\r\n";
constexpr wchar_t kTextSeparator[] = L" - ";
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

const std::wstring& Field(const Row& row, size_t column) {
    static const std::wstring empty;
    return column < row.size() ? row[column] : empty;
}

// A CSV field: quoted, each quote inside doubled, so a quote or comma cannot end it early.
void AppendCsvField(std::wstring& out, const std::wstring& field) {
    out += L'"';
    out += Text::ReplaceAll(field, L"\"", L"\"\"");
    out += L"\",";
}

} // namespace

std::string TextExportFormat(const std::vector<std::wstring>& headers, const std::vector<Row>& rows) {
    std::wstring text = L"- ";
    for (const std::wstring& header : headers) text += header + kTextSeparator;
    text += kLineEnd;
    for (const Row& row : rows) {
        for (size_t column = 0; column < headers.size(); ++column) {
            if (column > 0) text += kTextSeparator;
            text += Field(row, column);
        }
        text += kLineEnd;
    }
    text += kLineEnd;
    return FileBytes(text);
}

std::string CsvExportFormat(const std::vector<std::wstring>& headers, const std::vector<Row>& rows) {
    std::wstring text;
    for (const std::wstring& header : headers) AppendCsvField(text, header);
    text += kLineEnd;
    for (const Row& row : rows) {
        for (size_t column = 0; column < headers.size(); ++column) AppendCsvField(text, Field(row, column));
        text += kLineEnd;
    }
    return FileBytes(text);
}

std::string FileBytes(std::wstring_view text) {
    if (const auto ansi = Text::ToAnsi(text)) return *ansi;
    return kUtf8Mark + Text::ToUtf8(text);
}

} // namespace ExportFormat
