// Form1's view scope: the process snapshot and the first-seen dates one view's loaders share.
#include "mainwindow/Form1.h"

#include "system/App.h"

Form1::ViewScope::ViewScope(Form1& form) : form_(form), outermost_(!form.viewShared_) {
    if (outermost_) form_.viewShared_.emplace();
}

Form1::ViewScope::~ViewScope() {
    if (outermost_) form_.viewShared_.reset();
}

const modProcess::ProcessSnapshot& Form1::ViewScope::Running() {
    auto& running = form_.viewShared_->running;
    if (!running) running.emplace();
    return *running;
}

FirstSeen::DateBook& Form1::ViewScope::Dates() {
    auto& dates = form_.viewShared_->dates;
    if (!dates) dates.emplace(App::SubKeyPath(App::SubKey::kStartupDates));
    return *dates;
}
