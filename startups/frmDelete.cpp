// frmDelete: asks before a registry startup is deleted; Yes deletes the row selected in lv2.
#include "startups/frmDelete.h"

#include "mainwindow/Form1.h"
#include "mainwindow/ListView.h"
#include "startups/RegistryParking.h"

void frmDelete::Form_Load() { AskAbout(ListView::Text(form_.lv2, ListView::Selected(form_.lv2))); }

void frmDelete::cmdYes_Click() {
    RegistryParking::DeleteStartup(hwnd(), form_.lv2, ListView::Selected(form_.lv2));
    Unload();
}
