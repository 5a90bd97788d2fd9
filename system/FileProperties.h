// The texts of the "File Properties" panel of the property dialogs, read from one program
// file, and the byte count written in its largest fitting unit.
#pragma once

#include <array>
#include <string>

namespace KB_MB {

// Below 1024: the whole number and " bytes"; else the size in the largest unit it reaches
// (" KB" to " YB", each boundary counting to the larger unit) with two decimals.
[[nodiscard]] std::wstring FormatSize(double bytes);

} // namespace KB_MB

namespace FileProperties {

inline constexpr int kFieldCount = 8;
// Fields: 0 name, 1 product version, 2 company, 3 copyright, 4 file OS, 5 type, 6 size, 7 created.
// They are read in this order; the first that cannot be read ends the reading.
inline constexpr std::array<int, kFieldCount> kFillOrder{0, 1, 2, 5, 4, 6, 3, 7};
inline constexpr wchar_t kFilePathNotFound[] = L"File Path Not Found     ";

// What field 0 shows: the file's own name, or the name its version resource gives.
enum class NameRule { FileName, OriginalFileName };

struct Texts {
    std::array<std::wstring, kFieldCount> field;  // by field number; "" where not read
    int filled = 0;                               // how many fields of kFillOrder were read
    [[nodiscard]] bool Complete() const noexcept { return filled == kFieldCount; }
    [[nodiscard]] bool Filled(int fieldNumber) const noexcept;
};

// Reads the panel's texts for the file at path. A missing file reads fields 0, 1, 2, 5 and 4
// and stops before the size.
[[nodiscard]] Texts LoadFileProperties(const std::wstring& path, NameRule nameRule);

} // namespace FileProperties
