// Removal of files and folders that read-only, hidden and system files obey too.
#pragma once

#include <string>

namespace Files {

// True when nothing is at the path (neither it nor its folder is there); false also when that
// cannot be told (access denied).
[[nodiscard]] bool IsMissing(const std::wstring& path);
// Deletes a file whatever its attributes; a file that is not there counts as deleted. True when
// no file is left at the path (a file that stays keeps its attributes).
[[nodiscard]] bool RemoveFile(const std::wstring& path);
// Deletes a folder with everything in it; a folder that is not there counts as deleted. True
// when nothing is left at the path.
bool RemoveFolder(const std::wstring& path);

} // namespace Files
