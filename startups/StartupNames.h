// Whether a startup of a name is still anywhere the startup lists read it from: entries of one
// name share one first-seen date, which goes only with the last of them.
#pragma once

#include <string>

namespace StartupNames {

// True when a Run key's value, a parked registry record, a file of a Startup folder or a parked
// folder item still goes by name (case ignored, as value names are).
[[nodiscard]] bool StillListed(const std::wstring& name);

// Deletes the first-seen date of name unless a startup of that name is still listed; a missing
// date is no error.
void ForgetDateIfGone(const std::wstring& name);

} // namespace StartupNames
