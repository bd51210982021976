#include "platform/system_paths.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/path_text.h"
#include "platform/procedure.h"
#include "platform/unique_handle.h"

namespace kestrune {
namespace {

struct ItemIdListTraits {
  using Type = LPITEMIDLIST;
  static Type Invalid() { return nullptr; }
  static void Close(Type p) { ::CoTaskMemFree(p); }
};

// Older shells lack SHGetSpecialFolderLocation for some folders; the path function is then found
// in Shell32.dll at run time.
std::wstring SpecialFolderPathFallback(int csidl) {
  using GetPathFn = BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL);
  const HMODULE shell = ::GetModuleHandleW(L"Shell32.dll");
  ModuleHandle loaded;
  if (shell == nullptr) loaded.reset(LoadSystemLibrary(L"Shell32.dll"));
  const HMODULE module = shell ? shell : loaded.get();
  const auto getPath = FindProcedure<GetPathFn>(module, "SHGetSpecialFolderPathW");
  wchar_t path[MAX_PATH] = {};
  if (getPath == nullptr || !getPath(nullptr, path, csidl, FALSE)) return std::wstring();
  return path;
}

}  // namespace

std::wstring TempFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH, path);
  if (length == 0 || length > MAX_PATH) return std::wstring();
  return WithTrailingBackslash(path);
}

std::wstring ModulePath() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

ShellFolderResult ShellFolderPath(int csidl) {
  ShellFolderResult result;
  UniqueHandle<ItemIdListTraits> list;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, csidl, list.Receive()))) return result;
  result.listObtained = true;
  wchar_t path[MAX_PATH] = {};
  if (::SHGetPathFromIDListW(list.get(), path)) result.path = path;
  return result;
}

std::wstring CommonAppDataFolder() {
  const ShellFolderResult shell = ShellFolderPath(CSIDL_COMMON_APPDATA);
  return shell.listObtained ? shell.path : SpecialFolderPathFallback(CSIDL_COMMON_APPDATA);
}

std::wstring MultiByteToWide(const std::string& text, unsigned codePage) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int length = ::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(codePage, 0, text.data(), size, &wide[0], length);
  return wide;
}

std::string WideToMultiByte(const std::wstring& text, unsigned codePage) {
  if (text.empty()) return std::string();
  const int size = static_cast<int>(text.size());
  const int length =
      ::WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::string();
  std::string narrow(static_cast<size_t>(length), '\0');
  ::WideCharToMultiByte(codePage, 0, text.data(), size, &narrow[0], length, nullptr, nullptr);
  return narrow;
}

}  // namespace kestrune
