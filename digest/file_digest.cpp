#include "digest/file_digest.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "common/errors.h"
#include "common/handles.h"
#include "common/system_text.h"

namespace vorlund {
namespace {

// The buffers come from a heap that holds nothing else, empty between two calls, so taking and
// releasing them costs the same at every call. Taken from the C runtime's heap after the file
// calls, the two blocks cost under Wine about as much as opening the file (the heap gives the
// pages of a large free block back to the system and takes them again at the next call).
HANDLE DigestHeap() {
  static const HANDLE heap = HeapCreate(0, 0, 0);
  return heap;
}

struct ReleaseToDigestHeap {
  void operator()(uint8_t* block) const { HeapFree(DigestHeap(), 0, block); }
};

// A block taken from the heap, released when it goes out of scope.
using HeapBlock = std::unique_ptr<uint8_t[], ReleaseToDigestHeap>;

HeapBlock TakeHeapBlock(size_t size) {
  const HANDLE heap = DigestHeap();
  auto* block = heap ? static_cast<uint8_t*>(HeapAlloc(heap, 0, size)) : nullptr;
  if (!block) throw EOutOfMemory();
  return HeapBlock(block);
}

[[noreturn]] void RaiseReadError(const std::string& path, DWORD code) {
  throw EFReadError(FileErrorText(kReadFileError, path, code));
}

// Moves the file position by a 64-bit distance; returns the new position.
uint64_t MoveFilePointer(HANDLE file, int64_t distance, DWORD method, const std::string& path) {
  LONG high = static_cast<LONG>(distance >> 32);
  SetLastError(NO_ERROR);
  DWORD low = SetFilePointer(file, static_cast<LONG>(distance & 0xFFFFFFFF), &high, method);
  if (low == INVALID_SET_FILE_POINTER) {
    DWORD code = GetLastError();
    if (code != NO_ERROR) RaiseReadError(path, code);
  }
  return (static_cast<uint64_t>(static_cast<DWORD>(high)) << 32) | low;
}

// Reads exactly size bytes at the current position. A read that fails, or that delivers
// fewer bytes (the file was shortened meanwhile, a byte range is locked, a device failed),
// raises the read error: the digest would otherwise cover bytes that were never read.
void ReadExactly(HANDLE file, uint8_t* buffer, DWORD size, const std::string& path) {
  DWORD done = 0;
  if (!ReadFile(file, buffer, size, &done, nullptr)) RaiseReadError(path, GetLastError());
  if (done != size) RaiseReadError(path, ERROR_HANDLE_EOF);
}

}  // namespace

void MD5UpdateStaged(TMD5State& context, const void* data, int32_t length) {
  HeapBlock stage = TakeHeapBlock(MD5StageSize);
  const uint8_t* next = static_cast<const uint8_t*>(data);
  int32_t left = length;
  int32_t piece;
  do {
    piece = std::min(left, MD5StageSize);
    if (piece > 0) {
      std::memcpy(stage.get(), next, piece);
      MD5Update(context, stage.get(), piece);
      next += piece;
      left -= piece;
    }
  } while (piece == MD5StageSize);
}

std::string FileMD5Hex(const std::string& path) {
  // A name with a NUL in it would open the file named by its part before the NUL.
  HANDLE handle = INVALID_HANDLE_VALUE;
  DWORD open_error = ERROR_INVALID_NAME;
  if (path.find('\0') == std::string::npos) {
    handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) open_error = GetLastError();
  }
  if (handle == INVALID_HANDLE_VALUE) {
    throw EFOpenError(FileErrorText(kOpenFileError, path, open_error));
  }
  FileHandle file(handle);
  HeapBlock buffer = TakeHeapBlock(MD5FileBlockSize);

  TMD5State context;
  MD5Init(context);

  // The length: a file just opened stands at position 0; move to the end, then back to 0,
  // where the reads start.
  const uint64_t length = MoveFilePointer(file.Get(), 0, FILE_END, path);
  const uint64_t blocks = length / MD5FileBlockSize;
  const DWORD rest = static_cast<DWORD>(length % MD5FileBlockSize);

  MoveFilePointer(file.Get(), 0, FILE_BEGIN, path);
  for (uint64_t i = 0; i < blocks; ++i) {
    ReadExactly(file.Get(), buffer.get(), MD5FileBlockSize, path);
    MD5UpdateStaged(context, buffer.get(), MD5FileBlockSize);
  }
  if (rest > 0) {
    ReadExactly(file.Get(), buffer.get(), rest, path);
    MD5UpdateStaged(context, buffer.get(), static_cast<int32_t>(rest));
  }
  buffer.reset();

  uint8_t digest[16];
  MD5Final(digest, context);
  return MD5DigestHex(digest);
}

}  // namespace vorlund
