#include "config/chainer_config.h"

#include "platform/path_text.h"
#include "platform/text.h"

namespace kestrune {
namespace {

// Reads entries of one section; an absent key gives an empty string or leaves a value alone.
class SectionReader {
 public:
  explicit SectionReader(const IniSection& section) : section_(section) {}

  bool Has(const std::wstring& key) const { return section_.FindEntry(key) != nullptr; }

  std::wstring Text(const std::wstring& key) const {
    const IniEntry* entry = section_.FindEntry(key);
    return entry ? entry->value : std::wstring();
  }

  // Integers keep their previous value when the key is absent.
  void ReadInteger(const std::wstring& key, int32_t& value) const {
    const IniEntry* entry = section_.FindEntry(key);
    if (entry) value = ParseDecimal(entry->value);
  }

 private:
  const IniSection& section_;
};

void LoadGeneralOptions(const IniDocument& document, GeneralOptions& general) {
  const IniSection* section = document.FindSection(L"GeneralOptions");
  if (section == nullptr) return;
  const SectionReader reader(*section);
  general.options = reader.Text(L"Options");
  general.downloadFolder = reader.Text(L"DownloadFolder");
  general.extractionFolder = WithTrailingBackslash(NormalizePath(reader.Text(L"ExtractionFolder")));
  general.keepFiles = ParseKeepFiles(reader.Text(L"KeepFiles"));
  general.defaultProdCode = reader.Text(L"DefaultProdCode");
}

// Sets the location from the first of SetupFile, OpenSite and Url present; false when none is.
bool ReadLocation(const SectionReader& reader, Prerequisite& prerequisite) {
  const struct {
    const wchar_t* key;
    int32_t kind;
  } kinds[] = {{L"SetupFile", kLocationPackage},
               {L"OpenSite", kLocationSite},
               {L"Url", kLocationDownload}};
  for (const auto& kind : kinds) {
    if (reader.Has(kind.key)) {
      prerequisite.location = reader.Text(kind.key);
      prerequisite.locationKind = kind.kind;
      return true;
    }
  }
  return false;
}

// Appends the numbered searches; false when a SearchType has no SearchString.
bool ReadSearches(const SectionReader& reader, std::vector<PrereqSearch>& searches) {
  for (int m = 1;; ++m) {
    const std::wstring number = std::to_wstring(m);
    if (!reader.Has(L"SearchType" + number)) return true;
    if (!reader.Has(L"SearchString" + number)) return false;
    PrereqSearch search;
    reader.ReadInteger(L"SearchType" + number, search.searchType);
    search.searchString = reader.Text(L"SearchString" + number);
    search.verMin = reader.Text(L"VerMin" + number);
    search.verMax = reader.Text(L"VerMax" + number);
    search.refContent = reader.Text(L"RefContent" + number);
    search.searchCmdLine = reader.Text(L"SearchCmdLine" + number);
    searches.push_back(search);
  }
}

void ReadSetupKeys(const SectionReader& reader, Prerequisite& p) {
  reader.ReadInteger(L"ExactSize", p.exactSize);
  p.md5 = reader.Text(L"MD5");
  reader.ReadInteger(L"Operator", p.searchOperator);
  p.commandLine = reader.Text(L"CommandLine");
  p.basicUiCommandLine = reader.Text(L"BasicUiCommandLine");
  p.noUiCommandLine = reader.Text(L"NoUiCommandLine");
  p.options = reader.Text(L"Options");
  p.retValPropName = reader.Text(L"RetValPropName");
  p.parentPrereq = reader.Text(L"ParentPrereq");
  p.folder = reader.Text(L"Folder");
  p.languageList = reader.Text(L"LanguageList");
}

}  // namespace

bool ReadChainerSection(const IniDocument& document, ChainerSection& out) {
  const IniSection* section = document.FindSection(L"PREREQ_CHAINER");
  if (section == nullptr) return false;
  const struct {
    const wchar_t* key;
    std::wstring* target;
  } keys[] = {{L"CleanupFiles", &out.cleanupFiles},
              {L"CleanupFolders", &out.cleanupFolders},
              {L"LogFile", &out.logFile}};
  for (const auto& key : keys) {
    if (const IniEntry* entry = section->FindEntry(key.key)) *key.target = entry->value;
  }
  return true;
}

int32_t ParseKeepFiles(const std::wstring& keyword) {
  if (keyword == L"complete") return kKeepComplete;
  if (keyword == L"minimum") return kKeepMinimum;
  if (keyword == L"prereqs") return kKeepPrereqs;
  return kKeepNone;
}

std::wstring DefaultPackageFolder(const std::wstring& tempFolder,
                                  const std::wstring& defaultProdCode) {
  std::wstring folder = tempFolder;
  if (!EndsWith(folder, L'\\')) folder += L'\\';
  folder += defaultProdCode;
  if (!EndsWith(folder, L'\\')) folder += L'\\';
  return folder;
}

std::wstring FinishConfiguredFolder(const std::wstring& expanded) {
  std::wstring folder = NormalizePath(expanded);
  if (!EndsWith(folder, L'\\')) folder += L'\\';
  return folder;
}

void ChainerConfig::Load(const IniDocument& document, ReferenceExpander expand) {
  LoadGeneralOptions(document, general);
  for (int n = 1; LoadPrerequisite(document, n, expand); ++n) {
  }
}

bool ChainerConfig::LoadPrerequisite(const IniDocument& document, int number,
                                     ReferenceExpander expand) {
  const IniSection* list = document.FindSection(L"PREREQUISITES");
  const IniEntry* app = list ? list->FindEntry(L"App" + std::to_wstring(number)) : nullptr;
  if (app == nullptr) return false;
  const IniSection* section = document.FindSection(app->value);
  if (section == nullptr) return false;

  const SectionReader reader(*section);
  Prerequisite p;
  p.name = app->value;
  p.verMin = reader.Text(L"VerMin");
  p.verMax = reader.Text(L"VerMax");
  p.winNtVersions = reader.Text(L"WinNTVersions");
  p.winNt64Versions = reader.Text(L"WinNT64Versions");
  if (!ReadLocation(reader, p)) return false;
  ReadSetupKeys(reader, p);
  if (!ReadSearches(reader, p.searches)) return false;

  if (!p.languageList.empty() && !EndsWith(p.languageList, L';')) p.languageList += L';';
  if (p.locationKind == kLocationDownload || p.locationKind == kLocationSite) {
    p.location = expand(p.location);
  }
  p.noDetection = HasLetter(p.options, L'i');
  prerequisites.push_back(p);
  return true;
}

std::wstring ChainerConfig::PayloadPath(const PrereqSearch& /*search*/) const {
  return std::wstring();
}

bool ChainerConfig::IsSilent() const { return HasLetter(general.options, L'q'); }

bool ChainerConfig::IsBasicUi() const { return HasLetter(general.options, L'b'); }

}  // namespace kestrune
