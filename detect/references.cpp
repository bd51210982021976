#include "detect/references.h"

#include <windows.h>
#include <shlobj.h>

#include "detect/reference_scanner.h"
#include "detect/version_resource.h"
#include "platform/path_text.h"
#include "platform/procedure.h"
#include "platform/registry.h"
#include "platform/system_paths.h"
#include "platform/unique_handle.h"

namespace kestrune {
namespace {

struct ShellFolder {
  const wchar_t* name;
  int csidl;
};

const ShellFolder kShellFolders[] = {
    {L"ProgramFilesFolder", CSIDL_PROGRAM_FILES},
    {L"CommonFilesFolder", CSIDL_PROGRAM_FILES_COMMON},
    {L"DesktopFolder", CSIDL_DESKTOPDIRECTORY},
    {L"AllUsersDesktopFolder", CSIDL_COMMON_DESKTOPDIRECTORY},
    {L"AppDataFolder", CSIDL_APPDATA},
    {L"FavoritesFolder", CSIDL_FAVORITES},
    {L"StartMenuFolder", CSIDL_STARTMENU},
    {L"ProgramMenuFolder", CSIDL_PROGRAMS},
    {L"StartupFolder", CSIDL_STARTUP},
    {L"FontsFolder", CSIDL_FONTS},
    {L"LocalAppDataFolder", CSIDL_LOCAL_APPDATA},
    {L"CommonAppDataFolder", CSIDL_COMMON_APPDATA},
    {L"ProgramFiles", CSIDL_PROGRAM_FILES},
    // Without "ProgramW6432" the 64-bit program files folder is the one the shell knows.
    {L"ProgramFiles64Folder", CSIDL_PROGRAM_FILES},
};

bool Finish(const std::wstring& path, std::wstring& name) {
  if (path.empty()) return false;
  name = WithTrailingBackslash(path);
  return true;
}

// A folder the system reports into a buffer of MAX_PATH characters; empty on failure or when it
// does not fit.
template <typename Query>
std::wstring SystemFolder(Query query) {
  wchar_t path[MAX_PATH] = {};
  const UINT length = query(path, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(path, length);
}

// Computed once: the running executable's folder with its backslash.
const std::wstring& SetupExeFolder() {
  static const std::wstring folder = [] {
    const std::wstring module = ModulePath();
    return module.substr(0, module.rfind(L'\\') + 1);
  }();
  return folder;
}

// The legacy shell-folder library is loaded once per run when the shell itself refuses.
std::wstring LegacyShellFolderPath(int csidl) {
  using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
  static const GetFolderPathFn getFolderPath = FindProcedure<GetFolderPathFn>(
      LoadSystemLibrary(L"shfolder.dll"), "SHGetFolderPathW");
  wchar_t path[MAX_PATH] = {};
  if (getFolderPath == nullptr || FAILED(getFolderPath(nullptr, csidl, nullptr, 0, path))) {
    return std::wstring();
  }
  return path;
}

// Decided once: shells from version 5 on answer every folder themselves.
bool ShellIsVersion5OrLater() {
  static const bool modern = [] {
    DllVersion version;
    if (!GetDllVersion(L"Shlwapi.dll", version) && !GetDllVersion(L"Shell32.dll", version)) {
      return false;
    }
    return version.major >= 5;
  }();
  return modern;
}

bool ResolveShellFolder(int csidl, std::wstring& name) {
  const ShellFolderResult shell = ShellFolderPath(csidl);
  if (shell.listObtained) return Finish(shell.path, name);
  if (Finish(LegacyShellFolderPath(csidl), name)) return true;
  if (ShellIsVersion5OrLater()) return false;
  // Shells older than version 5 know these two folders only through the environment.
  std::wstring value;
  if (name == L"ProgramFilesFolder" || name == L"ProgramFiles") {
    return ReadEnvironmentVariable(L"PROGRAMFILES", value) && Finish(value, name);
  }
  if (name == L"AppDataFolder") {
    return ReadEnvironmentVariable(L"APPDATA", value) && Finish(value, name);
  }
  return false;
}

bool ResolveSystemProperty(std::wstring& name, bool use64BitView) {
  if (name == L"SystemFolder") {
    wchar_t path[MAX_PATH] = {};
    const int csidl = use64BitView ? CSIDL_SYSTEM : CSIDL_SYSTEMX86;
    return ::SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE) && Finish(path, name);
  }
  if (name == L"System32Folder") return Finish(SystemFolder(::GetSystemDirectoryW), name);
  if (name == L"WindowsFolder") return Finish(SystemFolder(::GetWindowsDirectoryW), name);
  if (name == L"WindowsVolume") {
    const std::wstring windows = SystemFolder(::GetWindowsDirectoryW);
    if (windows.size() < 3) return false;
    name = windows.substr(0, 3);
    return true;
  }
  if (name == L"TempFolder") {
    return Finish(SystemFolder([](LPWSTR b, UINT n) { return ::GetTempPathW(n, b); }), name);
  }
  if (name == L"SETUPEXEDIR") return Finish(SetupExeFolder(), name);
  return false;
}

// "ROOT\key\value": the key is opened for querying values, in the 64-bit view whenever it is asked
// for (on a 32-bit system the flag is ignored).
bool ReadRegistryReference(const std::wstring& path, bool use64BitView, std::wstring& value) {
  const HKEY root = ParseRegistryRoot(path);
  const size_t last = path.rfind(L'\\');
  if (root == nullptr) return false;
  const size_t first = path.find(L'\\');
  const std::wstring subkey = last > first ? path.substr(first + 1, last - first - 1) : L"";
  const REGSAM access = KEY_QUERY_VALUE | (use64BitView ? KEY_WOW64_64KEY : 0);
  RegistryKey key;
  if (::RegOpenKeyExW(root, subkey.c_str(), 0, access, key.Receive()) != ERROR_SUCCESS) {
    return false;
  }
  return ReadRegistryValueText(key.get(), path.substr(last + 1), value);
}

class SystemResolver : public ReferenceResolver {
 public:
  explicit SystemResolver(bool use64BitView) : use64BitView_(use64BitView) {}

