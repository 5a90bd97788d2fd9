// A seam backend for tests: scripted answers, every call recorded, nothing shown or started.
#pragma once

#include "system/Seam.h"

#include <deque>
#include <string>
#include <vector>

class TestSeam final : public Seam::Backend {
public:
    TestSeam() { Seam::SetBackend(this); }
    ~TestSeam() override { Seam::SetBackend(nullptr); }

    int ShowMessage(const Seam::MessageRequest& request) override;
    INT_PTR Launch(const Seam::ShellRequest& request) override;
    long RunProcess(const Seam::ProcessRequest& request) override;
    Seam::FileDialogResult ShowFileDialog(const Seam::FileDialogRequest& request) override;

    // Answers given to the next message boxes, in order; when none is queued a box
    // gets IDOK, or IDNO when it asks Yes/No.
    std::deque<int> answers;
    std::deque<Seam::FileDialogResult> dialogAnswers;
    // Processes are really run when set (for tests of what a command does); else only recorded.
    bool runProcesses = false;

    std::vector<Seam::MessageRequest> messages;
    std::vector<Seam::ShellRequest> launches;
    std::vector<Seam::ProcessRequest> processes;
    std::vector<Seam::FileDialogRequest> dialogs;
};
