// Writing a whole file so that a failure never leaves it half written.
#pragma once

#include <windows.h>
#include <string>
#include <string_view>

namespace SafeFile {

// Makes bytes the whole content of the file at path. The bytes go to a temporary file in the
// same folder, which takes the file's place (or, when there is none, its name) only once every
// byte is written and read back. Returns ERROR_SUCCESS, or the error of the step that failed;
// then the file at path is as it was and no temporary file is left. The one exception is
// ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: neither file could take the name, so the old one is kept
// beside it under a temporary name ending ".tmp.old" and the new one under that name without ".old".
[[nodiscard]] DWORD Write(const std::wstring& path, std::string_view bytes);

} // namespace SafeFile
