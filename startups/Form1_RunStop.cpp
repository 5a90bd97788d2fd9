// Form1's run, stop, find and web search of registry startups.
#include "mainwindow/Form1.h"

// Not built yet: the dispatcher and the menu bar call these in their place.
void Form1::mnuFind_Click() {}
void Form1::mnuGoog2_Click() {}
void Form1::mnuRun2_Click() {}
void Form1::mnuStopR_Click() {}
