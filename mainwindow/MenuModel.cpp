// The main window's menu model (names, captions, state), and the HMENU bar kept in step with it.
#include "mainwindow/MenuModel.h"

#include "menus/modMenus.h"

#include <algorithm>
#include <utility>

namespace {

constexpr wchar_t kSideBarPrefix[] = L"{SIDEBAR:";
constexpr wchar_t kImagePrefix[] = L"{img:";
constexpr wchar_t kSeparator[] = L"-";

struct BarOwnerSearch {
    HMENU bar;
    HWND found;
};

BOOL CALLBACK FindBarOwner(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<BarOwnerSearch*>(lp);
    if (GetMenu(hwnd) == search->bar) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The menu engine draws the full captions (mark-up included): the HMENU texts stay plain, and the engine
// asks the live models for the full caption behind an entry's dwItemData and for the
// side-bar entry of a popup.
std::vector<const MenuModel*>& LiveModels() {
    static std::vector<const MenuModel*> models;
    return models;
}

class ModelCaptions final : public modMenus::CaptionSource {
public:
    std::optional<std::wstring> Caption(HMENU, ULONG_PTR itemData) const override {
        for (const MenuModel* model : LiveModels())
            if (const MenuItem* item = model->FromItemData(itemData)) return item->caption;
        return std::nullopt;
    }
    std::wstring SideBar(HMENU popup) const override {
        for (const MenuModel* model : LiveModels()) {
            const MenuItem* owner = model->PopupOwner(popup);
            if (!owner) continue;
            for (const MenuItem* child : model->Children(owner->name))
                if (child->visible && MenuModel::IsSideBar(*child)) return child->caption;
        }
        return L"";
    }
};

void ReportToDebugger(std::wstring_view name) {
    const std::wstring text = L"Corvell: no menu entry named \"" + std::wstring(name) + L"\"\n";
    OutputDebugStringW(text.c_str());
}

MenuModel::UnknownNameHandler& UnknownName() {
    static MenuModel::UnknownNameHandler handler = &ReportToDebugger;
    return handler;
}

void AddLiveModel(const MenuModel* model) {
    static ModelCaptions captions;
    modMenus::SetCaptionSource(&captions);
    auto& models = LiveModels();
    if (std::find(models.begin(), models.end(), model) == models.end()) models.push_back(model);
}

} // namespace

MenuModel::~MenuModel() {
    auto& models = LiveModels();
    models.erase(std::remove(models.begin(), models.end(), this), models.end());
    // A popup that hangs in a menu is destroyed with that menu; one taken out of it is not.
    for (auto& p : popups_)
        if (!p.inserted && p.menu) DestroyMenu(p.menu);
    // The window destroys its bar (and what hangs in it) when it is destroyed first.
    if (bar_ && IsMenu(bar_)) DestroyMenu(bar_);
}

void MenuModel::Load(std::vector<MenuItem> items) { items_ = std::move(items); }

bool MenuModel::IsSideBar(const MenuItem& item) { return item.caption.starts_with(kSideBarPrefix); }

std::wstring MenuModel::PlainCaption(const std::wstring& caption) {
    if (caption.starts_with(kImagePrefix)) {
        const size_t end = caption.find(L'}');
        if (end != std::wstring::npos) return caption.substr(end + 1);
    }
    return caption;
}

HMENU MenuModel::Build() {
    if (bar_) return bar_;
    bar_ = CreateMenu();
    if (!bar_) return nullptr;
    AddLiveModel(this);
    // Every entry that has entries of its own opens a popup.
    for (const auto& item : items_) {
        if (item.parent.empty()) continue;
        if (!Slot(item.parent)) popups_.push_back({item.parent, CreatePopupMenu(), false});
    }
    for (const auto& item : items_)
        if (item.parent.empty() && !Slot(item.name)) popups_.push_back({item.name, CreatePopupMenu(), false});
    // Innermost first, so a popup is filled before it is hung into its parent.
    for (auto it = popups_.rbegin(); it != popups_.rend(); ++it) Rebuild(it->name);
    Rebuild(L"");
    return bar_;
}

MenuModel::PopupSlot* MenuModel::Slot(std::wstring_view name) {
    for (auto& p : popups_)
        if (p.name == name) return &p;
    return nullptr;
}

HMENU MenuModel::Popup(std::wstring_view name) const {
    for (const auto& p : popups_)
        if (p.name == name) return p.menu;
    (void)FindNamed(name);
    return nullptr;
}

void MenuModel::Rebuild(std::wstring_view parent) {
    const HMENU menu = parent.empty() ? bar_ : Popup(parent);
    if (!menu) return;
    // Remove, not delete: the popups taken out survive and are hung back in later.
    for (int n = GetMenuItemCount(menu); n > 0; --n) RemoveMenu(menu, static_cast<UINT>(n - 1), MF_BYPOSITION);
    UINT position = 0;
    for (auto& item : items_) {
        if (item.parent != parent) continue;
        PopupSlot* slot = Slot(item.name);
        if (!item.visible || IsSideBar(item)) {
            if (slot) slot->inserted = false;
            continue;
        }
        const std::wstring text = PlainCaption(item.caption);
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_DATA;
        mii.wID = item.id;
        mii.dwItemData = reinterpret_cast<ULONG_PTR>(&item);
        mii.fState = (item.enabled ? MFS_ENABLED : MFS_DISABLED) | (item.checked ? MFS_CHECKED : MFS_UNCHECKED);
        if (item.caption == kSeparator) {
            mii.fType = MFT_SEPARATOR;
        } else {
            mii.fType = MFT_STRING;
            mii.fMask |= MIIM_STRING;
            mii.dwTypeData = const_cast<wchar_t*>(text.c_str());
        }
        if (slot) {
            mii.fMask |= MIIM_SUBMENU;
            mii.hSubMenu = slot->menu;
        }
        if (InsertMenuItemW(menu, position, TRUE, &mii)) {
            ++position;
            if (slot) slot->inserted = true;
        } else if (slot) {
            slot->inserted = false;
        }
    }
    if (menu == bar_) {
        BarOwnerSearch search{bar_, nullptr};
        EnumThreadWindows(GetCurrentThreadId(), FindBarOwner, reinterpret_cast<LPARAM>(&search));
        if (search.found) DrawMenuBar(search.found);
    }
}

MenuModel::UnknownNameHandler MenuModel::SetUnknownNameHandler(UnknownNameHandler handler) {
    return std::exchange(UnknownName(), handler ? handler : &ReportToDebugger);
}

const MenuItem* MenuModel::FindNamed(std::wstring_view name) const {
    const MenuItem* item = Find(name);
    if (!item) UnknownName()(name);
    return item;
}

MenuItem* MenuModel::FindMutable(std::wstring_view name) {
    for (auto& i : items_)
        if (i.name == name) return &i;
    UnknownName()(name);
    return nullptr;
}

const MenuItem* MenuModel::Find(std::wstring_view name) const {
    for (const auto& i : items_)
        if (i.name == name) return &i;
    return nullptr;
}

const MenuItem* MenuModel::FindById(UINT id) const {
    for (const auto& i : items_)
        if (i.id == id && id != 0) return &i;
    return nullptr;
}

const MenuItem* MenuModel::FromItemData(ULONG_PTR data) const {
    for (const auto& i : items_)
        if (reinterpret_cast<ULONG_PTR>(&i) == data) return &i;
    return nullptr;
}

const MenuItem* MenuModel::ItemAt(HMENU menu, int position) const {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_DATA;
    if (!menu || !GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &mii)) return nullptr;
    if (const MenuItem* item = FromItemData(mii.dwItemData)) return item;
    // The menu engine may keep its own record in dwItemData: count the visible entries instead.
    std::wstring_view parent;
    if (menu == bar_) {
        parent = L"";
    } else if (const MenuItem* owner = PopupOwner(menu)) {
        parent = owner->name;
    } else {
        return nullptr;
    }
    int at = 0;
    for (const auto& i : items_) {
        if (i.parent != parent || !i.visible || IsSideBar(i)) continue;
        if (at++ == position) return &i;
    }
    return nullptr;
}

