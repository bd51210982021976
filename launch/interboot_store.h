#pragma once
// The exit codes of the launched setups, kept in a registry key of the current user so that they
// outlive a reboot: one REG_SZ value per return-value name, holding the code as signed decimal
// text. The key comes into being with its first value; Close deletes it unless the run ends with
// a reboot pending.
//
// The run sequence creates the store and closes it; the operations engine hands it to the setup
// launcher, which writes each exit code. One thread at a time: the one running the passes.

#include <cstdint>
#include <string>

namespace kestrune {

// Results of SetString and SetInt.
const int kStoreWritten = 0;
const int kStoreValueExists = 3;

class InterbootStore {
 public:
  // `keyPath` is a subkey of HKEY_CURRENT_USER in the ANSI code page. Touches no registry.
  InterbootStore(const std::string& keyPath, bool deleteOnClose);

  InterbootStore(const InterbootStore&) = delete;
  InterbootStore& operator=(const InterbootStore&) = delete;

  // Writes `value` as signed decimal text ("-1073741819" for 0xC0000005) through SetString.
  int SetInt(const std::wstring& name, int32_t value);

  // Writes `text` under the value `name` (both converted to the ANSI code page; an empty name is
  // the key's default value), creating the key when needed, as REG_SZ without terminating zero.
  // kStoreValueExists when a value of that name is already there: the first value written under
  // a name is the one that stays. Otherwise kStoreWritten, also when the registry refused the
  // write (the failure is not reported).
  int SetString(const std::wstring& name, const std::wstring& text);

  // Deletes the key when deleteOnClose is set (a missing key is fine); the result is not
  // examined. Called once, at the end of the run.
  void Close();

  bool deleteOnClose() const { return deleteOnClose_; }
  // Cleared when the run ends with a reboot pending, so that the key survives.
  void SetDeleteOnClose(bool value) { deleteOnClose_ = value; }

  const std::string& keyPath() const { return keyPath_; }

 private:
  bool ValueExists(const std::string& name) const;

  std::string keyPath_;
  bool deleteOnClose_;
};

}  // namespace kestrune
