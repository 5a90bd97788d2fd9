// Form1's handlers for the startup lists.
#include "mainwindow/Form1.h"

// Tooltips of the startup list: not built yet.
void Form1::SetStartupToolTips() {}

// Action-menu state of the startup list: not built yet.
void Form1::lv2_Click() {}

// Backup of all startups: not built yet.
void Form1::mnuBackup_Click() {}
