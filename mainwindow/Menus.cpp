// The menu bar of the main window, built from the menu model.
#include "mainwindow/Form1.h"

#include "mainwindow/MenuTable.h"

void Form1::BuildMenus() {
    if (menus.Bar()) return;
    menus.Load(MenuTable::Form1Menus());
    menus.Build();
}
