// frmDelete: the modal confirmation before a registry startup is deleted, with its
// "Don't ask me again" box that writes "Confirmed".
#pragma once

#include "startups/DeleteConfirmation.h"

class frmDelete : public DeleteConfirmation<frmDelete> {
public:
    static constexpr wchar_t kClassName[] = L"CorvellfrmDelete";

    using DeleteConfirmation::DeleteConfirmation;

    void Form_Load();
    void cmdYes_Click();
};
