// Control ids of the main window: IDC_ and the control's member name in Form1.
#pragma once

enum ControlId : int {
    IDC_lblHeader = 100,
    IDC_Line1,
    IDC_Line3,
    IDC_Image1,
    IDC_Image3,
    IDC_lblCount,
    IDC_tvwDemo,
    IDC_lv,
    IDC_lv2,
    IDC_lv3,
    IDC_txtFiles,
    IDC_cmdSave,
    IDC_StatusBar1,
    IDC_lblChange,
    IDC_cmdWL,
    IDC_Command1,
    IDC_Command2,
    IDC_Command3,
    IDC_Command4,
    IDC_Command5,
    IDC_Command6,
};

enum TimerId : UINT_PTR {
    IDT_Timer1 = 1,
};
