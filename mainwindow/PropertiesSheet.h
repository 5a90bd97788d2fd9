// What the properties dialogs of a startup and of a service share: the heading Label9, the tabs
// with the program file's panel on the first, and on the second four read-only boxes (the
// entry's name, its program, its switch, its current state), filled with their tooltips.
#pragma once

#include "mainwindow/Dialog.h"
#include "mainwindow/FilePropertiesPanel.h"
#include "mainwindow/TabFrames.h"

#include <initializer_list>
#include <string>

class PropertiesSheet {
public:
    static constexpr int kClientWidth = 6600;  // twips
    static constexpr int kClientHeight = 5040;
    static constexpr int kFieldsTab = 1;       // the tab of the four boxes

    HWND Label9 = nullptr;
    TabFrames tabs;
    FilePropertiesPanel panel;
    HWND txtName = nullptr;
    HWND txtFileName = nullptr;
    HWND txtSwitch = nullptr;
    HWND txtCurrent = nullptr;
    DialogSupport::ToolTips toolTips;

protected:
    // Places on a tab's frame, in twips, for the boxes a dialog adds under the same rules.
    static constexpr int kMargin = 120;
    static constexpr int kFirstTop = 450;
    static constexpr int kRowHeight = 720;
    static constexpr int kBoxHeight = 300;
    static constexpr DWORD kReadOnlyBox = ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP;

    struct Ids {
        int label9, tabStrip1, frame2;
        int firstField;  // lblName; txtName, lblFileName, txtFileName, ... lblCurrent, txtCurrent follow
        int lblInfo;     // the panel's
    };
    // Makes the controls on dialog, one tab for each caption (two at least), the boxes captioned
    // by fieldCaptions in order. False when the tabs could not be made; then nothing is on them.
    bool CreateSheet(HWND dialog, const Ids& ids, std::initializer_list<const wchar_t*> tabCaptions,
                     const wchar_t* const (&fieldCaptions)[4]);
    // The panel filled from the file program names, its environment variables expanded (the box
    // keeps program as the list shows it), and the long texts (the copyright, the program) given
    // tooltips where they can be read whole.
    void LoadProgram(HWND dialog, const std::wstring& program, FileProperties::NameRule nameRule);
};
