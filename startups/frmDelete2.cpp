// frmDelete2: asks before a startup-folder item is deleted; Yes deletes the row selected in lv3.
#include "startups/frmDelete2.h"

#include "mainwindow/Form1.h"
#include "mainwindow/ListView.h"
#include "startups/FolderParking.h"

void frmDelete2::Form_Load() { AskAbout(ListView::Text(form_.lv3, ListView::Selected(form_.lv3))); }

void frmDelete2::cmdYes_Click() {
    FolderParking::DeleteItem(hwnd(), form_, form_.lv3, ListView::Selected(form_.lv3));
    Unload();
}
