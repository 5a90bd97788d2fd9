// Resource ids shared by Corvell.rc and the code.
#pragma once

#define IDI_CORVELL 1
#define CORVELL_VERSION_NUMBERS 1, 0, 0, 0
#define CORVELL_VERSION_TEXT "1.0.0.0"
