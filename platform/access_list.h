#pragma once
// Security descriptors that give named accounts full access to a file or folder we create.

#include <windows.h>
#include <accctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/unique_handle.h"

namespace kestrune {

// Trustee type for an account type reported by the account lookup (SID_NAME_USE).
TRUSTEE_TYPE TrusteeTypeForAccount(SID_NAME_USE use);

// Collects accounts, then builds a descriptor whose access list grants each of them GENERIC_ALL
// (SET_ACCESS, no inheritance). The builder owns the SIDs, the access list and the descriptor;
// the descriptor returned by Build stays valid until the next Build or the builder's end.
// Not thread-safe; use one builder per thread.
class AccessListBuilder {
 public:
  AccessListBuilder() = default;
  AccessListBuilder(const AccessListBuilder&) = delete;
  AccessListBuilder& operator=(const AccessListBuilder&) = delete;

  // Looks the account up by name and adds an entry for it. False (with lastError set) when the
  // name cannot be looked up.
  bool AddAccount(const std::wstring& name);

  // The new descriptor, or null: with no account added, or when a system call fails (lastError).
  PSECURITY_DESCRIPTOR Build();

  DWORD lastError() const { return lastError_; }

 private:
  std::vector<std::unique_ptr<BYTE[]>> sids_;
  std::vector<EXPLICIT_ACCESSW> entries_;
  LocalMemory accessList_;
  LocalMemory descriptor_;
  DWORD lastError_ = 0;
};

}  // namespace kestrune
