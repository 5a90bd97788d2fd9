// The table of the main window's menu controls.
#pragma once

#include "mainwindow/MenuModel.h"

#include <vector>

namespace MenuTable {

// Every menu control of Form1 in menu order, each with its state at start
// (all enabled, none checked).
[[nodiscard]] std::vector<MenuItem> Form1Menus();

} // namespace MenuTable
