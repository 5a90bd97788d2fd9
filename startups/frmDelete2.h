// frmDelete2: the modal confirmation before a startup-folder item is deleted, with its
// "Don't ask me again" box that writes "Confirmed" (shared with frmDelete).
#pragma once

#include "startups/DeleteConfirmation.h"
#include "startups/FolderParking.h"

class frmDelete2 : public DeleteConfirmation<frmDelete2, FolderParking::FolderEntry> {
public:
    static constexpr wchar_t kClassName[] = L"CorvellfrmDelete2";

    using DeleteConfirmation::DeleteConfirmation;

    static bool ReportIfGone(HWND owner, const Entry& entry);
    [[nodiscard]] static bool StillHolds(const Entry& entry);
    static void Delete(HWND owner, const Entry& entry);
};
