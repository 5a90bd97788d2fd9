// The startups that still go by a name, in every place the startup lists are read from.
#include "startups/StartupNames.h"

#include "startups/FolderParking.h"
#include "startups/RegistryParking.h"
#include "startups/RunKeys.h"
#include "system/Paths.h"
#include "system/Registry.h"
#include "system/Text.h"

#include <windows.h>

#include <vector>

namespace StartupNames {

namespace {

struct RunPlace {
    HKEY root;
    const wchar_t* subKey;
    Registry::View view;
};
// The machine's keys in both views (on 32-bit Windows both are its one view).
const RunPlace kRunPlaces[] = {
    {HKEY_LOCAL_MACHINE, RunKeys::kRunKey, Registry::View::k64},
    {HKEY_LOCAL_MACHINE, RunKeys::kRunOnceKey, Registry::View::k64},
    {HKEY_LOCAL_MACHINE, RunKeys::kRunOnceExKey, Registry::View::k64},
    {HKEY_LOCAL_MACHINE, RunKeys::kRunKey, Registry::View::k32},
    {HKEY_LOCAL_MACHINE, RunKeys::kRunOnceKey, Registry::View::k32},
    {HKEY_LOCAL_MACHINE, RunKeys::kRunOnceExKey, Registry::View::k32},
    {HKEY_CURRENT_USER, RunKeys::kRunKey, Registry::View::kOwn},
    {HKEY_CURRENT_USER, RunKeys::kRunOnceKey, Registry::View::kOwn},
};

// A Run value with data: one without lists no row (a parked record lists one).
bool HasValue(HKEY root, const std::wstring& subKey, const std::wstring& name,
              Registry::View view = Registry::View::kOwn) {
    const auto value = Registry::ReadValue(root, subKey, name, view);
    return value && !value->bytes.empty();
}

// A file of the folder whose row would be named name.
bool FolderShows(int which, const std::wstring& name) {
    const std::wstring folder = FolderParking::StartupFolderPath(which);
    if (folder.empty()) return false;
    std::vector<std::wstring> files;
    (void)FolderParking::StartupFolderFiles(folder, files);  // the files read are all that can show
    for (const std::wstring& file : files)
        if (Text::EqualsNoCase(FolderParking::ShownName(file), name)) return true;
    return false;
}

// The parking stores list every record, also one without data.
bool ParkedItemShows(const std::wstring& name) {
    const auto records = Registry::EnumValues(HKEY_LOCAL_MACHINE, FolderParking::StartupsSubKey());
    if (!records) return false;
    for (const auto& record : *records)
        if (Text::EqualsNoCase(FolderParking::ShownName(record.name), name)) return true;
    return false;
}

} // namespace

bool StillListed(const std::wstring& name) {
    for (const RunPlace& place : kRunPlaces)
        if (HasValue(place.root, place.subKey, name, place.view)) return true;
    return Registry::ReadValue(HKEY_LOCAL_MACHINE, RegistryParking::DisabledSubKey(), name).has_value() ||
           FolderShows(modSpecialFolder::kCommonStartup, name) || FolderShows(modSpecialFolder::kUserStartup, name) ||
           ParkedItemShows(name);
}

void ForgetDateIfGone(const std::wstring& name) {
    if (!StillListed(name)) (void)General::DeleteValue(HKEY_LOCAL_MACHINE, RegistryParking::StartupDatesSubKey(), name);
}

} // namespace StartupNames
