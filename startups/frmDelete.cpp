// frmDelete: asks before a registry startup is deleted; Yes deletes the value it named.
#include "startups/frmDelete.h"

bool frmDelete::ReportIfGone(HWND owner, const Entry& entry) { return RegistryParking::ReportIfGone(owner, entry); }

bool frmDelete::StillHolds(const Entry& entry) { return RegistryParking::StillHolds(entry); }

void frmDelete::Delete(HWND owner, const Entry& entry) { RegistryParking::DeleteStartup(owner, entry); }
