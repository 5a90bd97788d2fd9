// Form1's startup-folder lists: the loaders of the two Startup folders and of parked
// folder items, and the folder entries' menu handlers.
#include "mainwindow/Form1.h"

// Not built yet: the dispatcher and the menu bar call these in their place.
void Form1::AddDisabledFolderStartups() {}
void Form1::LoadDisabledFolderItems() {}
void Form1::LoadCommonStartupFolder() {}
void Form1::LoadUserStartupFolder() {}
void Form1::AddFolderItemsToAllList() {}
void Form1::SetFolderToolTips() {}
void Form1::mnuEnable2_Click() {}
void Form1::mnuDisable2_Click() {}
void Form1::mnuDelete2_Click() {}
