// frmReg2: the properties of the startup shortcut selected in lv3.
#include "startups/frmReg2.h"

#include "mainwindow/Form1.h"
#include "mainwindow/ListView.h"

// Neither tab flag of the main window concerns this dialog.
void frmReg2::Form_Load() {
    TabStrip1_Click();
    FillFromRow(hwnd(), form_.lv3, ListView::Selected(form_.lv3));
}
