// The heading, tabs, file panel and boxes both properties dialogs share.
#include "mainwindow/PropertiesSheet.h"

#include "system/Paths.h"

bool PropertiesSheet::CreateSheet(HWND dialog, const Ids& ids, std::initializer_list<const wchar_t*> tabCaptions,
                                  const wchar_t* const (&fieldCaptions)[4]) {
    Label9 = DialogSupport::AddChild(dialog, WC_STATICW, L"", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, ids.label9,
                                     {120, 120, 6360, 300});
    tabs.Create(dialog, ids.tabStrip1, ids.frame2, {120, 540, 6360, 4380}, tabCaptions);
    if (tabs.Frame2.size() != tabCaptions.size() || tabs.Frame2.size() <= kFieldsTab) return false;
    panel.Create(tabs.Frame2[0], ids.lblInfo, tabs.FrameWidth());

    HWND frame = tabs.Frame2[kFieldsTab];
    const int width = tabs.FrameWidth() - 2 * kMargin;
    HWND* const boxes[] = {&txtName, &txtFileName, &txtSwitch, &txtCurrent};
    for (int i = 0; i < 4; ++i) {
        *boxes[i] = DialogSupport::AddCaptionedBox(frame, fieldCaptions[i], ids.firstField + 2 * i, WC_EDITW,
                                                   kReadOnlyBox, ids.firstField + 2 * i + 1,
                                                   {kMargin, kFirstTop + i * kRowHeight, width, kBoxHeight});
    }
    return true;
}

void PropertiesSheet::LoadProgram(HWND dialog, const std::wstring& program, FileProperties::NameRule nameRule) {
    // Windows starts "%SystemRoot%\..." with the variables put in, so the file is read there too.
    panel.Load(dialog, MyMod::ExpandEnvironment(program), nameRule);
    toolTips.Set(panel.txtInfo[3], DialogSupport::WindowText(panel.txtInfo[3]));
    toolTips.Set(txtFileName, program);
}
