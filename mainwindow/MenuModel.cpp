// The main window's menus as designed, and the HMENU bar kept in step with them.
#include "mainwindow/MenuModel.h"

void MenuModel::Load(std::vector<MenuItem> items) { items_ = std::move(items); }

HMENU MenuModel::Build() { return bar_; }

HMENU MenuModel::Popup(std::wstring_view name) const {
    for (const auto& p : popups_)
        if (p.first == name) return p.second;
    return nullptr;
}

MenuItem* MenuModel::FindMutable(std::wstring_view name) {
    for (auto& i : items_)
        if (i.name == name) return &i;
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

std::vector<const MenuItem*> MenuModel::Children(std::wstring_view parent) const {
    std::vector<const MenuItem*> out;
    for (const auto& i : items_)
        if (i.parent == parent) out.push_back(&i);
    return out;
}

void MenuModel::SetVisible(std::wstring_view name, bool visible) {
    if (auto* i = FindMutable(name)) i->visible = visible;
}
void MenuModel::SetEnabled(std::wstring_view name, bool enabled) {
    if (auto* i = FindMutable(name)) i->enabled = enabled;
}
void MenuModel::SetChecked(std::wstring_view name, bool checked) {
    if (auto* i = FindMutable(name)) i->checked = checked;
}
bool MenuModel::IsVisible(std::wstring_view name) const {
    const auto* i = Find(name);
    return i && i->visible;
}
bool MenuModel::IsEnabled(std::wstring_view name) const {
    const auto* i = Find(name);
    return i && i->enabled;
}
bool MenuModel::IsChecked(std::wstring_view name) const {
    const auto* i = Find(name);
    return i && i->checked;
}

void MenuModel::Rebuild(std::wstring_view) {}
