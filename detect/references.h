#pragma once
// Resolution of the references a configured path or command line may hold: folder properties in
// square brackets, environment variables between percent signs, registry values between
// exclamation marks.

#include <string>

namespace kestrune {

// `text` with every reference replaced. `use64BitView` selects the 64-bit system folder and
// registry view; only searches of prerequisites marked "x" pass true.
std::wstring ExpandReferences(const std::wstring& text, bool use64BitView);

// Replaces `name` with the path of the folder property it names (ending in a backslash, except
// "WindowsVolume" which is "X:\") and returns true; false, with `name` unchanged, when the name is
// not a folder property or the folder cannot be found.
bool ResolveFolderProperty(std::wstring& name, bool use64BitView);

// The value of an environment variable; false (and an empty value) when it is not set.
bool ReadEnvironmentVariable(const std::wstring& name, std::wstring& value);

}  // namespace kestrune
