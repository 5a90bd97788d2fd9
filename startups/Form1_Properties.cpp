// Form1's startup properties dialogs, the add-new-startup dialog and the icon legends.
#include "mainwindow/Form1.h"

// Not built yet: the dispatcher and the menu bar call these in their place.
void Form1::mnuProperites2_Click() {}
void Form1::mnuProperties3_Click() {}
void Form1::mnuProperties4_Click() {}
void Form1::mnuNew_Click() {}
void Form1::mnuLegend_Click() {}
void Form1::mnuLegend2_Click() {}
