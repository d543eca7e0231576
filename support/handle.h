// Owners for Win32 handles.
#pragma once

#include <windows.h>

template <typename Traits>
class UniqueHandle {
 public:
  using Native = typename Traits::Native;
  UniqueHandle() = default;
  explicit UniqueHandle(Native handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  bool valid() const { return Traits::Valid(handle_); }
  Native get() const { return handle_; }
  Native release() {
    Native handle = handle_;
    handle_ = Traits::Invalid();
    return handle;
  }
  void reset(Native handle = Traits::Invalid()) {
    if (Traits::Valid(handle_)) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Native handle_ = Traits::Invalid();
};

struct FileHandleTraits {
  using Native = HANDLE;
  static Native Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Valid(Native h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void Close(Native h) { CloseHandle(h); }
};
using FileHandle = UniqueHandle<FileHandleTraits>;

// Traits of the many handles whose "none" is null, closed by one function.
template <typename Handle, auto CloseFunction>
struct NullHandleTraits {
  using Native = Handle;
  static Native Invalid() { return nullptr; }
  static bool Valid(Native h) { return h != nullptr; }
  static void Close(Native h) { CloseFunction(h); }
};

using ModuleHandle = UniqueHandle<NullHandleTraits<HMODULE, FreeLibrary>>;
