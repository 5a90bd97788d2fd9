// frmAbout: the modeless About box: the program's own file properties, its release note,
// its terms of use, and the maker's name with links to the maker's web pages.
#pragma once

#include "mainwindow/Dialog.h"
#include "mainwindow/FilePropertiesPanel.h"
#include "mainwindow/TabFrames.h"
#include "system/Handles.h"

#include <string>

class frmAbout : public Dialog<frmAbout> {
public:
    static constexpr wchar_t kClassName[] = L"CorvellfrmAbout";
    static constexpr int kClientWidth = 6360;   // twips
    static constexpr int kClientHeight = 4800;

    static constexpr wchar_t kAboutPrefix[] = L"About ";
    static constexpr wchar_t kMakerName[] = L"Ferrowyn";
    static constexpr const wchar_t* kTabs[] = {L"File Properties", L"Release Info", L"License", L"Ferrowyn"};
    static constexpr wchar_t kCommand7Caption[] = L"&Ferrowyn";
    static constexpr wchar_t kCommand7ToolTip[] = L"Visit Ferrowyn";
    static constexpr wchar_t kCommand8Caption[] = L"&Join the Ferrowyn mailing list";
    static constexpr wchar_t kCommand8ToolTip[] = L"Join our mailing list";
    // The maker's pages; the reserved ".example" domain leads to no one else's site.
    static constexpr wchar_t kMakerSite[] = L"https://www.ferrowyn.example/";
    static constexpr wchar_t kMailingListPage[] = L"https://www.ferrowyn.example/mailing-list/";
    static constexpr wchar_t kReleaseFirstSentence[] =
        L"Corvell is easy to use yet powerful enough to control all your Startups and Services.";

    // Frame2(i) shows tab i.
    enum Tab : int { kFilePropertiesTab = 0, kReleaseTab, kLicenseTab, kMakerTab };

    enum ControlId : int {
        IDC_cmdDummy = 100,
        IDC_txtName,
        IDC_txtFileName,
        IDC_txtSwitch,
        IDC_Label9,
        IDC_Label10,
        IDC_TabStrip1,
        IDC_Frame2,                          // Frame2(0) .. Frame2(3)
        IDC_txtRelease = IDC_Frame2 + 4,
        IDC_txtLicense,
        IDC_Label11,
        IDC_Command7,
        IDC_Command8,
        IDC_lblInfo,                         // the panel's 16 ids from here
    };

    // The release note and the terms of use, as the box shows them.
    [[nodiscard]] static std::wstring ReleaseText();
    [[nodiscard]] static std::wstring LicenseText();

    [[nodiscard]] std::wstring Caption() const;
    void CreateControls();
    void Form_Load();
    void Form_Unload() {}
    bool OnCommand(UINT id, UINT code, HWND control);
    LRESULT OnNotify(NMHDR* header);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

    void TabStrip1_Click() { tabs.TabStrip1_Click(); }
    // The three links open the maker's pages in the browser, owned by the box; a failed
    // launch shows nothing.
    void Label10_Click();
    void Command7_Click();
    void Command8_Click();
    // The mouse over a link shows the link cursor.
    void Label10_MouseMove() { ShowLinkCursor(); }
    void Command7_MouseMove() { ShowLinkCursor(); }
    void Command8_MouseMove() { ShowLinkCursor(); }
    // The mouse over a text box takes the focus away from it, to cmdDummy.
    void txtName_MouseMove() { FocusDummy(); }
    void txtFileName_MouseMove() { FocusDummy(); }
    void txtSwitch_MouseMove() { FocusDummy(); }
    void txtInfo_MouseMove(int /*Index*/) { FocusDummy(); }
    void txtRelease_MouseMove() { FocusDummy(); }
    void txtLicense_MouseMove() { FocusDummy(); }

    HWND cmdDummy = nullptr;
    HWND txtName = nullptr;
    HWND txtFileName = nullptr;
    HWND txtSwitch = nullptr;
    HWND Label9 = nullptr;
    HWND Label10 = nullptr;
    TabFrames tabs;                          // TabStrip1 and Frame2
    FilePropertiesPanel panel;               // txtInfo(0..7) on Frame2(0)
    HWND txtRelease = nullptr;
    HWND txtLicense = nullptr;
    HWND Label11 = nullptr;
    HWND Command7 = nullptr;
    HWND Command8 = nullptr;
    DialogSupport::ToolTips toolTips;        // of Command7 and Command8

private:
    void ShowLinkCursor() const;
    // Only while the box is the active window: focusing a control activates its window, so a
    // mouse crossing the box behind the main window must not pull it to the front.
    void FocusDummy() const;
    // Routes a text box's WM_MOUSEMOVE to its MouseMove handler.
    static LRESULT CALLBACK TextBoxProc(HWND box, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                        DWORD_PTR self) noexcept;
    void WatchMouse(HWND box);
    void TextBox_MouseMove(HWND box);
    // Sizes Label10 to its text, centred across the box, so only the name is a link.
    void FitLink();

    UniqueHfont boldFont_;
    UniqueHfont linkFont_;
    HCURSOR linkCursor_ = nullptr;           // a resource cursor: shared, never destroyed
};
