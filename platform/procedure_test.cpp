#include "platform/procedure.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/text.h"
#include "platform/unique_handle.h"

namespace kestrune {
namespace {

std::wstring SystemFolderWithBackslash() {
  wchar_t folder[MAX_PATH] = {};
  ::GetSystemDirectoryW(folder, MAX_PATH);
  return std::wstring(folder) + L"\\";
}

TEST(LoadSystemLibrary, LoadsFromTheSystemFolder) {
  const ModuleHandle module(LoadSystemLibrary(L"msi.dll"));
  ASSERT_TRUE(module);
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(module.get(), path, MAX_PATH);
  EXPECT_TRUE(StartsWithIgnoringCase(path, SystemFolderWithBackslash())) << path;
  EXPECT_NE(FindProcedure<FARPROC>(module.get(), "MsiGetProductInfoW"), nullptr);
}

TEST(LoadSystemLibrary, IgnoresLibrariesBesideTheProgram) {
  // The fixture libraries lie beside this program, where a plain load by name finds them.
  ASSERT_TRUE(ModuleHandle(::LoadLibraryW(L"fixture_no_version.dll")));
  EXPECT_FALSE(ModuleHandle(LoadSystemLibrary(L"fixture_no_version.dll")));
}

}  // namespace
}  // namespace kestrune
