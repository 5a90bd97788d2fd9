// The two file formats of an exported list, from its column headers and rows to the file's bytes.
// No window is involved, so the bytes can be checked without one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ExportFormat {

// One row of a list: the item's text, then its sub-items 1, 2, ... in column order.
using Row = std::vector<std::wstring>;

// Every row is written with one field per header: missing fields are empty, extra ones dropped.
//
// Text: the line "- " followed by each header and " - ", then one line per row with its fields
// joined by " - ", then one empty line; every line ends with CR LF.
[[nodiscard]] std::string TextExportFormat(const std::vector<std::wstring>& headers, const std::vector<Row>& rows);
// CSV: the header record, then one record per row; every field in double quotes with each quote
// inside doubled, every field followed by a comma (the last one too), every record by CR LF.
[[nodiscard]] std::string CsvExportFormat(const std::vector<std::wstring>& headers, const std::vector<Row>& rows);

// The bytes a file of that text is written as: the ANSI code page when it holds every character
// exactly, else UTF-8 after its byte-order mark, so no character becomes "?" or a look-alike.
[[nodiscard]] std::string FileBytes(std::wstring_view text);

} // namespace ExportFormat
