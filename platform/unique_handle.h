#pragma once
// One move-only owner for every kind of system handle. A kind is described by a traits type with
// the handle type, its "no handle" value and the function that closes it:
//
//   struct FileTraits { using Type = HANDLE; static Type Invalid(); static void Close(Type); };
//
// UniqueHandle<FileTraits> closes its handle when destroyed or reset. `Receive()` releases the
// current handle and gives the address to pass as an out-parameter.

#include <windows.h>
#include <wininet.h>

#include <utility>

namespace kestrune {

template <typename Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() : handle_(Traits::Invalid()) {}
  explicit UniqueHandle(Type handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Type get() const { return handle_; }
  bool valid() const { return handle_ != Traits::Invalid(); }
  explicit operator bool() const { return valid(); }

  void reset(Type handle = Traits::Invalid()) {
    const Type old = std::exchange(handle_, handle);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

  Type release() { return std::exchange(handle_, Traits::Invalid()); }

  Type* Receive() {
    reset();
    return &handle_;
  }

 private:
  Type handle_;
};

// Kernel objects whose "no handle" value is null: processes, threads, events, mutexes.
struct KernelHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::CloseHandle(h); }
};

// Files, whose "no handle" value is INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { ::CloseHandle(h); }
};

struct FindHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { ::FindClose(h); }
};

struct RegistryKeyTraits {
  using Type = HKEY;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::RegCloseKey(h); }
};

struct InternetHandleTraits {
  using Type = HINTERNET;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::InternetCloseHandle(h); }
};

// An asynchronous WinINet handle (internet or connection) whose status callback is removed before
// it is closed, so that no notification for it reaches an object that is going away.
struct CallbackInternetHandleTraits {
  using Type = HINTERNET;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) {
    ::InternetSetStatusCallbackW(h, nullptr);
    ::InternetCloseHandle(h);
  }
};

struct ModuleTraits {
  using Type = HMODULE;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::FreeLibrary(h); }
};

// Memory the system allocated with LocalAlloc (access lists, security descriptors, messages).
struct LocalMemoryTraits {
  using Type = HLOCAL;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::LocalFree(h); }
};

// A COM interface pointer, released when the holder lets it go.
template <typename Interface>
struct ComTraits {
  using Type = Interface*;
  static Type Invalid() { return nullptr; }
  static void Close(Type p) { p->Release(); }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using RegistryKey = UniqueHandle<RegistryKeyTraits>;
using InternetHandle = UniqueHandle<InternetHandleTraits>;
using CallbackInternetHandle = UniqueHandle<CallbackInternetHandleTraits>;
using ModuleHandle = UniqueHandle<ModuleTraits>;
using LocalMemory = UniqueHandle<LocalMemoryTraits>;
template <typename Interface>
using ComPtr = UniqueHandle<ComTraits<Interface>>;

}  // namespace kestrune
