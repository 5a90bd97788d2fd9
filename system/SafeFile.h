// Writing a whole file so that a failure never leaves it half written.
#pragma once

#include <windows.h>
#include <string>
#include <string_view>

namespace SafeFile {

// Makes bytes the whole content of the file at path. The bytes go to a temporary file in the
// same folder, which takes the file's place (or, when there is none, its name) only once every
// byte is written and read back. Returns ERROR_SUCCESS, or the error of the step that failed;
// then the file at path is as it was and no temporary file is left.
[[nodiscard]] DWORD Write(const std::wstring& path, std::string_view bytes);

} // namespace SafeFile
