// Owners of system handles: each gives its handle back on every way out of the scope that took
// it, also when an error passes through. One small class per kind of handle.
#pragma once

#include <windows.h>
//
#include <objbase.h>

#include <utility>

namespace vorlund {

// A handle, the value that means "none", and how it is given back.
template <typename Handle, typename Traits>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  ~Owned() { Reset(); }
  Owned(Owned&& other) noexcept : handle_(other.Release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  Handle Get() const { return handle_; }
  bool Valid() const { return handle_ != Traits::None(); }
  explicit operator bool() const { return Valid(); }
  // Gives the handle up without releasing it.
  Handle Release() { return std::exchange(handle_, Traits::None()); }
  // Releases the handle held, if any, and holds another.
  void Reset(Handle handle = Traits::None()) {
    if (Valid()) Traits::Free(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::None();
};

struct FileTraits {
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  static void Free(HANDLE handle) { CloseHandle(handle); }
};
struct SearchTraits {
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  static void Free(HANDLE handle) { FindClose(handle); }
};
struct MemoryDcTraits {
  static HDC None() { return nullptr; }
  static void Free(HDC dc) { DeleteDC(dc); }
};
template <typename Object>
struct GdiObjectTraits {
  static Object None() { return nullptr; }
  static void Free(Object object) { DeleteObject(object); }
};

// A file opened with CreateFileA, closed with CloseHandle.
using FileHandle = Owned<HANDLE, FileTraits>;
// A search started with FindFirstFileA, closed with FindClose.
using SearchHandle = Owned<HANDLE, SearchTraits>;
// A device context made with CreateCompatibleDC, deleted with DeleteDC.
using MemoryDc = Owned<HDC, MemoryDcTraits>;
// A GDI object (a bitmap, a font, a brush), deleted with DeleteObject.
template <typename Object>
using GdiObject = Owned<Object, GdiObjectTraits<Object>>;

// A window's device context, from GetDC to ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context; the one it replaced is selected back.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selection() {
    if (old_) SelectObject(dc_, old_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A block or item list of the shell's allocator (SHGetMalloc), given back to it.
class ShellMemory {
 public:
  ShellMemory(IMalloc& allocator, void* block) : allocator_(allocator), block_(block) {}
  ~ShellMemory() {
    if (block_) allocator_.Free(block_);
  }
  ShellMemory(const ShellMemory&) = delete;
  ShellMemory& operator=(const ShellMemory&) = delete;
  void* Get() const { return block_; }

 private:
  IMalloc& allocator_;
  void* block_;
};

// A COM interface pointer, released on every way out.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (pointer_) pointer_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  // Where a call that hands out an interface writes it.
  Interface** Out() { return &pointer_; }
  Interface* Get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

 private:
  Interface* pointer_ = nullptr;
};

}  // namespace vorlund
