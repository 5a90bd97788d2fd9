// Whole-file writes through a temporary file beside the target and ReplaceFileW or a move.
#include "system/SafeFile.h"

#include "system/Handles.h"
#include "system/Paths.h"

namespace SafeFile {
namespace {

// The folder part of path, with its trailing "\"; "." when path names no folder.
std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
}

// Writes bytes into a new file in folder and reads them back; its path, or "" with error set
// (and nothing left behind).
std::wstring WriteTemporary(const std::wstring& folder, std::string_view bytes, DWORD& error) {
    wchar_t temp[MAX_PATH] = {};
    if (!GetTempFileNameW(folder.c_str(), L"crv", 0, temp)) {
        error = GetLastError();
        return {};
    }
    const std::wstring path = temp;
    error = ERROR_SUCCESS;
    {
        UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD done = 0;
        if (!file || !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) ||
            !FlushFileBuffers(file.get()))
            error = GetLastError();
        else if (done != bytes.size())
            error = ERROR_WRITE_FAULT;
    }
    if (error == ERROR_SUCCESS && MyMod::ReadWholeFile(path) != bytes) error = ERROR_WRITE_FAULT;
    if (error == ERROR_SUCCESS) return path;
    DeleteFileW(path.c_str());
    return {};
}

// Puts replacement in the place of the existing target. When the replace cannot finish, the old
// file keeps (or gets back) its own name and the replacement is removed; when the old file cannot
// get its name back, the replacement takes it. Neither is removed while the target name is empty.
DWORD ReplaceExisting(const std::wstring& target, const std::wstring& replacement) {
    const std::wstring backup = replacement + L".old";
    if (ReplaceFileW(target.c_str(), replacement.c_str(), backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr)) {
        DeleteFileW(backup.c_str());
        return ERROR_SUCCESS;
    }
    const DWORD error = GetLastError();
    const bool movedAway = GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES &&
                           GetFileAttributesW(backup.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!movedAway || MoveFileExW(backup.c_str(), target.c_str(), 0)) {
        DeleteFileW(replacement.c_str());
        DeleteFileW(backup.c_str());
        return error;
    }
    // The replacement was written and read back whole: under the target name it is the saved file.
    if (MoveFileExW(replacement.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(backup.c_str());
        return ERROR_SUCCESS;
    }
    // Nothing could take the name: the old file stays under the backup name, the new one under its own.
    return ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
}

} // namespace

DWORD Write(const std::wstring& path, std::string_view bytes) {
    DWORD error = ERROR_SUCCESS;
    const std::wstring temp = WriteTemporary(FolderOf(path), bytes, error);
    if (temp.empty()) return error;
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return ReplaceExisting(path, temp);
    // No file stood there: the new one takes the name, unless one has appeared meanwhile.
    if (MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) return ERROR_SUCCESS;
    error = GetLastError();
    DeleteFileW(temp.c_str());
    return error;
}

} // namespace SafeFile
