// frmDelete2: asks before a startup-folder item is deleted; Yes deletes the file (and record) it named.
#include "startups/frmDelete2.h"

bool frmDelete2::ReportIfGone(HWND owner, const Entry& entry) { return FolderParking::ReportIfGone(owner, entry); }

bool frmDelete2::StillHolds(const Entry& entry) { return FolderParking::StillHolds(entry); }

void frmDelete2::Delete(HWND owner, const Entry& entry) { FolderParking::DeleteItem(owner, entry); }
