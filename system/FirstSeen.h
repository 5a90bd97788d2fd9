// First-seen dates: the stamp a new service or startup gets, and the store of stamps under a
// key of the settings ("Dates", "Dates\Startups"), one value per name.
#pragma once

#include "system/Handles.h"

#include <optional>
#include <string>
#include <unordered_map>

namespace FirstSeen {

// The local date in the user's short date format, a blank and the local time in the user's
// time format.
[[nodiscard]] std::wstring FirstSeenDate();
// The same text for a given local time.
[[nodiscard]] std::wstring DateText(const SYSTEMTIME& local);

// The first-seen records of one key (created when missing), read in one enumeration; new ones
// are written through the same open key and count as known from then on.
class DateBook {
public:
    explicit DateBook(const std::wstring& datesKeyPath);
    // The stored date, or nullopt when there is none (a stored "error", any case, counts as none).
    [[nodiscard]] std::optional<std::wstring> Find(const std::wstring& name) const;
    // Stores a date; false when the key is missing or refuses the write.
    bool Store(const std::wstring& name, const std::wstring& date);

private:
    UniqueHkey key_;
    std::unordered_map<std::wstring, std::wstring> dates_;         // by name as stored
    std::unordered_map<std::wstring, std::wstring> byLowerName_;   // by lower-case name
};

} // namespace FirstSeen
