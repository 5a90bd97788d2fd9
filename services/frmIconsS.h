// frmIconsS: the "Icon Legend" of the services list, the four service icons with what each means.
#pragma once

#include "mainwindow/LegendDialog.h"
#include "resources/Images.h"

class frmIconsS : public LegendDialog<frmIconsS> {
public:
    static constexpr wchar_t kClassName[] = L"CorvellfrmIconsS";
    // From top to bottom: the row icon of lv (ImageList1, by number) and its meaning.
    static constexpr int kIconNumbers[kRows] = {Images::kIconServiceAutomatic, Images::kIconServiceManualRunning,
                                                 Images::kIconServiceManual, Images::kIconServiceDisabled};
    static constexpr const wchar_t* kTexts[kRows] = {
        L"Automatic Start and Running",
        L"Manual Start and Running",
        L"Manual Start and not Running",
        L"Disabled and not Running",
    };

    using LegendDialog::LegendDialog;
};
