// The main window's menus: every entry with its name, caption (mark-up
// included), parent, Visible, Enabled and Checked, and the real HMENU bar kept in step.
#pragma once

#include <windows.h>
#include <string>
#include <string_view>
#include <vector>

struct MenuItem {
    std::wstring name;      // "mnuDisable"
    std::wstring caption;   // as the menu engine reads it, mark-up included ("{img:19}Exit")
    std::wstring parent;    // "" for the menus on the bar
    UINT id = 0;            // command id (IDM_<name>); 0 for entries that open a submenu
    bool visible = true;
    bool enabled = true;
    bool checked = false;
};

// Win32 menus have no hidden entry: a popup holds only the visible entries of its menu, in
// model order, and is refilled by position whenever one of them is shown or hidden. Side-bar
// entries ("{SIDEBAR:") stay in the model only; an entry shows its caption without the
// "{img:N}" prefix. Every HMENU entry carries its MenuItem* as dwItemData and its id as wID.
class MenuModel {
public:
    MenuModel() = default;
    MenuModel(const MenuModel&) = delete;
    MenuModel& operator=(const MenuModel&) = delete;
    // Destroys the popups that hang in no menu now, and the bar when no window destroyed it.
    ~MenuModel();

    void Load(std::vector<MenuItem> items);
    // Creates the bar and its popups from the model; the model keeps them in step afterwards.
    HMENU Build();
    [[nodiscard]] HMENU Bar() const noexcept { return bar_; }
    // Popup, HasPopup and the Set/Is calls take an entry's name as the code spells it: a name the
    // model does not hold goes to the UnknownNameHandler and changes nothing (nullptr, false).
    // Find only looks.
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
    // The model item behind an HMENU entry: by position in a popup (or the bar), or by its dwItemData.
    [[nodiscard]] const MenuItem* ItemAt(HMENU menu, int position) const;
    [[nodiscard]] const MenuItem* FromItemData(ULONG_PTR data) const;
    // The menu or submenu entry that opens this popup (nullptr for the bar or an unknown menu).
    [[nodiscard]] const MenuItem* PopupOwner(HMENU popup) const;
    // True when an entry opens a popup (it has entries of its own).
    [[nodiscard]] bool HasPopup(std::wstring_view name) const { return Popup(name) != nullptr; }
    // The caption an HMENU entry shows until the menu engine draws it: without "{img:N}".
    [[nodiscard]] static std::wstring PlainCaption(const std::wstring& caption);
    [[nodiscard]] static bool IsSideBar(const MenuItem& item);

    // Receives every name the model was asked about and does not hold: a slip in the code, which
    // tests catch. The default writes it to the debugger output only, since a menu entry left as
    // it was is no reason to end the user's session. Returns the handler it replaces.
    using UnknownNameHandler = void (*)(std::wstring_view name);
    static UnknownNameHandler SetUnknownNameHandler(UnknownNameHandler handler);

private:
    struct PopupSlot {
        std::wstring name;
        HMENU menu = nullptr;
        bool inserted = false;   // the entry that opens it stands in its parent's menu now
    };
    // Find, reporting a name the model does not hold; FindMutable reports it too.
    MenuItem* FindMutable(std::wstring_view name);
    [[nodiscard]] const MenuItem* FindNamed(std::wstring_view name) const;
    PopupSlot* Slot(std::wstring_view name);
    void Rebuild(std::wstring_view parent);

    std::vector<MenuItem> items_;
    std::vector<PopupSlot> popups_;
    HMENU bar_ = nullptr;
};
