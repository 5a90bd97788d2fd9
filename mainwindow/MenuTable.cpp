// Every menu control of the main window in menu order: name, caption (mark-up included,
// as the menu engine reads it), parent, command id and whether it is visible at start.
#include "mainwindow/MenuTable.h"

#include "mainwindow/MenuIds.h"

#include <iterator>

namespace MenuTable {

std::vector<MenuItem> Form1Menus() {
    constexpr bool kShown = true;
    constexpr bool kHidden = false;
    struct Row {
        const wchar_t* name;
        const wchar_t* caption;
        const wchar_t* parent;
        UINT id;
        bool visible;
    };
    // Separators ("-"), side bars ("{SIDEBAR:...}") and entries that open a submenu have id 0.
    static const Row kRows[] = {
        {L"mnuFile", L"File", L"", 0, kShown},
        {L"bar6", L"{SIDEBAR:TEXT|CAPTION:x|FONT:Arial|FCOLOR:16777215|BCOLOR:16742144|FSIZE:12|GRADIENT}", L"mnuFile", 0, kShown},
        {L"mnuExit", L"{img:19}Exit", L"mnuFile", IDM_mnuExit, kShown},
        {L"mnuPopup", L"Action", L"", 0, kShown},
        {L"bar1", L"{SIDEBAR:TEXT|CAPTION:Services|FONT:Arial|FCOLOR:16777215|BCOLOR:16742144|FSIZE:12|GRADIENT}", L"mnuPopup", 0, kShown},
        {L"mnuFind3", L"{img:4}Find Target", L"mnuPopup", IDM_mnuFind3, kShown},
        {L"mnuGoog", L"{img:5}Google Service", L"mnuPopup", IDM_mnuGoog, kShown},
        {L"sep3", L"-", L"mnuPopup", 0, kShown},
        {L"mnuStop", L"{img:6}Stop Service", L"mnuPopup", IDM_mnuStop, kHidden},
        {L"mnuStart", L"{img:7}Start Service", L"mnuPopup", IDM_mnuStart, kHidden},
        {L"mnuChange", L"{img:8}Change Setting", L"mnuPopup", 0, kShown},
        {L"bar9", L"{SIDEBAR:TEXT|CAPTION:Set|FONT:Arial|FCOLOR:16777215|BCOLOR:16742144|FSIZE:10|GRADIENT}", L"mnuChange", 0, kShown},
        {L"mnuAuto", L"{img:1}Automatic", L"mnuChange", IDM_mnuAuto, kShown},
        {L"mnuManual", L"{img:2}Manual", L"mnuChange", IDM_mnuManual, kShown},
        {L"mnuDisabled", L"{img:3}Disabled", L"mnuChange", IDM_mnuDisabled, kShown},
        {L"sep6", L"-", L"mnuPopup", 0, kShown},
        {L"mnuInstallS", L"{img:9}Install New Service", L"mnuPopup", IDM_mnuInstallS, kShown},
        {L"mnuRemoveS", L"{img:10}Remove Service", L"mnuPopup", IDM_mnuRemoveS, kHidden},
        {L"sep21", L"-", L"mnuPopup", 0, kShown},
        {L"mnuExportTextSrv", L"{img:11}Export as Text File", L"mnuPopup", IDM_mnuExportTextSrv, kShown},
        {L"mnuExportCSVSsrv", L"{img:12}Export as CSV File", L"mnuPopup", IDM_mnuExportCSVSsrv, kShown},
        {L"sep12", L"-", L"mnuPopup", 0, kShown},
        {L"mnuSortDisplay", L"{img:13}Sort by Display Name", L"mnuPopup", IDM_mnuSortDisplay, kShown},
        {L"mnuSortService", L"{img:13}Sort by Service Name", L"mnuPopup", IDM_mnuSortService, kShown},
        {L"sep9", L"-", L"mnuPopup", 0, kShown},
        {L"mnuLegend3", L"{img:14}Icon Legend", L"mnuPopup", IDM_mnuLegend3, kShown},
        {L"mnuProperites", L"{img:15}Properties", L"mnuPopup", IDM_mnuProperites, kShown},
        {L"mnuPopup2", L"Action", L"", 0, kHidden},
        {L"bar2", L"{SIDEBAR:TEXT|CAPTION:Startups|FONT:Arial|FCOLOR:16777215|BCOLOR:16742144|FSIZE:12|GRADIENT}", L"mnuPopup2", 0, kShown},
        {L"mnuFind", L"{img:4}Find Target", L"mnuPopup2", IDM_mnuFind, kShown},
        {L"mnuGoog2", L"{img:5}Google Startup", L"mnuPopup2", IDM_mnuGoog2, kShown},
        {L"sep1", L"-", L"mnuPopup2", 0, kShown},
        {L"mnuEnable", L"{img:1}Enable", L"mnuPopup2", IDM_mnuEnable, kHidden},
        {L"mnuDisable", L"{img:3}Disable", L"mnuPopup2", IDM_mnuDisable, kHidden},
        {L"mnuRun2", L"{img:7}Run", L"mnuPopup2", IDM_mnuRun2, kShown},
        {L"mnuStopR", L"{img:6}Stop", L"mnuPopup2", IDM_mnuStopR, kShown},
        {L"mnuDelete", L"{img:18}Delete", L"mnuPopup2", IDM_mnuDelete, kShown},
        {L"sep5", L"-", L"mnuPopup2", 0, kShown},
        {L"mnuBackup", L"{img:16}Backup All Startups", L"mnuPopup2", IDM_mnuBackup, kShown},
        {L"mnuRestore", L"{img:17}Restore All Startups", L"mnuPopup2", IDM_mnuRestore, kHidden},
        {L"mnuNew", L"{img:9}Add New Startup", L"mnuPopup2", IDM_mnuNew, kShown},
        {L"sep20", L"-", L"mnuPopup2", 0, kShown},
        {L"mnuExportText", L"{img:11}Export as Text File", L"mnuPopup2", IDM_mnuExportText, kShown},
        {L"mnuExportCSV", L"{img:12}Export as CSV File", L"mnuPopup2", IDM_mnuExportCSV, kShown},
        {L"sep7", L"-", L"mnuPopup2", 0, kShown},
        {L"mnuLegend", L"{img:14}Icon Legend", L"mnuPopup2", IDM_mnuLegend, kShown},
        {L"mnuProperites2", L"{img:15}Properties", L"mnuPopup2", IDM_mnuProperites2, kShown},
        {L"mnuPopup3", L"Action", L"", 0, kHidden},
        {L"bar3", L"{SIDEBAR:TEXT|CAPTION:Startups|FONT:Arial|FCOLOR:16777215|BCOLOR:16742144|FSIZE:12|GRADIENT}", L"mnuPopup3", 0, kShown},
        {L"mnuFind2", L"{img:4}Find Target", L"mnuPopup3", IDM_mnuFind2, kShown},
        {L"mnuGoog3", L"{img:5}Google Startup", L"mnuPopup3", IDM_mnuGoog3, kShown},
        {L"sep4", L"-", L"mnuPopup3", 0, kShown},
        {L"mnuEnable2", L"{img:1}Enable", L"mnuPopup3", IDM_mnuEnable2, kHidden},
        {L"mnuDisable2", L"{img:3}Disable", L"mnuPopup3", IDM_mnuDisable2, kHidden},
        {L"mnuRun3", L"{img:7}Run", L"mnuPopup3", IDM_mnuRun3, kShown},
        {L"mnuStop3", L"{img:6}Stop", L"mnuPopup3", IDM_mnuStop3, kShown},
        {L"mnuDelete2", L"{img:18}Delete", L"mnuPopup3", IDM_mnuDelete2, kShown},
        {L"sep8", L"-", L"mnuPopup3", 0, kShown},
        {L"mnuLegend2", L"{img:14}Icon Legend", L"mnuPopup3", IDM_mnuLegend2, kShown},
        {L"mnuProperties3", L"{img:15}Properties", L"mnuPopup3", IDM_mnuProperties3, kShown},
        {L"mnuPopup4", L"Action", L"", 0, kHidden},
        {L"mnuMsg", L"{img:22}See Startup Folder for options", L"mnuPopup4", IDM_mnuMsg, kShown},
        {L"mnuPopup5", L"Action", L"", 0, kHidden},
        {L"mnuRestore2", L"{img:17}Restore All Startups", L"mnuPopup5", IDM_mnuRestore2, kShown},
        {L"mnuPopup6", L"Action", L"", 0, kHidden},
        {L"mnuProperties4", L"{img:15}Properties", L"mnuPopup6", IDM_mnuProperties4, kShown},
        {L"mnuPopup7", L"Action", L"", 0, kHidden},
        {L"mnuSeeSubs", L"{img:22}See Subcategories", L"mnuPopup7", IDM_mnuSeeSubs, kShown},
        {L"mnuPopup8", L"Action", L"", 0, kHidden},
        {L"mnuSave", L"{img:16}Save", L"mnuPopup8", IDM_mnuSave, kShown},
        {L"mnuPopup9", L"Action", L"", 0, kHidden},
        {L"mnuNone", L"{img:18}No Startups", L"mnuPopup9", IDM_mnuNone, kShown},
        {L"mnuUtilities", L"Utilities", L"", 0, kShown},
        {L"bar4", L"{SIDEBAR:TEXT|CAPTION:Utilities|FONT:Arial|FCOLOR:16777215|BCOLOR:16742144|FSIZE:12|GRADIENT}", L"mnuUtilities", 0, kShown},
        {L"mnuConfig", L"{img:23}MS Configuration", L"mnuUtilities", IDM_mnuConfig, kShown},
        {L"mnuMsService", L"{img:24}Windows Services", L"mnuUtilities", IDM_mnuMsService, kShown},
        {L"mnuSysConfig", L"{img:25}System Configuration", L"mnuUtilities", IDM_mnuSysConfig, kShown},
        {L"MnuRegedit", L"{img:26}Registry Editor", L"mnuUtilities", 0, kShown},
        {L"bar7", L"{SIDEBAR:TEXT|CAPTION:Registry|FONT:Arial|FCOLOR:16777215|BCOLOR:16742144|FSIZE:10|GRADIENT}", L"MnuRegedit", 0, kShown},
        {L"mnuAUR", L"{img:27}All Users Run", L"MnuRegedit", IDM_mnuAUR, kShown},
        {L"mnuAURO", L"{img:27}All Users RunOnce", L"MnuRegedit", IDM_mnuAURO, kShown},
        {L"mnuAUROEX", L"{img:27}All Users RunOnceEx", L"MnuRegedit", IDM_mnuAUROEX, kShown},
        {L"sep23", L"-", L"MnuRegedit", 0, kShown},
        {L"mnuCUR", L"{img:27}Current User Run", L"MnuRegedit", IDM_mnuCUR, kShown},
        {L"mnuCURO", L"{img:27}Current User RunOnce", L"MnuRegedit", IDM_mnuCURO, kShown},
        {L"mnuOpen", L"{img:4}Open Directory", L"mnuUtilities", 0, kShown},
        {L"bar8", L"{SIDEBAR:TEXT|CAPTION:Directory|FONT:Arial|FCOLOR:16777215|BCOLOR:16742144|FSIZE:10|GRADIENT}", L"mnuOpen", 0, kShown},
        {L"mnuCurrent", L"{img:22}Current User Startup", L"mnuOpen", IDM_mnuCurrent, kShown},
        {L"mnuAll", L"{img:22}All Users Startup", L"mnuOpen", IDM_mnuAll, kShown},
        {L"mnuWindows", L"{img:22}Windows", L"mnuOpen", IDM_mnuWindows, kShown},
        {L"mnuSystem", L"{img:22}System", L"mnuOpen", IDM_mnuSystem, kShown},
        {L"mnuHelp", L"Help", L"", 0, kShown},
        {L"bar5", L"{SIDEBAR:TEXT|CAPTION:?|FONT:Arial|FCOLOR:16777215|BCOLOR:16742144|FSIZE:12|GRADIENT}", L"mnuHelp", 0, kShown},
        {L"mnuContent", L"{img:20}Contents", L"mnuHelp", IDM_mnuContent, kShown},
        {L"mnuAbout", L"{img:21}About", L"mnuHelp", IDM_mnuAbout, kShown},
    };
    std::vector<MenuItem> items;
    items.reserve(std::size(kRows));
    for (const Row& r : kRows) {
        MenuItem item;
        item.name = r.name;
        item.caption = r.caption;
        item.parent = r.parent;
        item.id = r.id;
        item.visible = r.visible;
        items.push_back(std::move(item));
    }
    return items;
}

} // namespace MenuTable
