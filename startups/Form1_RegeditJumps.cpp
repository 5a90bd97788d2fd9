// Form1's jumps into the registry editor at the Run keys.
#include "mainwindow/Form1.h"

// Not built yet: the dispatcher and the menu bar call these in their place.
void Form1::mnuAUR_Click() {}
void Form1::mnuAURO_Click() {}
void Form1::mnuAUROEX_Click() {}
void Form1::mnuCUR_Click() {}
void Form1::mnuCURO_Click() {}
