// Form1's Winlogon entry and the legacy start-up files (win.ini, system.ini, AutoExec.bat, ...).
#include "mainwindow/Form1.h"

// Not built yet: the dispatcher and the menu bar call these in their place.
void Form1::LoadSystemFiles() {}
void Form1::ShowSystemFileWarning() {}
void Form1::LoadUserinitEntry() {}
void Form1::cmdSave_Click() {}
void Form1::mnuSave_Click() {}
