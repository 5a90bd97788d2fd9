// The "File Properties" panel of the property dialogs and the About box: eight read-only
// boxes txtInfo(0..7) under their labels lblInfo(0..7), filled from one program file.
//
// Use, in a Dialog<T> (on a tab's frame, see TabFrames):
//   CreateControls:  panel.Create(tabs.Frame2[0], IDC_lblInfo, tabs.FrameWidth());
//   Form_Load:       panel.Load(hwnd(), path, FileProperties::NameRule::OriginalFileName);
// The panel takes the 16 ids from firstId on: lblInfo(i) is firstId + i, txtInfo(i) firstId + 8 + i.
#pragma once

#include "mainwindow/Dialog.h"
#include "system/FileProperties.h"

#include <windows.h>
#include <array>
#include <string>

class FilePropertiesPanel {
public:
    static constexpr const wchar_t* kLabels[FileProperties::kFieldCount] = {
        L"Name", L"Version", L"Company", L"Copyright", L"File OS", L"Type", L"Size", L"Created"};
    static constexpr int kIdCount = 2 * FileProperties::kFieldCount;

    // Lays the labels and boxes out on parent, the boxes reaching to widthTwips.
    void Create(HWND parent, int firstId, int widthTwips);
    // Fills the boxes from the file at path. When the file cannot be read, the boxes not yet
    // filled keep their text and "File Path Not Found     " is shown (owner: owner).
    FileProperties::Texts Load(HWND owner, const std::wstring& path, FileProperties::NameRule nameRule);

    std::array<HWND, FileProperties::kFieldCount> lblInfo{};
    std::array<HWND, FileProperties::kFieldCount> txtInfo{};
};
