// frmDelete: the modal confirmation before a registry startup is deleted, with its
// "Don't ask me again" box that writes "Confirmed".
#pragma once

#include "startups/DeleteConfirmation.h"
#include "startups/RegistryParking.h"

class frmDelete : public DeleteConfirmation<frmDelete, RegistryParking::StartupEntry> {
public:
    static constexpr wchar_t kClassName[] = L"CorvellfrmDelete";

    using DeleteConfirmation::DeleteConfirmation;

    static bool ReportIfGone(HWND owner, const Entry& entry);
    [[nodiscard]] static bool StillHolds(const Entry& entry);
    static void Delete(HWND owner, const Entry& entry);
};
