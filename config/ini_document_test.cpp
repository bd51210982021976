#include "config/ini_document.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

// What a lookup of (section, key) should give; null `value` means "not found".
struct Lookup {
  const wchar_t* section;
  const wchar_t* key;
  const wchar_t* value;
};

struct GrammarCase {
  const char* what;
  const wchar_t* text;
  std::vector<Lookup> lookups;
};

TEST(IniDocument, GrammarTable) {
  const GrammarCase cases[] = {
      {"trailing space after the value is trimmed",
       L"[GeneralOptions]\r\nOptions = q \r\n", {{L"GeneralOptions", L"Options", L"q"}}},
      {"blanks inside the brackets belong to the name",
       L"[ GeneralOptions ]\r\nOptions=q\r\n",
       {{L"GeneralOptions", L"Options", nullptr}, {L" GeneralOptions ", L"Options", L"q"}}},
      {"header followed by blanks is a header; leading blanks too",
       L"  [Sec] \t\r\nk=v", {{L"Sec", L"k", L"v"}}},
      {"unclosed header is neither header nor entry",
       L"[Sec]\r\n[Other\r\nk=v", {{L"Sec", L"k", L"v"}, {L"Other", L"k", nullptr}}},
      {"further equals signs belong to the value",
       L"[S]\r\na=b=c\r\n=v", {{L"S", L"a", L"b=c"}, {L"S", L"", L"v"}}},
      {"second section of the same name is never seen",
       L"[X]\r\na=1\r\n[X]\r\nb=2", {{L"X", L"a", L"1"}, {L"X", L"b", nullptr}}},
      {"first of two equal keys wins", L"[S]\r\nk=1\r\nk=2", {{L"S", L"k", L"1"}}},
      {"keys are case-sensitive", L"[S]\r\noptions=q", {{L"S", L"Options", nullptr},
                                                          {L"S", L"options", L"q"}}},
      {"sections are case-sensitive", L"[generaloptions]\r\nOptions=q",
       {{L"GeneralOptions", L"Options", nullptr}}},
      {"no comment syntax", L"[S]\r\n; note=x\r\n# a=b",
       {{L"S", L"; note", L"x"}, {L"S", L"# a", L"b"}}},
      {"entries before the first header are dropped", L"k=v\r\n[S]\r\nj=w",
       {{L"S", L"k", nullptr}, {L"S", L"j", L"w"}}},
      {"line without equals sign is ignored", L"[S]\r\njunk\r\nk=v", {{L"S", L"k", L"v"}}},
      {"header detection comes before entries", L"[S=1]\r\nk=v", {{L"S=1", L"k", L"v"}}},
      {"LF-only file is one line and so at most one section",
       L"[S]\nk=v\n", {{L"S", L"k", nullptr}}},
      {"lone CR stays in the value", L"[S]\r\nk=a\rb\r\n", {{L"S", L"k", L"a\rb"}}},
      {"one leading mark is removed", L"\xFEFF[S]\r\nk=v", {{L"S", L"k", L"v"}}},
      {"a second mark stays and spoils the first line", L"\xFEFF\xFEFF[S]\r\nk=v",
       {{L"S", L"k", nullptr}}},
      {"empty value and empty lines", L"\r\n\r\n[S]\r\n\r\nk=\r\n", {{L"S", L"k", L""}}},
      {"control characters count as blanks around a header",
       L"\x01[S]\x1F\r\nk=v", {{L"S", L"k", L"v"}}},
      {"empty brackets make a section with an empty name", L"[]\r\nk=v", {{L"", L"k", L"v"}}},
      {"tab around key and value is trimmed", L"[S]\r\n\tkey\t=\tvalue\t", {{L"S", L"key", L"value"}}},
  };
  for (const GrammarCase& c : cases) {
    IniDocument document;
    document.Parse(c.text);
    for (const Lookup& lookup : c.lookups) {
      const IniSection* section = document.FindSection(lookup.section);
      const IniEntry* entry = section ? section->FindEntry(lookup.key) : nullptr;
      if (lookup.value == nullptr) {
        EXPECT_EQ(entry, nullptr) << c.what << ": [" << lookup.section << "] " << lookup.key;
      } else {
        ASSERT_NE(entry, nullptr) << c.what << ": [" << lookup.section << "] " << lookup.key;
        EXPECT_EQ(entry->value, lookup.value) << c.what;
      }
    }
  }
}

TEST(IniDocument, KeepsDuplicatesInFileOrder) {
  IniDocument document;
  document.Parse(L"[A]\r\nk=1\r\nk=2\r\n[B]\r\n[A]\r\nk=3");
  ASSERT_EQ(document.sections().size(), 3u);
  EXPECT_EQ(document.sections()[0].name, L"A");
  EXPECT_EQ(document.sections()[0].entries.size(), 2u);
  EXPECT_EQ(document.sections()[1].name, L"B");
  EXPECT_EQ(document.sections()[2].entries[0].value, L"3");
}

TEST(IniDocument, ParseReplacesEarlierContent) {
  IniDocument document;
  document.Parse(L"[A]\r\nk=1");
  document.Parse(L"");
  EXPECT_TRUE(document.sections().empty());
  EXPECT_EQ(document.FindSection(L"A"), nullptr);
}

}  // namespace
}  // namespace kestrune
