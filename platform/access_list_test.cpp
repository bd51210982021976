#include "platform/access_list.h"

#include <aclapi.h>
#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace kestrune {
namespace {

TEST(TrusteeTypeForAccount, FollowsTheAccountType) {
  const struct {
    SID_NAME_USE use;
    TRUSTEE_TYPE type;
  } cases[] = {
      {SidTypeUser, TRUSTEE_IS_USER},
      {SidTypeGroup, TRUSTEE_IS_GROUP},
      {SidTypeDomain, TRUSTEE_IS_DOMAIN},
      {SidTypeAlias, TRUSTEE_IS_ALIAS},
      {SidTypeWellKnownGroup, TRUSTEE_IS_WELL_KNOWN_GROUP},
      {SidTypeDeletedAccount, TRUSTEE_IS_DELETED},
      {SidTypeInvalid, TRUSTEE_IS_INVALID},
      {SidTypeUnknown, TRUSTEE_IS_UNKNOWN},
      {SidTypeComputer, TRUSTEE_IS_COMPUTER},
      {static_cast<SID_NAME_USE>(42), TRUSTEE_IS_UNKNOWN},
  };
  for (const auto& c : cases) EXPECT_EQ(TrusteeTypeForAccount(c.use), c.type) << c.use;
}

TEST(AccessListBuilder, NoAccountGivesNoDescriptor) {
  AccessListBuilder builder;
  EXPECT_EQ(builder.Build(), nullptr);
}

TEST(AccessListBuilder, UnknownAccountFails) {
  AccessListBuilder builder;
  EXPECT_FALSE(builder.AddAccount(L"No Such Account Kestrune"));
  EXPECT_EQ(builder.lastError(), static_cast<DWORD>(ERROR_NONE_MAPPED));
  EXPECT_EQ(builder.Build(), nullptr);
}

bool IsEveryone(PSID sid) {
  BYTE everyone[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof(everyone);
  return ::CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size) && ::EqualSid(sid, everyone);
}

TEST(AccessListBuilder, DescriptorHoldsOneFullAccessEntryForEveryone) {
  AccessListBuilder builder;
  ASSERT_TRUE(builder.AddAccount(L"Everyone"));
  PSECURITY_DESCRIPTOR descriptor = builder.Build();
  ASSERT_NE(descriptor, nullptr);
  EXPECT_TRUE(::IsValidSecurityDescriptor(descriptor));

  BOOL present = FALSE;
  BOOL defaulted = TRUE;
  PACL dacl = nullptr;
  ASSERT_TRUE(::GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted));
  EXPECT_TRUE(present);
  EXPECT_FALSE(defaulted);
  ASSERT_NE(dacl, nullptr);
  ASSERT_EQ(dacl->AceCount, 1);
  void* ace = nullptr;
  ASSERT_TRUE(::GetAce(dacl, 0, &ace));
  const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
  EXPECT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
  EXPECT_EQ(allowed->Header.AceFlags, 0) << "no inheritance";
  EXPECT_EQ(allowed->Mask, static_cast<ACCESS_MASK>(GENERIC_ALL));
  EXPECT_TRUE(IsEveryone(const_cast<DWORD*>(&allowed->SidStart)));
}

// The same entry read back from a folder created with the descriptor. Wine (8.0) does not keep
// security descriptors of files: it reports a default list whatever the creator passed, so
// there only the descriptor itself (above) can be checked.
TEST(AccessListBuilder, FolderCreatedWithDescriptorGrantsEveryoneFullAccess) {
  if (testing::RunningUnderWine()) GTEST_SKIP() << "Wine does not store file security descriptors";
  testing::ScratchFolder scratch;
  AccessListBuilder builder;
  ASSERT_TRUE(builder.AddAccount(L"Everyone"));
  SECURITY_ATTRIBUTES attributes = {sizeof(attributes), builder.Build(), FALSE};
  const std::wstring folder = scratch / L"shared";
  ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), &attributes));
  EXPECT_TRUE(testing::FolderGrantsEveryoneFullAccess(folder));
}

TEST(AccessListBuilder, RebuildReplacesTheDescriptor) {
  AccessListBuilder builder;
  ASSERT_TRUE(builder.AddAccount(L"Everyone"));
  ASSERT_NE(builder.Build(), nullptr);
  ASSERT_TRUE(builder.AddAccount(L"Everyone"));
  PSECURITY_DESCRIPTOR second = builder.Build();
  ASSERT_NE(second, nullptr);
  BOOL present = FALSE;
  BOOL defaulted = TRUE;
  PACL dacl = nullptr;
  ASSERT_TRUE(::GetSecurityDescriptorDacl(second, &present, &dacl, &defaulted));
  EXPECT_TRUE(present);
  EXPECT_FALSE(defaulted);
  ASSERT_NE(dacl, nullptr);
  EXPECT_GE(dacl->AceCount, 1);
}

}  // namespace
}  // namespace kestrune
