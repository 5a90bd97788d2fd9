// The registry files of the backup of all startups and their import.
#include "startups/modRegKeys.h"
#include "startups/RunKeys.h"

#include "system/Files.h"
#include "system/Handles.h"
#include "system/Paths.h"
#include "system/Registry.h"
#include "system/SafeFile.h"
#include "system/Seam.h"
#include "system/Text.h"
#include "system/WindowsVersion.h"

#include <algorithm>
#include <cstring>

namespace modRegKeys {

namespace {

constexpr wchar_t kVersionLine[] = L"Windows Registry Editor Version 5.00";
constexpr wchar_t kRegedit4Line[] = L"REGEDIT4";
constexpr wchar_t kLineEnd[] = L"\r\n";
constexpr char kByteOrderMark[] = "\xFF\xFE";

std::wstring WithoutTrailingSlash(std::wstring_view key) {
    if (!key.empty() && key.back() == L'\\') key.remove_suffix(1);
    return std::wstring(key);
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// Why a waited process failed, to follow its name in a message.
std::wstring ProcessFailure(long result) {
    if (result == Seam::kProcessNotStarted) return L"could not be started";
    if (result == Seam::kProcessTimedOut)
        return L"did not end within " + std::to_wstring(kProcessTimeLimitMs / 1000) + L" seconds and was stopped";
    return L"ended with the error code " + std::to_wstring(result);
}

long RunAwaited(const std::wstring& commandLine) {
    Seam::ProcessRequest request;
    request.commandLine = commandLine;
    request.hidden = true;
    request.wait = true;
    request.timeLimitMs = kProcessTimeLimitMs;
    return Seam::RunProcess(request);
}

// The text of a REGEDIT5 file: UTF-16LE after its byte-order mark.
std::optional<std::wstring> Utf16Text(const std::string& bytes) {
    if (bytes.size() < 2 || bytes.compare(0, 2, kByteOrderMark) != 0 || bytes.size() % 2 != 0) return std::nullopt;
    std::wstring text((bytes.size() - 2) / 2, L'\0');
    std::memcpy(text.data(), bytes.data() + 2, bytes.size() - 2);
    return text;
}

// Everything after the header line of an export, which must be UTF-16LE with its byte-order mark.
std::optional<std::wstring> ExportBody(const std::string& bytes) {
    auto decoded = Utf16Text(bytes);
    if (!decoded) return std::nullopt;
    std::wstring& text = *decoded;
    const size_t end = text.find(kLineEnd);
    if (end == std::wstring::npos || text.compare(0, end, kVersionLine) != 0) return std::nullopt;
    return text.substr(end + 2);
}

// False only for a key that is known not to exist; a key that cannot be opened otherwise is
// left to the export, whose failure then tells.
bool MayExist(const std::wstring& key) {
    const auto path = General::ParseKeyPath(key);
    if (!path) return false;
    UniqueHkey opened;
    return RegOpenKeyExW(path->root, path->subKey.c_str(), 0, KEY_READ, opened.put()) != ERROR_FILE_NOT_FOUND;
}

std::wstring RegeditCommand(const std::wstring& file) {
    const std::wstring windows = MyMod::GetWindowsDir();
    const std::wstring regedit = windows.empty() ? L"regedit.exe" : windows + L"\\regedit.exe";
    return Quoted(regedit) + L" /s " + Quoted(file);
}

// The lines of a REGEDIT4 file, each without its line end and leading blanks.
std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        const size_t first = line.find_first_not_of(L" \t");
        lines.push_back(first == std::wstring::npos ? std::wstring() : line.substr(first));
        start = end + 1;
    }
    return lines;
}

// One key or value line of a registry file, with the number of the line it begins on (the file's
// first line is 1); hex data continued over lines that end in "\" is joined into one.
struct Entry {
    size_t line = 0;
    std::wstring text;
};
std::vector<Entry> Entries(const std::wstring& text) {
    std::vector<Entry> entries;
    const std::vector<std::wstring> lines = Lines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::wstring line = lines[i];
        const size_t first = i + 1;
        while (!line.empty() && line.back() == L'\\' && line.find(L"=hex") != std::wstring::npos && i + 1 < lines.size())
            line = line.substr(0, line.size() - 1) + lines[++i];
        if (line.empty() || line[0] == L';') continue;  // blank lines and comments write nothing
        entries.push_back({first, std::move(line)});
    }
    return entries;
}

