// Form1's registry startup loaders, the command column's tidy-up and the running-state passes.
#include "mainwindow/Form1.h"

#include "mainwindow/ListView.h"
#include "resources/Images.h"
#include "startups/CommandSplit.h"
#include "startups/RunKeys.h"
#include "system/Paths.h"
#include "system/Process.h"
#include "system/Registry.h"
#include "system/Text.h"

namespace {

using namespace RunKeys;

constexpr int kApplicationPath = 1;   // lv2 "Application Path"
constexpr int kStartupTarget = 1;     // lv3 "Startup Target"

// The value's data as the list shows it: string types without their terminating NUL; any
// other type as its bytes taken as ANSI text, the last byte dropped.
std::wstring DataText(const Registry::Value& value) {
    switch (value.type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ:
        return value.text;
    default: {
        std::string bytes(value.bytes.begin(), value.bytes.end());
        if (!bytes.empty()) bytes.pop_back();
        return Text::FromAnsi(bytes);
    }
    }
}

// Appends one row per value of the key that holds data (names and data of any length); a key
// that cannot be opened adds nothing. Only the values directly under the key are read.
void LoadRunKey(HWND list, HKEY root, const wchar_t* subKey, Registry::View view, const std::wstring& keyText) {
    const auto values = Registry::EnumValues(root, subKey, view);
    if (!values) return;
    for (const auto& value : *values) {
        if (value.bytes.empty()) continue;  // empty data adds no row; the next value follows
        ListView::AddRow(list, value.name, Images::kIconEnabledRunning, {DataText(value), keyText},
                         ListView::EnabledForeColor);
    }
}

// Sets each row's icon by whether the program of its command runs, from the view's process
// snapshot; the rows counted when the pass begins.
void MarkRunning(Form1::ViewScope& view, HWND list, int column, int runningIcon, int stoppedIcon) {
    const int count = ListView::Count(list);
    if (count <= 0) return;
    const modProcess::ProcessSnapshot& running = view.Running();
    for (int row = 0; row < count; ++row) {
        const std::wstring program = Startups::CommandSplit(ListView::Text(list, row, column)).program;
        ListView::SetIcon(list, row, running.Contains(MyMod::GetFileName(program)) ? runningIcon : stoppedIcon);
    }
}

// A machine key's rows: its 64-bit view's, then on 64-bit Windows its 32-bit view's under the
// real path of that view. On 32-bit Windows the one view is read once.
void LoadMachineKey(HWND list, const wchar_t* subKey, const wchar_t* subKey32) {
    LoadRunKey(list, HKEY_LOCAL_MACHINE, subKey, Registry::View::k64, std::wstring(kHklmPrefix) + subKey);
    if (Registry::HasTwoViews())
        LoadRunKey(list, HKEY_LOCAL_MACHINE, subKey, Registry::View::k32, std::wstring(kHklmPrefix) + subKey32);
}

} // namespace

// The user's keys are one in both views.
void Form1::LoadRunHKCU() {
    LoadRunKey(lv2, HKEY_CURRENT_USER, kRunKey, Registry::View::kOwn, std::wstring(kHkcuPrefix) + kRunKey);
}

void Form1::LoadRunOnceHKCU() {
    LoadRunKey(lv2, HKEY_CURRENT_USER, kRunOnceKey, Registry::View::kOwn, std::wstring(kHkcuPrefix) + kRunOnceKey);
}

void Form1::LoadRunHKLM() { LoadMachineKey(lv2, kRunKey, kRun32Key); }

void Form1::LoadRunOnceHKLM() { LoadMachineKey(lv2, kRunOnceKey, kRunOnce32Key); }

void Form1::LoadRunOnceExHKLM() { LoadMachineKey(lv2, kRunOnceExKey, kRunOnceEx32Key); }

void Form1::CleanStartupPaths() {
    const int count = ListView::Count(lv2);
    for (int row = 0; row < count; ++row)
        ListView::SetText(lv2, row, kApplicationPath,
                          Startups::StripQuotesAndRundll(ListView::Text(lv2, row, kApplicationPath)));
}

void Form1::MarkRunningStartups() {
    ViewScope view(*this);
    MarkRunning(view, lv2, kApplicationPath, Images::kIconEnabledRunning, Images::kIconEnabled);
}

void Form1::MarkRunningDisabledStartups() {
    ViewScope view(*this);
    MarkRunning(view, lv2, kApplicationPath, Images::kIconDisabledRunning, Images::kIconDisabled);
}

void Form1::MarkRunningFolderStartups() {
    ViewScope view(*this);
    MarkRunning(view, lv3, kStartupTarget, Images::kIconEnabledRunning, Images::kIconEnabled);
}
