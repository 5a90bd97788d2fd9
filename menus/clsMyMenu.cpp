// clsMyMenu: item and panel records of the menu engine for one window.
#include "menus/clsMyMenu.h"

clsMyMenu::~clsMyMenu() {
    // The panels take their side-bar fonts with them; pictures belong to whoever handed them over.
    panels_.clear();
    panelKeys_.clear();
    systemMenus_.clear();
    images_ = nullptr;
    MainMenuID = nullptr;
    OldWinProc = nullptr;
    itemKeys_.clear();
    items_.clear();
}

int clsMyMenu::TotalIcons() const { return images_ ? ImageList_GetImageCount(images_) : 0; }

int clsMyMenu::IconSize() const {
    int cx = 0, cy = 0;
    if (images_ && ImageList_GetIconSize(images_, &cx, &cy) && cy > 0) return cy;
    return 16;
}

MenuItemRecord* clsMyMenu::Item() {
    return currentItem_ >= 1 && currentItem_ <= items_.size() ? &items_[currentItem_ - 1] : nullptr;
}
const MenuItemRecord* clsMyMenu::CurrentItem() const {
    return currentItem_ >= 1 && currentItem_ <= items_.size() ? &items_[currentItem_ - 1] : nullptr;
}
MenuPanelRecord* clsMyMenu::Panel() {
    return currentPanel_ >= 1 && currentPanel_ <= panels_.size() ? &panels_[currentPanel_ - 1] : nullptr;
}
const MenuPanelRecord* clsMyMenu::CurrentPanel() const {
    return currentPanel_ >= 1 && currentPanel_ <= panels_.size() ? &panels_[currentPanel_ - 1] : nullptr;
}
const MenuPanelRecord* clsMyMenu::PanelOf(HMENU menu) const {
    const auto it = panelKeys_.find(menu);
    return it == panelKeys_.end() ? nullptr : &panels_[it->second - 1];
}
const MenuItemRecord* clsMyMenu::ItemOf(UINT id, HMENU menu, ULONG_PTR data) const {
    const auto it = itemKeys_.find(ItemKey{id, data, menu});
    return it == itemKeys_.end() ? nullptr : &items_[it->second - 1];
}

LONG clsMyMenu::Icon() const { const auto* i = CurrentItem(); return i ? i->Icon : 0; }
void clsMyMenu::SetIcon(LONG v) { if (auto* i = Item()) i->Icon = v; }
short clsMyMenu::ItemHeight() const { const auto* i = CurrentItem(); return i ? i->ItemHeight : 0; }
void clsMyMenu::SetItemHeight(short v) { if (auto* i = Item()) i->ItemHeight = v; }
LONG clsMyMenu::ItemWidth() const { const auto* i = CurrentItem(); return i ? i->ItemWidth : 0; }
void clsMyMenu::SetItemWidth(LONG v) { if (auto* i = Item()) i->ItemWidth = v; }
short clsMyMenu::HotKeyPos() const { const auto* i = CurrentItem(); return i ? i->HotKeyPos : 0; }
void clsMyMenu::SetHotKeyPos(short v) { if (auto* i = Item()) i->HotKeyPos = v; }
BYTE clsMyMenu::Status() const { const auto* i = CurrentItem(); return i ? i->Status : 0; }
void clsMyMenu::SetStatus(BYTE v) { if (auto* i = Item()) i->Status = v; }
std::wstring clsMyMenu::Caption() const { const auto* i = CurrentItem(); return i ? i->Caption : L""; }
void clsMyMenu::SetCaption(const std::wstring& v) { if (auto* i = Item()) i->Caption = v; }
std::wstring clsMyMenu::OriginalCaption() const { const auto* i = CurrentItem(); return i ? i->OriginalCaption : L""; }
void clsMyMenu::SetOriginalCaption(const std::wstring& v) { if (auto* i = Item()) i->OriginalCaption = v; }

bool clsMyMenu::SideBarIsText() const { const auto* p = CurrentPanel(); return p && (p->flags & kSideBarText); }
LONG_PTR clsMyMenu::SideBarItem() const { const auto* p = CurrentPanel(); return p ? p->SideBarItem : 0; }
LONG clsMyMenu::SideBarWidth() const { const auto* p = CurrentPanel(); return p ? p->SideBarWidth : 0; }
LONG clsMyMenu::PanelWidth() const { const auto* p = CurrentPanel(); return p ? p->PanelWidth : 0; }
LONG clsMyMenu::PanelHeight() const { const auto* p = CurrentPanel(); return p ? p->PanelHeight : 0; }
short clsMyMenu::HotKeyEdge() const { const auto* p = CurrentPanel(); return p ? static_cast<short>(p->HotKeyEdge) : 0; }

bool clsMyMenu::GetSetMDIchildSysMenu(HMENU subMenu, bool bSet) {
    if (!bSet) {
        const auto it = systemMenus_.find(subMenu);
        return it != systemMenus_.end() && it->second != 0;
    }
    if (systemMenus_.find(subMenu) == systemMenus_.end()) systemMenus_.emplace(subMenu, systemMenus_.size() + 1);
    return false;
}

