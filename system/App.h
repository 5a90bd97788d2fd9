// Facts about the running program: its title, folder, version and settings key.
#pragma once

#include <string>

namespace App {

[[nodiscard]] const std::wstring& Title();        // "Corvell"
[[nodiscard]] std::wstring Path();                // folder of the program file, no trailing "\"
[[nodiscard]] std::wstring ExeName();             // full path of the program file
// The first two numbers of the program file's version resource (0 when it has none).
[[nodiscard]] int Major();
[[nodiscard]] int Minor();
[[nodiscard]] int Revision();
// "HKEY_LOCAL_MACHINE\Software\Ferrowyn\Corvell": every setting of the program lives here.
[[nodiscard]] const std::wstring& AppKey();
[[nodiscard]] const std::wstring& MakerKey();     // "HKEY_LOCAL_MACHINE\Software\Ferrowyn"

} // namespace App
