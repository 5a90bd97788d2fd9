// Form1's export of the "All Startups" list and the services list as text or CSV.
#include "mainwindow/Form1.h"

// Not built yet: the dispatcher and the menu bar call these in their place.
void Form1::mnuExportText_Click() {}
void Form1::mnuExportCSV_Click() {}
void Form1::mnuExportTextSrv_Click() {}
void Form1::mnuExportCSVSsrv_Click() {}
