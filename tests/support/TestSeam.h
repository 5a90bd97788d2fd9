// A seam backend for tests: scripted answers, every call recorded, nothing shown or started.
#pragma once

#include "system/Seam.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class TestSeam final : public Seam::Backend {
public:
    TestSeam() : previous_(Seam::Current()) { Seam::SetBackend(this); }
    ~TestSeam() override { Seam::SetBackend(nullptr); }

    int ShowMessage(const Seam::MessageRequest& request) override;
    INT_PTR Launch(const Seam::ShellRequest& request) override;
    long RunProcess(const Seam::ProcessRequest& request) override;
    Seam::FileDialogResult ShowFileDialog(const Seam::FileDialogRequest& request) override;

    // Answers given to the next message boxes, in order; when none is queued a box
    // gets IDOK, or IDNO when it asks Yes/No.
    std::deque<int> answers;
    std::deque<Seam::FileDialogResult> dialogAnswers;
    // Processes are really run when set (for tests of what a command does), as the program runs
    // them; else only recorded. A waited one without a time limit is given 60 s.
    bool runProcesses = false;
    // Shell launches go to the real shell when set; else only recorded.
    bool launchForReal = false;
    // Called with each launch as it is recorded, to look at the state the command left by then.
    std::function<void(const Seam::ShellRequest&)> onLaunch;
    // Called with each message box as it is recorded, before it is answered: what happens while it waits.
    std::function<void(const Seam::MessageRequest&)> onMessage;
    // Called with each file dialog as it is recorded, before it is answered: what happens while it waits.
    std::function<void(const Seam::FileDialogRequest&)> onFileDialog;
    // Asked first for every process: a result given stands for the process, which is not run.
    std::function<std::optional<long>(const Seam::ProcessRequest&)> scriptProcess;

    std::vector<Seam::MessageRequest> messages;
    // The messages shown with the exclamation icon: refusals and warnings, not announcements.
    [[nodiscard]] std::vector<Seam::MessageRequest> Warnings() const;
    std::vector<Seam::ShellRequest> launches;
    std::vector<Seam::ProcessRequest> processes;
    std::vector<Seam::FileDialogRequest> dialogs;

private:
    Seam::Backend& previous_;   // the backend in place before this one: the real one
};

// Expects a shell "open" of file owned by owner, with no parameters, in directory, shown normally.
void ExpectShellOpen(const Seam::ShellRequest& request, HWND owner, const std::wstring& file,
                     const std::wstring& directory = L"");
