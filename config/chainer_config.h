#pragma once
// The typed configuration: general options, the ordered prerequisite list and the chainer's own
// section, read from the parsed INI document.
//
// Load and the mode queries need no system call and also build for the host; the folder
// resolvers and StatusText (chainer_config_system.cpp) ask the system.

#include <cstdint>
#include <string>
#include <vector>

#include "config/ini_document.h"
#include "prereq/prerequisite.h"

namespace kestrune {

// How long downloaded setups are kept (GeneralOptions KeepFiles).
enum KeepFilesMode : int32_t {
  kKeepNone = 0,
  kKeepMinimum = 1,
  kKeepComplete = 2,
  kKeepPrereqs = 5,
};

struct GeneralOptions {
  std::wstring options;           // letter flags: "q" silent, "b" basic UI
  std::wstring downloadFolder;
  std::wstring extractionFolder;  // normalised at load, with a trailing backslash when not empty
  int32_t keepFiles = kKeepNone;
  std::wstring defaultProdCode;
};

// Section PREREQ_CHAINER.
struct ChainerSection {
  std::wstring cleanupFiles;    // paths separated by U+0001
  std::wstring cleanupFolders;  // root folder of the package's temporary files
  std::wstring logFile;         // logging is on only when this is not empty
};

// Resolves folder-property, environment and registry references in a configured text.
using ReferenceExpander = std::wstring (*)(const std::wstring& text);

// Copies the keys of PREREQ_CHAINER that are present into `out` (absent keys leave it as it
// was). False when the section is absent.
bool ReadChainerSection(const IniDocument& document, ChainerSection& out);

// Maps the KeepFiles keyword ("complete", "minimum", "prereqs", exact case) to its mode.
int32_t ParseKeepFiles(const std::wstring& keyword);

// The default download and extraction folder: `tempFolder` (a backslash added when missing) and
// `defaultProdCode`, ending in a backslash.
std::wstring DefaultPackageFolder(const std::wstring& tempFolder,
                                  const std::wstring& defaultProdCode);

// A configured folder after reference expansion: normalised, ending in a backslash.
std::wstring FinishConfiguredFolder(const std::wstring& expanded);

class ChainerConfig : public PayloadProvider {
 public:
  std::vector<Prerequisite> prerequisites;
  GeneralOptions general;

  // Reads GeneralOptions, then the numbered prerequisites, with the production reference
  // expansion. Never fails: what is missing is simply absent.
  void Load(const IniDocument& document);

  // Load with `expand` applied to the locations of downloads and web pages.
  void Load(const IniDocument& document, ReferenceExpander expand);

  bool IsSilent() const;   // Options contains "q"
  bool IsBasicUi() const;  // Options contains "b"

  // The effective folders, always ending in a backslash. Computed on the first call from the
  // configured value (expanded and normalised) or, when that is empty, from the temporary folder
  // and DefaultProdCode; later calls return the same text.
  const std::wstring& ResolveDownloadFolder();
  const std::wstring& ResolveExtractionFolder();

  // The package carries no files of its own for searches to run: always empty.
  std::wstring PayloadPath(const PrereqSearch& search) const override;

  // The status line template of the operations engine for `kind` (0 searching, 1 downloading,
  // 2 installing, 3 opening a site), from the string table; empty for any other kind.
  std::wstring StatusText(int kind) const;

 private:
  bool LoadPrerequisite(const IniDocument& document, int number, ReferenceExpander expand);

  std::wstring downloadFolder_;
  std::wstring extractionFolder_;
  bool downloadFolderResolved_ = false;
  bool extractionFolderResolved_ = false;
};

}  // namespace kestrune
