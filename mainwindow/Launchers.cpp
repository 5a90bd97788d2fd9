// Form1's launchers of outside tools and help, and the About box.
#include "mainwindow/Form1.h"

// Not built yet: the dispatcher and the menu bar call these in their place.
void Form1::mnuConfig_Click() {}
void Form1::mnuSysConfig_Click() {}
void Form1::mnuContent_Click() {}
void Form1::mnuAbout_Click() {}
