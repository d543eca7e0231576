// One owner for every handle and descriptor of the platform: it closes what it holds exactly
// once, when it goes or is reset. The traits say what "none" is and how to close; the platform's
// own traits are in support/handle_win.h and support/handle_posix.h.
#pragma once

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

// Traits of the many handles whose "none" is null, closed by one function.
template <typename Handle, auto CloseFunction>
struct NullHandleTraits {
  using Native = Handle;
  static Native Invalid() { return nullptr; }
  static bool Valid(Native h) { return h != nullptr; }
  static void Close(Native h) { CloseFunction(h); }
};
