#include "detect/reference_scanner.h"

#include <gtest/gtest.h>

#include <map>

namespace kestrune {
namespace {

// Resolves from fixed tables and records what it was asked.
class TableResolver : public ReferenceResolver {
 public:
  bool FolderProperty(const std::wstring& name, std::wstring& path) const override {
    return Find(folders, name, path);
  }
  bool EnvironmentVariable(const std::wstring& name, std::wstring& value) const override {
    return Find(environment, name, value);
  }
  bool RegistryValue(const std::wstring& path, std::wstring& value) const override {
    return Find(registry, path, value);
  }

  std::map<std::wstring, std::wstring> folders = {
      {L"SystemFolder", L"C:\\windows\\syswow64\\"},
      {L"Odd", L"C:\\[SystemFolder]%WINDIR%!x!\\"}};
  std::map<std::wstring, std::wstring> environment = {{L"WINDIR", L"C:\\windows"},
                                                      {L"EMPTY", L""}};
  std::map<std::wstring, std::wstring> registry = {
      {L"HKLM\\Software\\Vendor\\Path", L"D:\\vendor\\"}};

 private:
  static bool Find(const std::map<std::wstring, std::wstring>& table, const std::wstring& key,
                   std::wstring& value) {
    const auto found = table.find(key);
    if (found == table.end()) return false;
    value = found->second;
    return true;
  }
};

TEST(ExpandReferenceText, ReferenceKindsAndTheirFailures) {
  const struct {
    const wchar_t* text;
    const wchar_t* expanded;
  } cases[] = {
      {L"[SystemFolder]msiexec.exe", L"C:\\windows\\syswow64\\msiexec.exe"},
      {L"[NoSuchFolder]x", L"[NoSuchFolder]x"},
      {L"[systemfolder]", L"[systemfolder]"},
      {L"[]", L"[]"},
      {L"%WINDIR%\\a", L"C:\\windows\\a"},
      {L"%NOSUCHVAR%\\a", L"\\a"},
      {L"%EMPTY%x", L"x"},
      {L"%%x", L"x"},
      {L"50% off", L"50% off"},
      {L"!HKLM\\Software\\Vendor\\Path!bin", L"D:\\vendor\\bin"},
      {L"!HKLM\\Software\\Vendor\\Missing!bin", L"bin"},
      {L"!!x!", L""},           // the closing "!" is looked for two characters on: name "!x"
      {L"!!", L"!!"},
      {L"a!b", L"a!b"},
      {L"[Odd]tail", L"C:\\[SystemFolder]%WINDIR%!x!\\tail"},  // replaced text is not scanned again
      {L"[SystemFolder", L"[SystemFolder"},
      {L"x[SystemFolder]%WINDIR%[SystemFolder]", L"xC:\\windows\\syswow64\\C:\\windowsC:\\windows\\syswow64\\"},
      {L"%WINDIR%%", L"C:\\windows%"},
      {L"[a%WINDIR%]", L"[a%WINDIR%]"},  // the first opening character decides the reference
      {L"%a[b%", L""},
      {L"", L""},
      {L"plain", L"plain"},
  };
  const TableResolver resolver;
  for (const auto& c : cases) EXPECT_EQ(ExpandReferenceText(c.text, resolver), c.expanded) << c.text;
}

}  // namespace
}  // namespace kestrune
