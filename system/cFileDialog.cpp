// cFileDialog: the common Open and Save As dialogs, shown through the seam.
#include "system/cFileDialog.h"

#include "system/App.h"
#include "system/Seam.h"

std::wstring cFileDialog::FilterText(const std::wstring& filter) {
    std::wstring text = filter;
    for (auto& c : text) {
        if (c == L'|' || c == L':') c = L'\0';
    }
    text.append(2, L'\0');
    return text;
}

cFileDialog::MultiFileName cFileDialog::SplitMultiFileName(const std::wstring& filename) {
    MultiFileName result;
    const std::wstring answer = filename.substr(0, filename.find(std::wstring(2, L'\0')));
    size_t nul = answer.find(L'\0');
    if (nul == std::wstring::npos) {
        const size_t slash = answer.find_last_of(L'\\');
        if (slash == std::wstring::npos) {
            result.files.push_back(answer);
        } else {
            result.dir = answer.substr(0, slash + 1);
            result.files.push_back(answer.substr(slash + 1));
        }
        return result;
    }
    result.dir = answer.substr(0, nul);
    while (nul != std::wstring::npos) {
        const size_t next = answer.find(L'\0', nul + 1);
        result.files.push_back(answer.substr(nul + 1, next == std::wstring::npos ? std::wstring::npos : next - nul - 1));
        nul = next;
    }
    return result;
}

std::wstring cFileDialog::ChooseProgram(HWND owner) {
    cFileDialog dialog;
    dialog.Filename(L"");
    dialog.flags(kFileMustExist);
    dialog.hwnd(owner);
    dialog.CancelError(false);
    dialog.DialogTitle(kSelectApplication);
    dialog.Filter(kProgramFilter);
    dialog.ShowOpen();
    return dialog.Filename();
}

std::optional<cFileDialog::Error> cFileDialog::ShowOpen() { return Show(false); }

std::optional<cFileDialog::Error> cFileDialog::ShowSave() { return Show(true); }

std::optional<cFileDialog::Error> cFileDialog::Show(bool save) {
    Seam::FileDialogRequest request;
    request.owner = hwnd_;
    request.save = save;
    request.title = dialogTitle_;
    request.filter = FilterText(filter_);
    request.filterIndex = filterIndex_;
    request.defaultExt = defaultExt_;
    request.initialDir = initDir_;
    request.fileName = filename_;
    // A save names one file.
    request.flags = save ? flags_ & ~kAllowMultiSelect : flags_;
    const Seam::FileDialogResult answer = Seam::ShowFileDialog(request);
    if (answer.ok) {
        filename_ = answer.fileName;
        filterIndex_ = answer.filterIndex;
        return std::nullopt;
    }
    if (!cancelError_) return std::nullopt;
    return Error{kCancelErrorNumber, kCancelErrorDescription, App::Title() + L".cFileDialog"};
}

void cFileDialog::ParseMultiFileName(std::wstring& sDir, std::vector<std::wstring>& sFiles, long& lFileCount) const {
    MultiFileName split = SplitMultiFileName(filename_);
    sDir = std::move(split.dir);
    sFiles = std::move(split.files);
    lFileCount = static_cast<long>(sFiles.size());
}
