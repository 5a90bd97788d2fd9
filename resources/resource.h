// Resource ids shared by Corvell.rc and the code.
#pragma once

#define IDI_CORVELL 1
// The pointing hand shown over links (hot spot at the finger tip, 6, 0).
#define IDCUR_LINKHAND 101
