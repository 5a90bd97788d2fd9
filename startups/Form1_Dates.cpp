// Form1's first-seen dates of the startups.
#include "mainwindow/Form1.h"

// Not built yet: the dispatcher and the menu bar call these in their place.
void Form1::MarkStartupDates() {}
