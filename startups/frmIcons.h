// frmIcons: the "Icon Legend" of the startup lists, the four state icons with what each means.
#pragma once

#include "mainwindow/LegendDialog.h"
#include "resources/Images.h"

class frmIcons : public LegendDialog<frmIcons> {
public:
    static constexpr wchar_t kClassName[] = L"CorvellfrmIcons";
    // From top to bottom: the row icon of lv2 and lv3 (ImageList1, by number) and its meaning.
    static constexpr int kIconNumbers[kRows] = {Images::kIconEnabledRunning, Images::kIconEnabled,
                                                 Images::kIconDisabledRunning, Images::kIconDisabled};
    static constexpr const wchar_t* kTexts[kRows] = {
        L"Automatic Start Enabled and Running",
        L"Automatic Start Enabled and not Running",
        L"Automatic Start Disabled and Running",
        L"Automatic Start Disabled and not Running",
    };

    using LegendDialog::LegendDialog;
};