void clsMyMenu::UpdatePanelID(PanelValues& v, bool keepSize) {
    MenuPanelRecord* p = Panel();
    if (!p) return;
    p->PanelWidth = v.PanelWidth;
    p->PanelHeight = v.PanelHeight;
    p->HotKeyEdge = v.HotKeyEdge;
    p->TextLeft = v.TextLeft;
    if (keepSize) return;
    p->SideBarWidth = v.SideBarWidth;
    p->SideBarExtent = v.SideBarExtent;
    p->SideBarBackColor = v.SideBarBackColor;
    p->SideBarForeColor = v.SideBarForeColor;
    p->flags = v.flags;
    p->SideBarItem = v.SideBarItem;
    p->SideBarFont = std::move(v.SideBarFont);  // the panel's previous font goes here
    p->SideBarCaption = v.SideBarCaption;
}

void clsMyMenu::GetPanelInformation(PanelValues& v) const {
    v = PanelValues{};
    const MenuItemRecord* item = CurrentItem();
    const MenuPanelRecord* p = item ? PanelOf(item->hMenu) : nullptr;
    if (!p) return;
    v.PanelWidth = p->PanelWidth + 16;
    v.PanelHeight = p->PanelHeight;
    v.HotKeyEdge = p->HotKeyEdge;
    v.TextLeft = p->TextLeft;
    v.SideBarWidth = p->SideBarWidth;
    v.SideBarExtent = p->SideBarExtent;
    v.SideBarBackColor = p->SideBarBackColor;
    v.SideBarForeColor = p->SideBarForeColor;
    v.flags = p->flags;
    v.SideBarItem = p->SideBarItem;
    v.SideBarCaption = p->SideBarCaption;
}

bool clsMyMenu::SetMenuID(UINT iID, HMENU subMenu, bool byPosition, bool alwaysCreate, ULONG_PTR data) {
    bool result = false;
    bool missing = false;
    if (byPosition) {
        currentItem_ = iID;
        result = !alwaysCreate;
    } else {
        const auto it = itemKeys_.find(ItemKey{iID, data, subMenu});
        if (it != itemKeys_.end()) {
            currentItem_ = it->second;
            result = !alwaysCreate;
        } else {
            missing = true;
        }
    }
    if (missing && alwaysCreate) {
        MenuItemRecord record;
        record.ID = iID;
        record.hMenu = subMenu;
        record.Data = data;
        items_.push_back(std::move(record));
        itemKeys_.emplace(ItemKey{iID, data, subMenu}, items_.size());
        currentItem_ = items_.size();
        result = true;
        if (panelKeys_.find(subMenu) == panelKeys_.end()) {
            MenuPanelRecord panel;
            panel.hMenu = subMenu;
            panels_.push_back(std::move(panel));
            panelKeys_.emplace(subMenu, panels_.size());
        }
    }
    const auto panel = panelKeys_.find(subMenu);
    if (panel != panelKeys_.end()) currentPanel_ = panel->second;
    return result;
}

IconData clsMyMenu::GetIconData(LONG iconIndex) const {
    IconData data;
    if (!images_) return data;
    if (iconIndex >= 1 && iconIndex <= TotalIcons())
        data.picture.reset(EngineGdi::Counted(ImageList_GetIcon(images_, iconIndex - 1, ILD_NORMAL)));
    data.type = kPicTypeIcon;
    const BYTE status = Status();
    data.mark = (status & kStatusMarkY) ? 1 : (status & kStatusMarkN) ? 2 : 0;
    return data;
}

HMENU clsMyMenu::GetPanelID(int index) const {
    return index >= 1 && static_cast<size_t>(index) <= panels_.size() ? panels_[static_cast<size_t>(index) - 1].hMenu
                                                                      : nullptr;
}

void clsMyMenu::PurgeObsoleteMenus(HMENU subMenu) {
    std::vector<MenuItemRecord> keptItems;
    itemKeys_.clear();
    for (auto& i : items_) {
        if (i.hMenu == subMenu) continue;
        keptItems.push_back(std::move(i));
        const MenuItemRecord& kept = keptItems.back();
        itemKeys_.emplace(ItemKey{kept.ID, kept.Data, kept.hMenu}, keptItems.size());
    }
    items_ = std::move(keptItems);
    std::vector<MenuPanelRecord> keptPanels;
    panelKeys_.clear();
    for (auto& p : panels_) {
        if (p.hMenu == subMenu) continue;
        keptPanels.push_back(std::move(p));
        panelKeys_.emplace(keptPanels.back().hMenu, keptPanels.size());
    }
    panels_ = std::move(keptPanels);
    systemMenus_.erase(subMenu);
    if (currentItem_ > items_.size()) currentItem_ = 0;
    if (currentPanel_ > panels_.size()) currentPanel_ = 0;
}