std::vector<BYTE> BytesOf(const std::wstring& text) {
    const auto* first = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(first, first + (text.size() + 1) * sizeof(wchar_t));
}

// "hex(2):25,00,..." as the registry editor writes data of any type, continued over lines.
std::wstring HexData(DWORD type, const std::vector<BYTE>& bytes) {
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring typeDigits;
    for (DWORD t = type; typeDigits.empty() || t != 0; t /= 16) typeDigits.insert(typeDigits.begin(), kDigits[t % 16]);
    std::wstring out = L"hex(" + typeDigits + L"):";
    for (size_t i = 0; i < bytes.size(); ++i) {
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 0xF];
        if (i + 1 == bytes.size()) break;
        out += L',';
        if ((i + 1) % 24 == 0) out += L"\\\r\n  ";
    }
    return out;
}

// The text of a REGEDIT4 string that begins at text[0] ('"'): a backslash gives the character
// after it, and only blanks may follow the closing quote.
std::optional<std::wstring> ReadRegedit4String(std::wstring_view text) {
    if (text.empty() || text[0] != L'"') return std::nullopt;
    std::wstring out;
    for (size_t i = 1; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\\') {
            if (++i == text.size()) return std::nullopt;
            out.push_back(text[i]);
        } else if (c == L'"') {
            if (text.find_first_not_of(L" \t", i + 1) != std::wstring_view::npos) return std::nullopt;
            return out;
        } else {
            out.push_back(c);
        }
    }
    return std::nullopt;
}

// The bytes of "hex:01,02" data (the part after the colon); nullopt when a pair is no hex.
std::optional<std::vector<BYTE>> HexBytes(std::wstring_view list) {
    std::vector<BYTE> bytes;
    size_t at = 0;
    while (at < list.size()) {
        const size_t comma = std::min(list.find(L',', at), list.size());
        const std::wstring pair = Text::Trim(list.substr(at, comma - at));
        if (pair.empty() || pair.size() > 2 || pair.find_first_not_of(L"0123456789abcdefABCDEF") != std::wstring::npos)
            return std::nullopt;
        bytes.push_back(static_cast<BYTE>(std::stoul(pair, nullptr, 16)));
        at = comma + 1;
    }
    return bytes;
}

// One value line of an export ('"name"=data' or '@=data'): its name, type and bytes as the
// registry holds them (a string also as text); nullopt for a form it does not know.
std::optional<Registry::Value> ExportedValue(std::wstring_view line) {
    Registry::Value value;
    size_t at = 0;
    if (!line.empty() && line[0] == L'@') {
        at = 1;
    } else if (!line.empty() && line[0] == L'"') {
        for (at = 1; at < line.size() && line[at] != L'"'; ++at) {
            if (line[at] == L'\\' && ++at == line.size()) return std::nullopt;
            value.name.push_back(line[at]);
        }
        if (at++ == line.size()) return std::nullopt;
    } else {
        return std::nullopt;
    }
    if (at >= line.size() || line[at] != L'=') return std::nullopt;
    const std::wstring_view data = line.substr(at + 1);
    if (!data.empty() && data[0] == L'"') {
        const auto text = ReadRegedit4String(data);
        if (!text) return std::nullopt;
        value.type = REG_SZ;
        value.text = *text;
        const auto* first = reinterpret_cast<const BYTE*>(text->c_str());
        value.bytes.assign(first, first + (text->size() + 1) * sizeof(wchar_t));
        return value;
    }
    if (data.substr(0, 6) == L"dword:" && data.size() == 14) {
        const std::wstring digits(data.substr(6));
        if (digits.find_first_not_of(L"0123456789abcdefABCDEF") != std::wstring::npos) return std::nullopt;
        const DWORD number = static_cast<DWORD>(std::stoul(digits, nullptr, 16));
        value.type = REG_DWORD;
        const auto* first = reinterpret_cast<const BYTE*>(&number);
        value.bytes.assign(first, first + sizeof(number));
        return value;
    }
    size_t colon = std::wstring_view::npos;
    if (data.substr(0, 4) == L"hex:") {
        value.type = REG_BINARY;
        colon = 3;
    } else if (data.substr(0, 4) == L"hex(") {
        const size_t close = data.find(L"):");
        if (close == std::wstring_view::npos || close == 4) return std::nullopt;
        const std::wstring digits(data.substr(4, close - 4));
        if (digits.size() > 8 || digits.find_first_not_of(L"0123456789abcdefABCDEF") != std::wstring::npos)
            return std::nullopt;
        value.type = static_cast<DWORD>(std::stoul(digits, nullptr, 16));
        colon = close + 1;
    } else {
        return std::nullopt;
    }
    const auto bytes = HexBytes(data.substr(colon + 1));
    if (!bytes) return std::nullopt;
    value.bytes = *bytes;
    return value;
}

