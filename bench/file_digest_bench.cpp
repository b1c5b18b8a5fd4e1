// FileMD5Hex's rate on a large file (meant to be in the page cache) against the rate of our MD5
// over memory in 16 KiB pieces, measured in turns in one run; the best of kRuns for each. md5sum's
// rate and digest of the same file, measured outside, may be given to compare with.
//   file_digest_bench FILE [MD5SUM_MB_PER_S MD5SUM_DIGEST]
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "digest/file_digest.h"
#include "digest/md5.h"

namespace {

constexpr int kRuns = 5;

double Seconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                        b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc < 2) {
    std::fprintf(stderr, "usage: file_digest_bench FILE [MD5SUM_MB_PER_S MD5SUM_DIGEST]\n");
    return 2;
  }
  const std::string path = argv[1];
  const double md5sum_rate = argc > 2 ? std::atof(argv[2]) : 0;
  const std::string md5sum_digest = argc > 3 ? argv[3] : "";

  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
    std::fprintf(stderr, "cannot read the size of %s\n", path.c_str());
    return 2;
  }
  const uint64_t size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;

  // 1 MiB of pseudo-random bytes, digested over and over up to the file's size.
  std::vector<uint8_t> memory(1 << 20);
  uint32_t x = 2463534242u;
  for (uint8_t& b : memory) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    b = static_cast<uint8_t>(x);
  }

  double best_memory = 1e30, best_file = 1e30;
  std::string digest;
  for (int run = 0; run < kRuns; ++run) {
    double start = Seconds();
    vorlund::TMD5State ctx;
    vorlund::MD5Init(ctx);
    for (uint64_t done = 0; done < size; done += vorlund::MD5StageSize) {
      vorlund::MD5Update(ctx, memory.data() + done % memory.size(), vorlund::MD5StageSize);
    }
    uint8_t sink[16];
    vorlund::MD5Final(sink, ctx);
    double memory_seconds = Seconds() - start;

    start = Seconds();
    try {
      digest = vorlund::FileMD5Hex(path);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      return 1;
    }
    double file_seconds = Seconds() - start;
    if (memory_seconds < best_memory) best_memory = memory_seconds;
    if (file_seconds < best_file) best_file = file_seconds;
  }

  const double mb = static_cast<double>(size) / 1e6;
  const double memory_rate = mb / best_memory, file_rate = mb / best_file;
  std::printf("file              %s, %.0f MB, digest %s\n", path.c_str(), mb, digest.c_str());
  std::printf("in-memory MD5     %8.1f MB/s (16 KiB pieces)\n", memory_rate);
  std::printf("FileMD5Hex        %8.1f MB/s  %.3f x in-memory MD5 (target 0.9)\n", file_rate,
              file_rate / memory_rate);
  int status = 0;
  if (md5sum_rate > 0) {
    std::printf("md5sum            %8.1f MB/s  FileMD5Hex %.3f x md5sum (target 1.0)\n",
                md5sum_rate, file_rate / md5sum_rate);
  }
  if (!md5sum_digest.empty() && !SameText(digest, md5sum_digest)) {
    std::printf("digest differs from md5sum's %s\n", md5sum_digest.c_str());
    status = 1;
  }
  return status;
}
