#pragma once
// Switching WOW64 file-system redirection off around file operations that must reach the native
// system folders of a 64-bit Windows from this 32-bit process.

namespace kestrune {

// Redirection is a property of the calling thread: a guard must be switched off, reverted and
// destroyed on the thread that created it. It never fails: on systems without redirection it
// does nothing. Neither copied nor moved, so that it stays where its thread left it.
class FsRedirectionGuard {
 public:
  FsRedirectionGuard() = default;
  // Reverts when Disable() switched redirection off and nothing reverted it since.
  ~FsRedirectionGuard();
  FsRedirectionGuard(const FsRedirectionGuard&) = delete;
  FsRedirectionGuard& operator=(const FsRedirectionGuard&) = delete;

  // Switches redirection off for this thread when the system offers it. Does nothing while this
  // guard already holds it off, so that one Revert() always restores the state found first.
  void Disable();
  // Switches redirection back on when this guard switched it off; otherwise does nothing.
  void Revert();

  bool disabled() const { return disabled_; }

 private:
  void* oldValue_ = nullptr;
  bool disabled_ = false;
};

}  // namespace kestrune
