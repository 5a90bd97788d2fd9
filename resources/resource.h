// Resource ids shared by Corvell.rc and the code.
#pragma once

#define IDI_CORVELL 1
