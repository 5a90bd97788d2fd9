// Helpers shared by the tests: registry fixtures, helper programs and a live main window.
#pragma once

#include "mainwindow/Form1.h"

#include <windows.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace TestUtil {

// Deletes a key and everything below it (relative to a root); true when it is gone.
bool DeleteTree(HKEY root, const std::wstring& subKey);
// Writes a string value, creating the key; REG_SZ unless type says otherwise.
void PutString(HKEY root, const std::wstring& subKey, const std::wstring& name, const std::wstring& data,
               DWORD type = REG_SZ);
// Reads a value's text (NUL dropped) and type; false when missing.
bool ReadString(HKEY root, const std::wstring& subKey, const std::wstring& name, std::wstring& data,
                DWORD* type = nullptr);
// The value's text, or "<missing>" when it cannot be read.
std::wstring ValueOrMissing(HKEY root, const std::wstring& subKey, const std::wstring& name, DWORD* type = nullptr);
bool ValueExists(HKEY root, const std::wstring& subKey, const std::wstring& name);

// While it lives, the Windows "ProductName" the program reads may be set or deleted; the value
// the system had, or its absence, is put back after.
class WindowsProduct {
public:
    WindowsProduct();
    ~WindowsProduct();
    WindowsProduct(const WindowsProduct&) = delete;
    WindowsProduct& operator=(const WindowsProduct&) = delete;

    void Set(const std::wstring& product) const;
    // True when the value is gone (the version key could be opened for the change).
    bool Remove() const;
    // The system had a readable "ProductName" when this began.
    [[nodiscard]] bool WasThere() const { return had_; }

private:
    bool had_ = false;
    std::wstring original_;
};

// The folder the test program runs from (C:\corvell in the test prefix).
std::wstring ProgramFolder();
// The names of the files (not folders) in folder, by one bare listing.
std::vector<std::wstring> FilesIn(const std::wstring& folder);
// Copies a helper program of the test folder under another name (a file name beside the tests,
// or a full path whose folders are made); returns the copy's full path. A copy that is running
// cannot be replaced and stays as it was.
std::wstring CopyHelper(const std::wstring& helper, const std::wstring& asName);
// Copies a helper program of the test folder under another name (a file name beside the tests,
// or a full path whose folders are made) and starts it; returns its process handle (the caller
// ends it) or an empty handle. The copy is returned once a process listing can name it.
UniqueHandle StartCopy(const std::wstring& helper, const std::wstring& asName, const std::wstring& args = L"");
// Waits until a process with that file name runs (or the time runs out).
bool WaitForProcess(const std::wstring& name, DWORD timeoutMs = 30000);

// Deletes the program's settings key and makes it anew with "Backup" = "1", so a main
// window loads as on a later run that asks nothing.
void FreshSettings();
// Empties "Dates\Startups" of the settings: every startup counts as new at the next view.
void ForgetStartupDates();

// Runs pending messages for a while, so timers and posted messages get their turn.
void Pump(DWORD ms = 50);
// Runs pending messages until done() holds or the time runs out; true when it held. As quick as
// the condition on an idle machine, patient on a loaded one. To see that something did NOT
// happen, pump briefly instead, or until a marker says the time to look has come.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);

// Runs action once, about ms later, from whatever message loop runs then (a modal dialog's or
// a pop-up menu's included), so a test can answer a window that waits for a person.
void AfterDelay(DWORD ms, std::function<void()> action);

// Where the system's own message box for this text, caption and flags lies on the screen: shown
// for real on this thread and closed as soon as it can be seen.
RECT ShownBoxPlace(const std::wstring& text, const std::wstring& caption, UINT flags);

// A main window made and loaded as the program does; destroyed at the end of its scope.
struct LiveForm {
    LiveForm();
    ~LiveForm();
    Form1 form;
};

} // namespace TestUtil
