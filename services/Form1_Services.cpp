// Form1's handlers for the services list.
#include "mainwindow/Form1.h"

// Tooltips of the services list: not built yet.
void Form1::SetServiceToolTips() {}
