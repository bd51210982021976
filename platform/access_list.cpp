#include "platform/access_list.h"

#include <aclapi.h>

namespace kestrune {
namespace {

const DWORD kInitialBufferSize = 260;

}  // namespace

TRUSTEE_TYPE TrusteeTypeForAccount(SID_NAME_USE use) {
  switch (use) {
    case SidTypeUser: return TRUSTEE_IS_USER;
    case SidTypeGroup: return TRUSTEE_IS_GROUP;
    case SidTypeDomain: return TRUSTEE_IS_DOMAIN;
    case SidTypeAlias: return TRUSTEE_IS_ALIAS;
    case SidTypeWellKnownGroup: return TRUSTEE_IS_WELL_KNOWN_GROUP;
    case SidTypeDeletedAccount: return TRUSTEE_IS_DELETED;
    case SidTypeInvalid: return TRUSTEE_IS_INVALID;
    case SidTypeComputer: return TRUSTEE_IS_COMPUTER;
    default: return TRUSTEE_IS_UNKNOWN;
  }
}

bool AccessListBuilder::AddAccount(const std::wstring& name) {
  DWORD sidSize = kInitialBufferSize;
  DWORD domainSize = kInitialBufferSize;
  std::unique_ptr<BYTE[]> sid(new BYTE[sidSize]);
  std::wstring domain(domainSize, L'\0');
  SID_NAME_USE use = SidTypeUnknown;
  BOOL ok = ::LookupAccountNameW(nullptr, name.c_str(), sid.get(), &sidSize, &domain[0],
                                 &domainSize, &use);
  if (!ok && ::GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    // The sizes now hold what the system needs; grow once and ask again.
    sid.reset(new BYTE[sidSize]);
    domain.assign(domainSize, L'\0');
    ok = ::LookupAccountNameW(nullptr, name.c_str(), sid.get(), &sidSize, &domain[0],
                              &domainSize, &use);
  }
  if (!ok) {
    lastError_ = ::GetLastError();
    return false;
  }
  EXPLICIT_ACCESSW entry = {};
  entry.grfAccessPermissions = GENERIC_ALL;
  entry.grfAccessMode = SET_ACCESS;
  entry.grfInheritance = NO_INHERITANCE;
  entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  entry.Trustee.TrusteeType = TrusteeTypeForAccount(use);
  entry.Trustee.ptstrName = reinterpret_cast<LPWSTR>(sid.get());
  sids_.push_back(std::move(sid));
  entries_.push_back(entry);
  return true;
}

PSECURITY_DESCRIPTOR AccessListBuilder::Build() {
  descriptor_.reset();
  accessList_.reset();
  if (entries_.empty()) return nullptr;

  PACL acl = nullptr;
  const DWORD result = ::SetEntriesInAclW(static_cast<ULONG>(entries_.size()), entries_.data(),
                                          nullptr, &acl);
  if (result != ERROR_SUCCESS) {
    lastError_ = result;
    return nullptr;
  }
  accessList_.reset(acl);

  LocalMemory descriptor(::LocalAlloc(LPTR, SECURITY_DESCRIPTOR_MIN_LENGTH));
  if (!descriptor) {
    lastError_ = ::GetLastError();
    accessList_.reset();
    return nullptr;
  }
  if (!::InitializeSecurityDescriptor(descriptor.get(), SECURITY_DESCRIPTOR_REVISION) ||
      !::SetSecurityDescriptorDacl(descriptor.get(), TRUE, acl, FALSE)) {
    lastError_ = ::GetLastError();
    accessList_.reset();
    return nullptr;
  }
  descriptor_ = std::move(descriptor);
  return descriptor_.get();
}

}  // namespace kestrune
