// The digest of a whole file, read in blocks and handed to the MD5 context through a staging
// buffer.
#pragma once

#include <cstdint>
#include <string>

#include "digest/md5.h"

namespace vorlund {

// The size of the read buffer and of every read from a file but the last.
inline constexpr int32_t MD5FileBlockSize = 102400;
// The size of the staging buffer and of the largest piece handed to MD5Update.
inline constexpr int32_t MD5StageSize = 16384;

// MD5Update over length bytes (0 or more), passed on in pieces of at most MD5StageSize bytes
// copied into a staging buffer taken from the heap for this call. Raises EOutOfMemory when
// the heap cannot supply it.
void MD5UpdateStaged(TMD5State& context, const void* data, int32_t length);

// The digest text (32 upper-case hexadecimal characters) of the file's whole content.
// Raises EFOpenError when the file cannot be opened, EFReadError when a read fails or
// delivers fewer bytes than the length measured at the start, EOutOfMemory when the heap
// cannot supply a buffer. The file is closed and every buffer released on every way out.
std::string FileMD5Hex(const std::string& path);

}  // namespace vorlund
