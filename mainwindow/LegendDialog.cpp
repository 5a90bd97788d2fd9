// The row pictures the icon legends show, taken from the main window's image list.
#include "mainwindow/LegendDialog.h"

#include "mainwindow/Form1.h"

HICON DialogSupport::RowImage(const Form1& form, int number) {
    return ImageList_GetIcon(form.ImageList1.get(), number - 1, ILD_NORMAL);
}
