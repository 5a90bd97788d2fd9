// Removal of files and folders whatever their attributes.
#include "system/Files.h"

#include "system/Handles.h"

#include <windows.h>

namespace Files {

namespace {

bool IsMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

} // namespace

bool IsMissing(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && IsMissing(GetLastError());
}

bool RemoveFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return IsMissing(GetLastError());
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    if (DeleteFileW(path.c_str())) return true;
    if (!SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL)) return false;
    if (DeleteFileW(path.c_str())) return true;
    SetFileAttributesW(path.c_str(), attributes);
    return false;
}

bool RemoveFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return IsMissing(GetLastError());
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(FindFirstFileW((path + L"\\*").c_str(), &data));
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring inner = path + L"\\" + name;
            // A link to a folder elsewhere is removed itself, never what it points to.
            const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                                !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
            if (folder) RemoveFolder(inner);
            else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveDirectoryW(inner.c_str());
            else (void)RemoveFile(inner);  // the folder's own removal tells
        } while (FindNextFileW(find.get(), &data));
    }
    find.reset();
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return RemoveDirectoryW(path.c_str()) || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

} // namespace Files
