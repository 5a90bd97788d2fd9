// A seam backend for tests: scripted answers, every call recorded.
#include "TestSeam.h"

#include "system/Handles.h"

#include <gtest/gtest.h>

int TestSeam::ShowMessage(const Seam::MessageRequest& request) {
    messages.push_back(request);
    if (onMessage) onMessage(request);
    if (!answers.empty()) {
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    const UINT buttons = request.flags & MB_TYPEMASK;
    return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDNO : IDOK;
}

std::vector<Seam::MessageRequest> TestSeam::Warnings() const {
    std::vector<Seam::MessageRequest> out;
    for (const auto& m : messages)
        if ((m.flags & MB_ICONMASK) == MB_ICONEXCLAMATION) out.push_back(m);
    return out;
}

INT_PTR TestSeam::Launch(const Seam::ShellRequest& request) {
    launches.push_back(request);
    if (onLaunch) onLaunch(request);
    return launchForReal ? previous_.Launch(request) : 42;
}

long TestSeam::RunProcess(const Seam::ProcessRequest& request) {
    processes.push_back(request);
    if (scriptProcess)
        if (const auto result = scriptProcess(request)) return *result;
    if (!runProcesses) return 0;
    Seam::ProcessRequest bounded = request;
    if (bounded.timeLimitMs == INFINITE) bounded.timeLimitMs = 60000;
    // Under a loaded machine a start can fail while an earlier run of the same program is still
    // being torn down; it is tried again for a few seconds before the program is told.
    const DWORD start = GetTickCount();
    for (;;) {
        const long result = previous_.RunProcess(bounded);
        if (result != Seam::kProcessNotStarted || GetTickCount() - start > 5000) return result;
        Sleep(200);
    }
}

Seam::FileDialogResult TestSeam::ShowFileDialog(const Seam::FileDialogRequest& request) {
    dialogs.push_back(request);
    if (onFileDialog) onFileDialog(request);
    if (dialogAnswers.empty()) return {};
    auto a = dialogAnswers.front();
    dialogAnswers.pop_front();
    return a;
}

void ExpectShellOpen(const Seam::ShellRequest& request, HWND owner, const std::wstring& file,
                     const std::wstring& directory) {
    EXPECT_EQ(request.owner, owner);
    EXPECT_EQ(request.verb, L"open");
    EXPECT_EQ(request.file, file);
    EXPECT_EQ(request.parameters, L"");
    EXPECT_EQ(request.directory, directory);
    EXPECT_EQ(request.show, SW_SHOWNORMAL);
}
