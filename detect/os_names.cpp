#include "detect/os_names.h"

#include "platform/text.h"

namespace kestrune {

const wchar_t kOsNotIdentified[] = L"OsNotIdentified";
const wchar_t kAllX86VersionsMarker[] =
    L"Windows 9x/ME/NT/2000/XP/Vista/Windows 7/Windows 8 x86/Windows 8.1 x86/Windows 10 x86";
const wchar_t kAllX64VersionsMarker[] =
    L"Windows XP/Vista/Windows 7/Windows 8 x64/Windows 8.1 x64/Windows 10 x64";

namespace {

bool IsVersion(const OsVersionInfo& os, uint32_t major, uint32_t minor) {
  return os.major == major && os.minor == minor;
}

std::wstring Suffix(const OsVersionInfo& os) { return os.isWow64 ? L" x64" : L" x86"; }

// From Windows 7 on, servers were released for 64-bit only, so a 32-bit system of that level is
// named as the client release.
bool UsesServerName(const OsVersionInfo& os) { return os.isServer && os.isWow64; }

// " SP<n>" for service packs 1 to `last`, nothing for any other.
std::wstring ServicePackLevel(int32_t servicePack, int32_t last) {
  if (servicePack < 1 || servicePack > last) return std::wstring();
  return L" SP" + std::to_wstring(servicePack);
}

struct FeatureRelease {
  uint32_t build;
  const wchar_t* name;
};

const FeatureRelease kWindows10Releases[] = {
    {10240, L"1507"}, {10586, L"1511"}, {14393, L"1607"}, {15063, L"1703"}, {16299, L"1709"},
    {17134, L"1803"}, {17763, L"1809"}, {18362, L"1903"}, {18363, L"1909"}, {19041, L"2004"},
};

std::wstring Windows10DetailedName(const OsVersionInfo& os) {
  if (UsesServerName(os)) {
    if (os.build == 14393) return L"Windows Server 2016 x64";
    if (os.build == 17763) return L"Windows Server 2019 x64";
  }
  // Servers of the other listed builds carry the client release name.
  for (const FeatureRelease& release : kWindows10Releases) {
    if (release.build == os.build) {
      return L"Windows 10 version " + std::wstring(release.name) + Suffix(os);
    }
  }
  return UsesServerName(os) ? L"Windows Server x64" : L"Windows 10" + Suffix(os);
}

std::wstring Windows7DetailedName(const OsVersionInfo& os) {
  const std::wstring level = os.servicePack == 0 ? L" RTM" : ServicePackLevel(os.servicePack, 1);
  if (UsesServerName(os)) return L"Windows Server 2008 R2" + level + L" x64";
  return L"Windows 7" + level + Suffix(os);
}

// Version 6.0 had 32-bit servers, so the server name does not depend on the architecture.
std::wstring VistaDetailedName(const OsVersionInfo& os) {
  const int32_t pack = os.servicePack;
  if (os.isServer) {
    // The first server release already carried the level of the client's first service pack.
    const std::wstring level = (pack == 0 || pack == 1) ? L" RTM" : ServicePackLevel(pack, 2);
    return L"Windows Server 2008" + level + Suffix(os);
  }
  const std::wstring level = pack == 0 ? L" RTM" : ServicePackLevel(pack, 2);
  return L"Windows Vista" + level + Suffix(os);
}

// Version 5.2 is Windows Server 2003 or, as a workstation, the 64-bit edition of Windows XP.
std::wstring Windows2003DetailedName(const OsVersionInfo& os) {
  const std::wstring level = ServicePackLevel(os.servicePack, 2);
  if (os.isServer) return L"Windows Server 2003" + level + Suffix(os);
  return L"Windows XP" + level + L" x64";
}

}  // namespace

std::wstring DetailedOsName(const OsVersionInfo& os) {
  const bool server = UsesServerName(os);
  if (IsVersion(os, 10, 0)) return Windows10DetailedName(os);
  if (IsVersion(os, 6, 3)) {
    return server ? L"Windows Server 2012 R2 x64" : L"Windows 8.1" + Suffix(os);
  }
  if (IsVersion(os, 6, 2)) return server ? L"Windows Server 2012 x64" : L"Windows 8" + Suffix(os);
  if (IsVersion(os, 6, 1)) return Windows7DetailedName(os);
  if (IsVersion(os, 6, 0)) return VistaDetailedName(os);
  if (IsVersion(os, 5, 2)) return Windows2003DetailedName(os);
  if (IsVersion(os, 5, 1)) return L"Windows XP" + ServicePackLevel(os.servicePack, 3) + L" x86";
  return kOsNotIdentified;
}

std::wstring GenericOsName(const OsVersionInfo& os) {
  const bool server = UsesServerName(os);
  if (IsVersion(os, 10, 0)) return server ? L"Windows Server x64" : L"Windows 10" + Suffix(os);
  if (IsVersion(os, 6, 3)) {
    return server ? L"Windows Server 2012 R2 x64" : L"Windows 8.1" + Suffix(os);
  }
  if (IsVersion(os, 6, 2)) return server ? L"Windows Server 2012 x64" : L"Windows 8" + Suffix(os);
  if (IsVersion(os, 6, 1)) {
    return server ? L"Windows Server 2008 R2 x64" : L"Windows 7" + Suffix(os);
  }
  if (IsVersion(os, 6, 0)) {
    return (os.isServer ? L"Windows Server 2008" : L"Windows Vista") + Suffix(os);
  }
  if (IsVersion(os, 5, 2)) {
    return os.isServer ? L"Windows Server 2003" + Suffix(os) : L"Windows XP x64";
  }
  if (IsVersion(os, 5, 1)) return L"Windows XP x86";
  return kOsNotIdentified;
}

OsNames NamesOfOs(const OsVersionInfo& os) {
  return OsNames{DetailedOsName(os), GenericOsName(os)};
}

bool OsListsAllow(const std::wstring& winNtVersions, const std::wstring& winNt64Versions,
                  bool isWow64, const OsNames& names) {
  const std::wstring& list = isWow64 ? winNt64Versions : winNtVersions;
  if (list == (isWow64 ? kAllX64VersionsMarker : kAllX86VersionsMarker)) return false;
  for (const std::wstring& piece : SplitText(list, L", ")) {
    if (piece == names.detailed || piece == names.generic) return false;
  }
  return true;
}

bool LanguageListAllows(const std::wstring& languageList, uint16_t langId) {
  if (languageList.empty()) return true;
  for (const std::wstring& entry : SplitText(languageList, L";")) {
    if (entry.empty()) continue;
    // Only the low 16 bits of the number count, as in the 16-bit identifier itself.
    const uint32_t number = static_cast<uint32_t>(ParseDecimal(entry));
    if ((number & 0xFFFFu) == langId) return true;
  }
  return false;
}

std::wstring FormatSystemLanguageLine(uint16_t langId, const std::wstring& displayName) {
  return L"SystemDefault LangID=" + std::to_wstring(langId) + L"-" + displayName;
}

}  // namespace kestrune
