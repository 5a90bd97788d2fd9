// The main window's menus as designed: every entry with its name, caption (mark-up
// included), parent, Visible, Enabled and Checked, and the real HMENU bar kept in step.
#pragma once

#include <windows.h>
#include <string>
#include <string_view>
#include <vector>

struct MenuItem {
    std::wstring name;      // "mnuDisable"
    std::wstring caption;   // as designed, mark-up included ("{img:19}Exit")
    std::wstring parent;    // "" for the menus on the bar
    UINT id = 0;            // command id (IDM_<name>); 0 for entries that open a submenu
    bool visible = true;
    bool enabled = true;
    bool checked = false;
};

class MenuModel {
public:
    void Load(std::vector<MenuItem> items);
    // Creates the bar and its popups from the model; the model keeps them in step afterwards.
    HMENU Build();
    [[nodiscard]] HMENU Bar() const noexcept { return bar_; }
    // The popup opened by the entry name (a menu of the bar or a submenu); nullptr for plain entries.
    [[nodiscard]] HMENU Popup(std::wstring_view name) const;

    void SetVisible(std::wstring_view name, bool visible);
    void SetEnabled(std::wstring_view name, bool enabled);
    void SetChecked(std::wstring_view name, bool checked);
    [[nodiscard]] bool IsVisible(std::wstring_view name) const;
    [[nodiscard]] bool IsEnabled(std::wstring_view name) const;
    [[nodiscard]] bool IsChecked(std::wstring_view name) const;

    [[nodiscard]] const MenuItem* Find(std::wstring_view name) const;
    [[nodiscard]] const MenuItem* FindById(UINT id) const;
    [[nodiscard]] std::vector<const MenuItem*> Children(std::wstring_view parent) const;
    [[nodiscard]] const std::vector<MenuItem>& Items() const noexcept { return items_; }

private:
    MenuItem* FindMutable(std::wstring_view name);
    void Rebuild(std::wstring_view parent);

    std::vector<MenuItem> items_;
    std::vector<std::pair<std::wstring, HMENU>> popups_;
    HMENU bar_ = nullptr;
};
