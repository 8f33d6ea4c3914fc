#pragma once
// Operating-system services as free functions over wide strings: folders,
// file operations and listings, system facts for the start-up report, and
// the shell (opening a document, setting the desktop wallpaper). None keeps
// state. Every returned folder ends with a separator. The platform layer
// defines them (os/OSUtilsFiles.cpp, OSUtilsSystem.cpp, OSUtilsShell.cpp and
// OSLibrary.cpp).
#include <functional>
#include <string>
#include <vector>

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
// The system's sans-serif TrueType font file (DejaVu Sans, as the
// distribution installs it); "" when there is none.
std::wstring OS_GetSystemFontFile();
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
// The path of the file that path names once symbolic links are followed
// (a relative link read against its own folder); path itself when it is no
// link, or names nothing yet. "" when the links loop or cannot be read.
std::wstring OS_ResolveLinks(const std::wstring& path);
// Creates an empty file at path (failing when anything stands there) that
// the same users may read and write as the file model: model's permission
// bits and, where the process may give them, its owner and group. Without
// such a model the file gets the usual bits of a new file.
bool OS_CreateFileLike(const std::wstring& path, const std::wstring& model);

// Names (without folder) of the entries matching a wildcard pattern such as
// "data/*.xml": files only, or folders only (never ".", ".." when the
// pattern takes it). Windows rules: case-blind; '*' any run, '?' one
// character or none at the end of the name or before a dot; "*.*" every
// name; a trailing ".*" also takes names without a dot; a trailing "." only
// names without one. Sorted case-blind, ".." first; empty when nothing
// matches.
std::vector<std::wstring> OS_FindFiles(const std::wstring& pattern);
std::vector<std::wstring> OS_FindDirs(const std::wstring& pattern);
// Whether a name matches a wildcard pattern by the rules above.
bool OS_MatchWildcard(const std::wstring& pattern, const std::wstring& name);

// System facts for the start-up report
// The primary screen's size in pixels; false (and 0 x 0) when no display
// can be asked.
bool OS_GetDesktopResolution(int& width, int& height);
// The primary screen's physical size in whole millimetres; 0 x 0 when the
// display does not tell it.
void OS_GetScreenSizeMM(int& widthMM, int& heightMM);
// The primary screen's shape from its physical size (MonitorFormat.h).
int OS_GetMonitorFormat();
// Physical memory, total and available, in MB.
void OS_GetMemoryStatus(unsigned& totalMB, unsigned& freeMB);
// Never: no Windows NT here.
bool OS_IsWinNT();
// The host name; "" when it cannot be read.
std::wstring OS_GetComputerName();
// The first display adapter's name ("" when none is found): its vendor and
// device names from the PCI ID list, else its driver and PCI IDs.
std::wstring OS_GetVideoCardName();
// The same from a given DRM class folder (/sys/class/drm) and ID list.
std::wstring OS_GetVideoCardName(const std::string& drmFolder, const std::string& pciIdsFile);
// The system's name, then "( major.minor.patch )" of its kernel, e.g.
// "Debian GNU/Linux 12 (bookworm)( 6.1.0 )"; "uname failed." when the
// version cannot be read.
std::wstring OS_GetVersionName();

// Programs started by the shell functions. A runner starts args[0], found
// on the PATH, with args[1..] as its arguments (UTF-8), never through a
// shell. With wait it returns the program's exit status and, when output is
// given, what the program wrote to its standard output; without wait it
// returns 0 once the program has started. -1 when it cannot be started.
using OS_CommandRunner =
    std::function<int(const std::vector<std::string>& args, bool wait, std::string* output)>;
// Replaces the runner (tests record the commands instead of starting them);
// an empty one restores the real runner.
void OS_SetCommandRunner(OS_CommandRunner runner);
int OS_RunCommand(const std::vector<std::string>& args, bool wait, std::string* output = nullptr);

// Opens a file or an internet address with the user's program for it
// (xdg-open). Greater than 32 when the opener started, else at most 32.
int OS_OpenDocument(const std::wstring& target);
// Sets the desktop wallpaper with the desktop's own command, chosen by
// $XDG_CURRENT_DESKTOP (feh elsewhere). style: 0 tile, 1 stretch, 2 centre,
// 3 fit keeping the aspect; others are refused. On failure one error line
// is logged and the result is false.
bool OS_SetWallpaper(const std::wstring& imagePath, int style);

// Run-time libraries, named as the desktop names them ("BASS.DLL").
// The file a library name stands for here: lower case, without ".dll", with
// "lib" before and ".so" after ("BASS.DLL" gives "libbass.so").
std::string OS_LibraryFileName(const std::wstring& name);
// Loads a library by name: the mapped file in the running program's folder
// first, then through the system's search. Null when neither loads.
void* OS_LoadLibrary(const std::wstring& name);
// The address of a named function of a loaded library, null when it has
// none. A decorated name ("_Name@8") is looked up undecorated ("Name"), as
// names here cannot hold the '@'.
void* OS_GetProcAddress(void* library, const char* name);
// Unloads a library OS_LoadLibrary gave; false for null or on failure.
bool OS_FreeLibrary(void* library);

// The program's command line in the desktop's form: the program path in
// double quotes, then each argument after a blank. An argument that is
// empty or holds a blank, tab or double quote is quoted, its quotes and the
// backslashes before them escaped, so the desktop's rules split it back.
std::wstring OS_GetCommandLine();
// The same form made from a list (program path first).
std::wstring OS_MakeCommandLine(const std::vector<std::wstring>& args);

// The running program's process number.
unsigned OS_GetProcessId();

// The local date and time: month 1-12, day 1-31, hour 0-23.
void OS_GetLocalTime(int& year, int& month, int& day, int& hour, int& minute, int& second);

}  // namespace LLF
