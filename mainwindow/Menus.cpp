// The menu bar of the main window, built from the menu model.
#include "mainwindow/Form1.h"

void Form1::BuildMenus() { menus.Build(); }