// The backed-up key that holds keyName (the key itself or one below it), if any.
bool IsBackedUp(const std::wstring& keyName) {
    return std::any_of(std::begin(kBackedUpKeys), std::end(kBackedUpKeys), [&](const wchar_t* key) {
        return Text::EqualsNoCase(WithoutTrailingSlash(key), keyName) || Text::StartsWithNoCase(keyName, key);
    });
}

// A line, or a value's name, as a message quotes it: cut at 80 characters, so that a few
// faults still fit on the screen.
std::wstring Excerpt(const std::wstring& line) { return Text::OneLineExcerpt(line, 80); }

// How many faults of one file a restore's message names; the rest are counted.
constexpr size_t kNamedFaults = 10;

// Names what the import of RegKeys.reg cannot have put back as the file gives it: a file that is
// no Version 5.00 registry file, a line that is no key or value, a key outside the backed-up ones,
// and every value that does not now read as the file gives it (same type, same bytes; a string by
// its text). Regedit's exit code says nothing about this: it ends with 0 even when it read nothing.
void CheckImport(const std::string& bytes, Failures& failures) {
    const std::wstring file = kRegKeysFile;
    const auto text = Utf16Text(bytes);
    const std::vector<Entry> entries = text ? Entries(*text) : std::vector<Entry>{};
    if (entries.empty() || entries[0].line != 1 || entries[0].text != kVersionLine) {
        failures.push_back(file + L" is not a registry file the registry editor can read (UTF-16 beginning with \"" +
                           kVersionLine + L"\"), so what it holds was not put back.");
        return;
    }
    size_t faults = 0;
    const auto fault = [&](std::wstring line) {
        if (++faults <= kNamedFaults) failures.push_back(std::move(line));
    };
    enum class Section { None, Skipped, Open };
    Section section = Section::None;
    std::wstring keyName;
    UniqueHkey key;
    for (size_t i = 1; i < entries.size(); ++i) {
        const Entry& entry = entries[i];
        const std::wstring at = L"Line " + std::to_wstring(entry.line) + L" of " + file;
        if (entry.text[0] == L'[') {
            key.reset();
            section = Section::Skipped;  // the values of a key named here once are not named again
            const bool sound = entry.text.size() >= 3 && entry.text.back() == L']' && entry.text[1] != L'-' &&
                               entry.text[entry.text.size() - 2] != L'\\';
            if (!sound) {
                fault(at + L" is no registry key the import could read: " + Excerpt(entry.text));
                continue;
            }
            keyName = entry.text.substr(1, entry.text.size() - 2);
            const auto path = IsBackedUp(keyName) ? General::ParseKeyPath(keyName) : std::nullopt;
            if (!path) {
                fault(at + L" names the key " + Excerpt(keyName) + L", which the backup does not hold.");
                continue;
            }
            if (RegOpenKeyExW(path->root, path->subKey.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
                fault(L"After the import of " + file + L" the key " + keyName + L" is missing.");
                continue;
            }
            section = Section::Open;
            continue;
        }
        if (section == Section::Skipped) continue;
        const auto wanted = ExportedValue(entry.text);
        if (!wanted || section == Section::None) {
            fault(at + (section == Section::Open ? L" (in [" + keyName + L"])" : std::wstring()) +
                  L" is no registry value the import could read: " + Excerpt(entry.text));
            continue;
        }
        const auto now = Registry::ReadValue(key.get(), L"", wanted->name);
        const bool same = now && now->type == wanted->type &&
                          (wanted->type == REG_SZ ? now->text == wanted->text : now->bytes == wanted->bytes);
        if (!same)
            fault(L"After the import of " + file + L" the value \"" + Excerpt(wanted->name) + L"\" of " + keyName +
                  L" does not read as the backup holds it.");
    }
    if (faults > kNamedFaults)
        failures.push_back(L"And " + std::to_wstring(faults - kNamedFaults) + L" more lines of " + file +
                           L" that were not put back as it holds them.");
}

} // namespace