  bool FolderProperty(const std::wstring& name, std::wstring& path) const override {
    path = name;
    return ResolveFolderProperty(path, use64BitView_);
  }
  bool EnvironmentVariable(const std::wstring& name, std::wstring& value) const override {
    return ReadEnvironmentVariable(name, value);
  }
  bool RegistryValue(const std::wstring& path, std::wstring& value) const override {
    return ReadRegistryReference(path, use64BitView_, value);
  }

 private:
  bool use64BitView_;
};

}  // namespace

std::wstring ExpandReferences(const std::wstring& text, bool use64BitView) {
  return ExpandReferenceText(text, SystemResolver(use64BitView));
}

bool ResolveFolderProperty(std::wstring& name, bool use64BitView) {
  std::wstring value;
  if (name == L"ProgramFiles64Folder" && ReadEnvironmentVariable(L"ProgramW6432", value)) {
    return Finish(value, name);
  }
  if (ResolveSystemProperty(name, use64BitView)) return true;
  for (const ShellFolder& folder : kShellFolders) {
    if (name == folder.name) return ResolveShellFolder(folder.csidl, name);
  }
  return false;
}

bool ReadEnvironmentVariable(const std::wstring& name, std::wstring& value) {
  value.clear();
  const DWORD size = ::GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (size == 0) return false;
  std::wstring buffer(size, L'\0');
  const DWORD length = ::GetEnvironmentVariableW(name.c_str(), &buffer[0], size);
  if (length >= size) return false;  // changed between the two calls
  value = buffer.substr(0, length);
  return true;
}

}  // namespace kestrune
