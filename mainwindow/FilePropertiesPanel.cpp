// The "File Properties" panel: its labelled read-only boxes and their fill.
#include "mainwindow/FilePropertiesPanel.h"

#include "system/Seam.h"

#include <commctrl.h>
#include <algorithm>

namespace {

// Places of the fields, in twips from the top left of the panel's frame.
constexpr int kTop = 180;
constexpr int kRowStep = 390;
constexpr int kLeft = 120;
constexpr int kLabelWidth = 1080;
constexpr int kBoxLeft = kLeft + kLabelWidth + 60;
constexpr int kRowHeight = 300;
constexpr int kMinBoxWidth = 1200;

} // namespace

void FilePropertiesPanel::Create(HWND parent, int firstId, int widthTwips) {
    const int boxWidth = std::max(kMinBoxWidth, widthTwips - kBoxLeft - kLeft);
    for (int i = 0; i < FileProperties::kFieldCount; ++i) {
        const int top = kTop + i * kRowStep;
        const size_t at = static_cast<size_t>(i);
        lblInfo[at] = DialogSupport::AddChild(parent, WC_STATICW, kLabels[at], SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE,
                                              firstId + i, {kLeft, top, kLabelWidth, kRowHeight});
        txtInfo[at] = DialogSupport::AddChild(parent, WC_EDITW, L"", ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP,
                                              firstId + FileProperties::kFieldCount + i,
                                              {kBoxLeft, top, boxWidth, kRowHeight}, WS_EX_CLIENTEDGE);
    }
}

FileProperties::Texts FilePropertiesPanel::Load(HWND owner, const std::wstring& path,
                                                FileProperties::NameRule nameRule) {
    FileProperties::Texts texts = FileProperties::LoadFileProperties(path, nameRule);
    for (int i = 0; i < texts.filled; ++i) {
        const auto field = static_cast<size_t>(FileProperties::kFillOrder[static_cast<size_t>(i)]);
        SetWindowTextW(txtInfo[field], texts.field[field].c_str());
    }
    if (!texts.Complete()) Seam::ShowMessage(owner, FileProperties::kFilePathNotFound, L"", MB_OK | MB_ICONEXCLAMATION);
    return texts;
}