std::wstring ExportFileName(std::wstring_view key) { return Text::ReplaceAll(key, L"\\", L"_") + L".reg"; }

std::wstring ExportCommand(std::wstring_view key, const std::wstring& file) {
    const std::wstring system = MyMod::GetSystemDir();
    const std::wstring reg = system.empty() ? L"reg.exe" : system + L"\\reg.exe";
    // The reg.exe of Windows 2000 and XP knows no "/y"; there the fresh folder alone keeps it
    // from asking whether to overwrite.
    const std::wstring product = WindowsVersion::ProductName();
    const bool knowsYes = !Text::ContainsNoCase(product, L"Windows XP") && !Text::ContainsNoCase(product, L"Windows 2000");
    // Without its trailing "\": inside quotes it would escape the closing quote.
    return Quoted(reg) + L" EXPORT " + Quoted(WithoutTrailingSlash(key)) + L" " + Quoted(file) +
           (knowsYes ? L" /y" : L"");
}

void BackupRegKeys(const std::wstring& folder, Failures& failures, const std::function<void()>& between) {
    std::wstring body = std::wstring(kVersionLine) + kLineEnd;
    for (const wchar_t* key : kBackedUpKeys) {
        const std::wstring name = WithoutTrailingSlash(key);
        if (!MayExist(name)) continue;
        const std::wstring file = folder + L"\\" + ExportFileName(key);
        const long result = RunAwaited(ExportCommand(key, file));
        if (result != 0) {
            (void)Files::RemoveFile(file);  // a failed export leaves nothing worth keeping
            failures.push_back(L"The export of " + name + L" " + ProcessFailure(result) + L".");
            return;
        }
        const auto bytes = MyMod::ReadWholeFile(file);
        const auto exported = bytes ? ExportBody(*bytes) : std::nullopt;
        const bool removed = Files::RemoveFile(file);
        if (!exported) {
            failures.push_back(L"The export of " + name + L" gave no registry file.");
            return;
        }
        if (!removed) {
            failures.push_back(L"The export file " + file + L" could not be removed.");
            return;
        }
        body += *exported;
        if (between) between();
    }
    std::string bytes(kByteOrderMark, 2);
    bytes.append(reinterpret_cast<const char*>(body.data()), body.size() * sizeof(wchar_t));
    const DWORD error = SafeFile::Write(folder + L"\\" + kRegKeysFile, bytes);
    if (error != ERROR_SUCCESS)
        failures.push_back(std::wstring(kRegKeysFile) + L" could not be written: " + Text::SystemMessage(error));
}

std::wstring Regedit4String(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (const wchar_t c : text) {
        if (c == L'\\' || c == L'"') out.push_back(L'\\');
        out.push_back(c);
    }
    return out;
}

std::string UserinitRegFile(const Registry::Value& userinit) {
    const std::wstring keyLine = L"[" + std::wstring(RunKeys::kWinlogonKey) + L"]";
    const std::wstring valueStart = L"\"" + std::wstring(RunKeys::kUserinitValue) + L"\"=";
    // The REGEDIT4 form gives back a REG_SZ only as one line of code-page text with its NUL.
    const bool plain = userinit.type == REG_SZ && userinit.bytes == BytesOf(userinit.text) &&
                       userinit.text.find_first_of(std::wstring(L"\r\n\0", 3)) == std::wstring::npos;
    if (plain) {
        const std::wstring text = std::wstring(kRegedit4Line) + kLineEnd + kLineEnd + keyLine + kLineEnd + valueStart +
                                  L"\"" + Regedit4String(userinit.text) + L"\"" + kLineEnd + kLineEnd;
        if (auto ansi = Text::ToAnsi(text)) return *ansi;
    }
    const std::wstring text = std::wstring(kVersionLine) + kLineEnd + kLineEnd + keyLine + kLineEnd + valueStart +
                              HexData(userinit.type, userinit.bytes) + kLineEnd + kLineEnd;
    std::string bytes(kByteOrderMark, 2);
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return bytes;
}

