// Form1's restore of the backup of all startups.
#include "mainwindow/Form1.h"

// Not built yet: the dispatcher and the menu bar call these in their place.
void Form1::mnuRestore_Click() {}
void Form1::mnuRestore2_Click() {}
