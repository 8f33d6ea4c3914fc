#pragma once
// Operating-system services as free functions over wide strings: folders,
// file operations and listings, system facts for the start-up report, and
// the shell (opening a document, setting the desktop wallpaper). None keeps
// state. Every returned folder ends with a separator.
#include <string>

namespace LLF {

// Folders
// The per-user data folder ($XDG_DATA_HOME, else ~/.local/share); there is
// no machine-wide one a user can write, so perUser false gives the same.
// "" when none can be found.
std::wstring OS_GetAppDataDir(bool perUser);
// $TMPDIR when it is a folder, else /tmp. Throws Exception code 7 when
// neither is.
std::wstring OS_GetTempDir();
// Throws Exception code 7 when the current folder cannot be read.
std::wstring OS_GetCurrentDir();
// The system's shared data folder, the nearest thing to a Windows folder.
std::wstring OS_GetWindowsDir();
// Full path of the running program; "" when it cannot be read.
std::wstring OS_GetExePath();
bool OS_SetCurrentDir(const std::wstring& folder);
// Creates one folder; false when it fails or already exists.
bool OS_CreateDir(const std::wstring& folder);
// Creates every missing folder of the path, outermost first; both '\' and
// '/' separate. Failures (a folder already there) are ignored.
void OS_CreateDirectories(const std::wstring& folder);

// Files
// Deletes a file; false for a folder or when it fails.
bool OS_DeleteFile(const std::wstring& path);
// Renames or moves a file or folder, across file systems too; fails when
// something already stands at to (it is never replaced).
bool OS_MoveFile(const std::wstring& from, const std::wstring& to);
// Renames from over to in one step, replacing to; both must be on the same
// file system. Used to put a completely written file in place.
bool OS_ReplaceFile(const std::wstring& from, const std::wstring& to);

// The running program's process number.
unsigned OS_GetProcessId();

// The local date and time: month 1-12, day 1-31, hour 0-23.
void OS_GetLocalTime(int& year, int& month, int& day, int& hour, int& minute, int& second);

}  // namespace LLF