const MenuItem* MenuModel::PopupOwner(HMENU popup) const {
    if (!popup) return nullptr;
    for (const auto& p : popups_)
        if (p.menu == popup) return Find(p.name);
    return nullptr;
}

std::vector<const MenuItem*> MenuModel::Children(std::wstring_view parent) const {
    std::vector<const MenuItem*> out;
    for (const auto& i : items_)
        if (i.parent == parent) out.push_back(&i);
    return out;
}

void MenuModel::SetVisible(std::wstring_view name, bool visible) {
    MenuItem* i = FindMutable(name);
    if (!i || i->visible == visible) return;
    i->visible = visible;
    Rebuild(i->parent);
}

void MenuModel::SetEnabled(std::wstring_view name, bool enabled) {
    MenuItem* i = FindMutable(name);
    if (!i || i->enabled == enabled) return;
    i->enabled = enabled;
    Rebuild(i->parent);
}

void MenuModel::SetChecked(std::wstring_view name, bool checked) {
    MenuItem* i = FindMutable(name);
    if (!i || i->checked == checked) return;
    i->checked = checked;
    Rebuild(i->parent);
}

bool MenuModel::IsVisible(std::wstring_view name) const {
    const auto* i = FindNamed(name);
    return i && i->visible;
}
bool MenuModel::IsEnabled(std::wstring_view name) const {
    const auto* i = FindNamed(name);
    return i && i->enabled;
}
bool MenuModel::IsChecked(std::wstring_view name) const {
    const auto* i = FindNamed(name);
    return i && i->checked;
}
