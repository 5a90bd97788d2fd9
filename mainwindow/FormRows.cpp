// The rows of an install dialog's form, each placed under the one before.
#include "mainwindow/FormRows.h"

HWND FormRows::Edit(const wchar_t* caption, int labelId, int boxId) {
    return Box(caption, labelId, WC_EDITW, kEditBox, boxId, width_, kBoxHeight, WS_EX_CLIENTEDGE);
}

HWND FormRows::Path(const wchar_t* caption, int labelId, int boxId, const wchar_t* browseText, int browseId,
                    HWND& browse) {
    const int top = top_;
    HWND box = Box(caption, labelId, WC_EDITW, kEditBox, boxId, width_ - kBrowseWidth - kBrowseGap, kBoxHeight,
                   WS_EX_CLIENTEDGE);
    browse = DialogSupport::AddChild(frame_, WC_BUTTONW, browseText, BS_PUSHBUTTON | WS_TABSTOP, browseId,
                                     {kMargin + width_ - kBrowseWidth, top, kBrowseWidth, kBoxHeight});
    return box;
}

HWND FormRows::Box(const wchar_t* caption, int labelId, const wchar_t* boxClass, DWORD style, int boxId, int width,
                   int height, DWORD exStyle) {
    HWND box = DialogSupport::AddCaptionedBox(frame_, caption, labelId, boxClass, style, boxId,
                                              {kMargin, top_, width, height}, exStyle);
    top_ += kRowHeight;
    return box;
}

HWND FormRows::Apply(const wchar_t* text, int id) const {
    return DialogSupport::AddChild(frame_, WC_BUTTONW, text, BS_PUSHBUTTON | WS_TABSTOP, id,
                                   {frameWidth_ - kMargin - kButtonWidth, frameHeight_ - kButtonHeight - kMargin,
                                    kButtonWidth, kButtonHeight});
}
