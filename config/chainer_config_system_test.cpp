#include "config/chainer_config.h"

#include <gtest/gtest.h>

#include "platform/system_paths.h"

namespace kestrune {
namespace {

TEST(ResolveFolders, EmptyFoldersDefaultToTheTemporaryFolderAndProductCode) {
  ChainerConfig config;
  config.general.defaultProdCode = L"{X}";
  EXPECT_EQ(config.ResolveDownloadFolder(), TempFolder() + L"{X}\\");
  EXPECT_EQ(config.ResolveExtractionFolder(), TempFolder() + L"{X}\\");

  ChainerConfig bare;
  EXPECT_EQ(bare.ResolveDownloadFolder(), TempFolder());
}

TEST(ResolveFolders, ConfiguredFoldersAreNormalisedAndKeptForTheRun) {
  IniDocument document;
  document.Parse(L"[GeneralOptions]\r\nDownloadFolder=D:\\Setups. \\dl \r\n"
                 L"ExtractionFolder=E:\\pkg\\\r\nDefaultProdCode={X}");
  ChainerConfig config;
  config.Load(document);
  EXPECT_EQ(config.ResolveDownloadFolder(), L"D:\\Setups\\dl\\");
  EXPECT_EQ(config.ResolveExtractionFolder(), L"E:\\pkg\\");

  config.general.downloadFolder = L"F:\\other";
  EXPECT_EQ(config.ResolveDownloadFolder(), L"D:\\Setups\\dl\\") << "computed once";
}

TEST(StatusText, TemplatesComeFromTheStringTable) {
  const ChainerConfig config;
  EXPECT_EQ(config.StatusText(0), L"Searching for prerequisites...");
  EXPECT_EQ(config.StatusText(1), L"Downloading %s");
  EXPECT_EQ(config.StatusText(2), L"Installing %s");
  EXPECT_EQ(config.StatusText(3), L"Opening site of %s");
  EXPECT_EQ(config.StatusText(4), L"");
  EXPECT_EQ(config.StatusText(5), L"");
  EXPECT_EQ(config.StatusText(-1), L"");
}

}  // namespace
}  // namespace kestrune
