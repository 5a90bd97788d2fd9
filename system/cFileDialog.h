// cFileDialog: the common Open and Save As dialogs behind a set of properties. A caller sets
// Filename, flags, hwnd, CancelError, DialogTitle, Filter (and DefaultExt to save), calls
// ShowOpen or ShowSave and takes Filename when it is not empty.
#pragma once

#include <windows.h>
#include <optional>
#include <string>
#include <vector>

class cFileDialog {
public:
    // The error a cancel hands back when CancelError is set (it is never thrown).
    struct Error {
        long number = 0;
        std::wstring description;
        std::wstring source;
    };
    static constexpr long kCancelErrorNumber = 32755;
    static constexpr wchar_t kCancelErrorDescription[] = L"User selected cancel.";
    static constexpr DWORD kAllowMultiSelect = 0x200;  // OFN_ALLOWMULTISELECT
    static constexpr DWORD kFileMustExist = 0x1000;    // OFN_FILEMUSTEXIST (4096)

    // The filter as the dialog wants it: every "|" and every ":" becomes a NUL, and two NULs end
    // it, so "Text (*.txt)|*.txt|" gives "Text (*.txt)\0*.txt\0\0\0".
    [[nodiscard]] static std::wstring FilterText(const std::wstring& filter);

    // A several-file answer taken apart: the folder and the names. One file ("C:\Tools\a.exe")
    // gives the folder with its trailing "\" ("C:\Tools\") and the name; a name without "\" an
    // empty folder; an answer "folder NUL name NUL name ..." the folder without "\" and each name.
    struct MultiFileName {
        std::wstring dir;
        std::vector<std::wstring> files;
    };
    [[nodiscard]] static MultiFileName SplitMultiFileName(const std::wstring& filename);

    // The Open dialog by which the new-startup and new-service dialogs pick a program: titled
    // kSelectApplication, filtered by kProgramFilter, the file must exist, owned by owner.
    // The chosen file's full name, or "" when the user cancelled.
    static constexpr wchar_t kSelectApplication[] = L"Select an application";
    static constexpr wchar_t kProgramFilter[] = L"Application Executable (*.exe)|*.exe| All Files (*.*)|*.*|";
    [[nodiscard]] static std::wstring ChooseProgram(HWND owner);

    [[nodiscard]] bool CancelError() const noexcept { return cancelError_; }
    void CancelError(bool value) noexcept { cancelError_ = value; }
    [[nodiscard]] const std::wstring& Filename() const noexcept { return filename_; }
    void Filename(const std::wstring& value) { filename_ = value; }
    [[nodiscard]] const std::wstring& FileTitle() const noexcept { return fileTitle_; }
    void FileTitle(const std::wstring& value) { fileTitle_ = value; }
    // Filter() gives the text as the caller set it.
    [[nodiscard]] const std::wstring& Filter() const noexcept { return filter_; }
    void Filter(const std::wstring& value) { filter_ = value; }
    // 1 is the first pair; after a show, the pair the user left selected.
    [[nodiscard]] int FilterIndex() const noexcept { return filterIndex_; }
    void FilterIndex(int value) noexcept { filterIndex_ = value; }
    [[nodiscard]] const std::wstring& DefaultExt() const noexcept { return defaultExt_; }
    void DefaultExt(const std::wstring& value) { defaultExt_ = value; }
    [[nodiscard]] const std::wstring& DialogTitle() const noexcept { return dialogTitle_; }
    void DialogTitle(const std::wstring& value) { dialogTitle_ = value; }
    [[nodiscard]] DWORD flags() const noexcept { return flags_; }
    void flags(DWORD value) noexcept { flags_ = value; }
    [[nodiscard]] HWND hwnd() const noexcept { return hwnd_; }
    void hwnd(HWND value) noexcept { hwnd_ = value; }
    [[nodiscard]] const std::wstring& InitDir() const noexcept { return initDir_; }
    void InitDir(const std::wstring& value) { initDir_ = value; }

    // Runs the Open dialog. A chosen file sets Filename: with kAllowMultiSelect the whole answer
    // (folder, NUL, names, two NULs) for ParseMultiFileName, else the one full name. A cancel, a
    // failed dialog or a name too long for its buffer leaves Filename as it was, and gives the
    // cancel error when CancelError is set; nullopt otherwise.
    std::optional<Error> ShowOpen();
    // Runs the Save As dialog (one file), as ShowOpen.
    std::optional<Error> ShowSave();

    // Splits Filename as SplitMultiFileName does: sDir gets the folder, sFiles the names and
    // lFileCount (passed in as 0) their number.
    void ParseMultiFileName(std::wstring& sDir, std::vector<std::wstring>& sFiles, long& lFileCount) const;

private:
    std::optional<Error> Show(bool save);

    bool cancelError_ = false;
    std::wstring filename_;
    std::wstring fileTitle_;
    std::wstring filter_;
    int filterIndex_ = 1;
    std::wstring defaultExt_;
    std::wstring dialogTitle_;
    DWORD flags_ = 0;
    HWND hwnd_ = nullptr;
    std::wstring initDir_;
};
