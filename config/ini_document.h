#pragma once
// The configuration file's INI grammar. No system calls: this file also builds for the host.
//
// The grammar is the one the configuration generator writes, and it is strict: lines end in CR LF
// only, there are no comments, quotes or escapes, duplicates are kept and the first one wins.

#include <string>
#include <vector>

namespace kestrune {

struct IniEntry {
  std::wstring key;
  std::wstring value;
};

struct IniSection {
  std::wstring name;
  std::vector<IniEntry> entries;

  // The first entry whose key equals `key` exactly (case-sensitive), or null.
  const IniEntry* FindEntry(const std::wstring& key) const;
};

class IniDocument {
 public:
  // Replaces the content with the parse of `text` (the file's text after its two-byte mark).
  // Never fails: lines that fit no rule are skipped.
  void Parse(const std::wstring& text);

  // The first section named exactly `name`, or null. The pointer stays valid until the next Parse.
  const IniSection* FindSection(const std::wstring& name) const;

  const std::vector<IniSection>& sections() const { return sections_; }

 private:
  std::vector<IniSection> sections_;
};

}  // namespace kestrune
