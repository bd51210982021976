#pragma once
// Resolution of the references a configured path or command line may hold: folder properties in
// square brackets, environment variables between percent signs, registry values between
// exclamation marks.

#include <string>

namespace kestrune {

// `text` with every reference replaced. `use64BitView` selects the 64-bit system folder and
// registry view; only searches of prerequisites marked "x" pass true.
std::wstring ExpandReferences(const std::wstring& text, bool use64BitView);

}  // namespace kestrune