std::optional<Registry::Value> ReadUserinitReg(const std::string& bytes) {
    const std::wstring keyLine = L"[" + std::wstring(RunKeys::kWinlogonKey) + L"]";
    if (const auto text = Utf16Text(bytes)) {
        const std::vector<Entry> entries = Entries(*text);
        if (entries.size() != 3 || entries[0].line != 1 || entries[0].text != kVersionLine ||
            !Text::EqualsNoCase(entries[1].text, keyLine))
            return std::nullopt;
        auto value = ExportedValue(entries[2].text);
        if (!value || !Text::EqualsNoCase(value->name, RunKeys::kUserinitValue) || !Registry::IsText(value->type))
            return std::nullopt;
        value->text = Registry::TextOf(value->bytes);
        return value;
    }
    std::vector<std::wstring> lines;
    for (auto& line : Lines(Text::FromAnsi(bytes)))
        if (!line.empty()) lines.push_back(std::move(line));
    const std::wstring valueStart = L"\"" + std::wstring(RunKeys::kUserinitValue) + L"\"=";
    if (lines.size() != 3 || lines[0] != kRegedit4Line || !Text::EqualsNoCase(lines[1], keyLine) ||
        !Text::StartsWithNoCase(lines[2], valueStart))
        return std::nullopt;
    const auto text = ReadRegedit4String(std::wstring_view(lines[2]).substr(valueStart.size()));
    if (!text) return std::nullopt;
    Registry::Value value;
    value.name = RunKeys::kUserinitValue;
    value.type = REG_SZ;
    value.text = *text;
    value.bytes = BytesOf(*text);
    return value;
}

bool StartsWithUserinit(std::wstring_view userinit) {
    std::wstring first = Text::Trim(userinit.substr(0, userinit.find(L',')));
    first = Text::Trim(Text::ReplaceAll(first, L"\"", L""));
    if (!Text::EqualsNoCase(MyMod::GetFileName(first), L"userinit.exe")) return false;
    if (first.find(L'\\') == std::wstring::npos) first = MyMod::GetSystemDir() + L"\\" + first;
    return MyMod::FileExists(first);
}

void RestoreRegKeys(const std::wstring& folder, Failures& failures) {
    const std::wstring regKeys = folder + L"\\" + kRegKeysFile;
    const long imported = RunAwaited(RegeditCommand(regKeys));
    if (imported != 0) {
        failures.push_back(L"The import of " + std::wstring(kRegKeysFile) + L" " + ProcessFailure(imported) + L".");
    } else if (const auto bytes = MyMod::ReadWholeFile(regKeys)) {
        CheckImport(*bytes, failures);
    } else {
        failures.push_back(std::wstring(kRegKeysFile) + L" could not be read after its import, so it is not known "
                           L"what was put back.");
    }

    const std::wstring wlFile = folder + L"\\" + kUserinitFile;
    if (!MyMod::FileExists(wlFile)) return;
    const auto bytes = MyMod::ReadWholeFile(wlFile);
    const auto userinit = bytes ? ReadUserinitReg(*bytes) : std::nullopt;
    const std::wstring programs = !userinit ? std::wstring()
                                  : userinit->type == REG_EXPAND_SZ ? MyMod::ExpandEnvironment(userinit->text)
                                                                   : userinit->text;
    if (programs.empty() || !StartsWithUserinit(programs)) {
        failures.push_back(std::wstring(kUserinitFile) +
                           L" was left out: its \"Userinit\" does not begin with an existing userinit.exe, and "
                           L"Windows could not log anyone on with it.");
        return;
    }
    const long result = RunAwaited(RegeditCommand(wlFile));
    if (result != 0) {
        failures.push_back(L"The import of " + std::wstring(kUserinitFile) + L" " + ProcessFailure(result) + L".");
        return;
    }
    // The editor's exit code does not tell whether the value arrived: it is read back.
    const auto winlogon = General::ParseKeyPath(RunKeys::kWinlogonKey);
    const auto now = Registry::ReadValue(winlogon->root, winlogon->subKey, RunKeys::kUserinitValue);
    if (!now || now->type != userinit->type || (now->bytes != userinit->bytes && now->text != userinit->text))
        failures.push_back(L"After the import of " + std::wstring(kUserinitFile) +
                           L" the Winlogon \"Userinit\" value does not read as the file holds it.");
}

} // namespace modRegKeys
