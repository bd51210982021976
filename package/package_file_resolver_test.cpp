#include "package/package_file_resolver.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

TEST(PackageFileResolver, AbsoluteFormsStayRelativeOnesJoinTheExtractionFolder) {
  PackageFileResolver resolver;
  resolver.SetExtractionFolder(L"C:\\Temp\\{X}\\");
  const struct {
    const wchar_t* location;
    const wchar_t* path;
  } cases[] = {
      {L"C:\\Setups\\vc.exe", L"C:\\Setups\\vc.exe"},
      {L"\\\\server\\share\\vc.exe", L"\\\\server\\share\\vc.exe"},
      {L"\\\\?\\C:\\vc.exe", L"\\\\?\\C:\\vc.exe"},
      {L"redist\\vc.exe", L"C:\\Temp\\{X}\\redist\\vc.exe"},
      {L"\\redist\\vc.exe", L"C:\\Temp\\{X}\\\\redist\\vc.exe"},
      {L"a", L"C:\\Temp\\{X}\\a"},
      {L":", L"C:\\Temp\\{X}\\:"},
      {L"", L"C:\\Temp\\{X}\\"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(resolver.ResolvePackagePath(c.location), c.path) << c.location;
  }
}

}  // namespace
}  // namespace kestrune
