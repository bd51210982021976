#include "detect/windows_installer.h"

#include <windows.h>

#include "platform/procedure.h"

namespace kestrune {
namespace {

const UINT kMoreData = ERROR_MORE_DATA;  // 234
const int kStateMoreData = -3;
const int kStateLocal = 3;
const int kStateSource = 4;
const DWORD kProductCodeLength = 39;

using GetProductInfoFn = UINT(WINAPI*)(LPCWSTR, LPCWSTR, LPWSTR, LPDWORD);
using EnumRelatedProductsFn = UINT(WINAPI*)(LPCWSTR, DWORD, DWORD, LPWSTR);
using LocateComponentFn = int(WINAPI*)(LPCWSTR, LPWSTR, LPDWORD);

// The three functions of the installer library, looked up once when first needed.
struct InstallerLibrary {
  GetProductInfoFn getProductInfo = nullptr;
  EnumRelatedProductsFn enumRelatedProducts = nullptr;
  LocateComponentFn locateComponent = nullptr;
};

const InstallerLibrary& Installer() {
  static const InstallerLibrary library = [] {
    InstallerLibrary functions;
    // Loaded for the rest of the run: the searches may ask again at every re-evaluation.
    const HMODULE module = LoadSystemLibrary(L"msi.dll");
    functions.getProductInfo = FindProcedure<GetProductInfoFn>(module, "MsiGetProductInfoW");
    functions.enumRelatedProducts =
        FindProcedure<EnumRelatedProductsFn>(module, "MsiEnumRelatedProductsW");
    functions.locateComponent = FindProcedure<LocateComponentFn>(module, "MsiLocateComponentW");
    return functions;
  }();
  return library;
}

}  // namespace

void CollectProductVersion(const std::wstring& productCode, std::vector<std::wstring>& versions) {
  const GetProductInfoFn getProductInfo = Installer().getProductInfo;
  if (getProductInfo == nullptr) return;
  wchar_t empty[1] = {};
  DWORD length = 0;
  UINT result = getProductInfo(productCode.c_str(), L"VersionString", empty, &length);
  if (result != kMoreData) return;
  std::wstring text(length + 1, L'\0');
  length += 1;
  result = getProductInfo(productCode.c_str(), L"VersionString", &text[0], &length);
  if (result != ERROR_SUCCESS) return;
  text.resize(length);
  versions.push_back(text);
}

void CollectRelatedProductVersions(const std::wstring& upgradeCode,
                                   std::vector<std::wstring>& versions) {
  const EnumRelatedProductsFn enumRelated = Installer().enumRelatedProducts;
  if (enumRelated == nullptr) return;
  for (DWORD index = 0;; ++index) {
    wchar_t product[kProductCodeLength] = {};
    if (enumRelated(upgradeCode.c_str(), 0, index, product) != ERROR_SUCCESS) return;
    CollectProductVersion(product, versions);
  }
}

bool IsComponentInstalled(const std::wstring& componentCode) {
  const LocateComponentFn locate = Installer().locateComponent;
  if (locate == nullptr) return false;
  wchar_t empty[1] = {};
  DWORD length = 0;
  int state = locate(componentCode.c_str(), empty, &length);
  if (state == kStateMoreData) {
    std::wstring path(length + 1, L'\0');
    length += 1;
    state = locate(componentCode.c_str(), &path[0], &length);
  }
  return state == kStateLocal || state == kStateSource;
}

}  // namespace kestrune
