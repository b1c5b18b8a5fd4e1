// Throughput of our MD5 against OpenSSL's over the same buffers, in one run: for each piece
// size, both digest the same message, in turns, several times; the best rate of each counts.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/md5.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "digest/md5.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kMessageBytes = size_t{256} << 20;  // per timed run
constexpr int kRuns = 7;

struct Result {
  unsigned char digest[16];
  double seconds;
};

Result RunOurs(const std::vector<unsigned char>& piece, size_t pieces) {
  Result r;
  auto start = Clock::now();
  vorlund::TMD5State ctx;
  vorlund::MD5Init(ctx);
  for (size_t i = 0; i < pieces; ++i)
    vorlund::MD5Update(ctx, piece.data(), static_cast<int32_t>(piece.size()));
  vorlund::MD5Final(r.digest, ctx);
  r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return r;
}

Result RunOpenSsl(const std::vector<unsigned char>& piece, size_t pieces) {
  Result r;
  auto start = Clock::now();
  MD5_CTX ctx;
  MD5_Init(&ctx);
  for (size_t i = 0; i < pieces; ++i) MD5_Update(&ctx, piece.data(), piece.size());
  MD5_Final(r.digest, &ctx);
  r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<size_t> sizes = {64, 1024, 16384, 102400, 1 << 20};
  if (argc > 1) {
    sizes.clear();
    for (int i = 1; i < argc; ++i) sizes.push_back(std::strtoul(argv[i], nullptr, 10));
  }
  std::mt19937 rng(1321);
  std::printf("%10s %12s %12s %8s\n", "piece", "ours MB/s", "OpenSSL MB/s", "ratio");
  int status = 0;
  for (size_t size : sizes) {
    std::vector<unsigned char> piece(size);
    for (auto& b : piece) b = static_cast<unsigned char>(rng());
    const size_t pieces = kMessageBytes / size;
    const double bytes = static_cast<double>(pieces * size);
    double best_ours = 1e9, best_ssl = 1e9;
    for (int run = 0; run < kRuns; ++run) {
      Result ours = RunOurs(piece, pieces);
      Result ssl = RunOpenSsl(piece, pieces);
      if (std::memcmp(ours.digest, ssl.digest, 16) != 0) {
        std::printf("digests differ at piece size %zu\n", size);
        status = 1;
      }
      if (ours.seconds < best_ours) best_ours = ours.seconds;
      if (ssl.seconds < best_ssl) best_ssl = ssl.seconds;
    }
    std::printf("%10zu %12.1f %12.1f %8.3f\n", size, bytes / best_ours / 1e6,
                bytes / best_ssl / 1e6, best_ssl / best_ours);
  }
  return status;
}
