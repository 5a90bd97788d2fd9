// The rows of a form on a tab's frame, as the install dialogs lay them out: captioned boxes one
// under another, a path box with its browse button at the row's right, and the apply button at
// the frame's lower right.
#pragma once

#include "mainwindow/Dialog.h"
#include "mainwindow/TabFrames.h"

class FormRows {
public:
    static constexpr int kMargin = 120;  // twips, around the rows and the apply button
    static constexpr DWORD kEditBox = ES_AUTOHSCROLL | WS_TABSTOP;

    // The rows of frame, a frame of tabs, from its first row down.
    FormRows(HWND frame, const TabFrames& tabs) noexcept
        : frame_(frame), width_(tabs.FrameWidth() - 2 * kMargin), frameWidth_(tabs.FrameWidth()),
          frameHeight_(tabs.FrameHeight()) {}

    // An edit box across the row, its caption above it; returns the box.
    HWND Edit(const wchar_t* caption, int labelId, int boxId);
    // An edit box with the browse button (browseText, browseId) at the row's right; returns the
    // box, browse receives the button.
    HWND Path(const wchar_t* caption, int labelId, int boxId, const wchar_t* browseText, int browseId, HWND& browse);
    // A box of the class and style given, width by height at the row's left (for a combo box,
    // height is its dropped list's); returns the box.
    HWND Box(const wchar_t* caption, int labelId, const wchar_t* boxClass, DWORD style, int boxId, int width,
             int height, DWORD exStyle);
    // The push button at the frame's lower right; it takes no row.
    HWND Apply(const wchar_t* text, int id) const;

    // The width of a row, margins left out.
    [[nodiscard]] int Width() const noexcept { return width_; }

private:
    static constexpr int kFirstTop = 420;
    static constexpr int kRowHeight = 660;
    static constexpr int kBoxHeight = 300;
    static constexpr int kBrowseWidth = 420;
    static constexpr int kBrowseGap = 60;
    static constexpr int kButtonWidth = 1200;
    static constexpr int kButtonHeight = 375;

    HWND frame_;
    int width_;
    int frameWidth_;
    int frameHeight_;
    int top_ = kFirstTop;
};
