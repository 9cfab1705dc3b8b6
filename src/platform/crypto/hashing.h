// Hashes: SHA-256 for the package's seal and the unpacked files (libcrypto,
// which uses the processor's SHA instructions), BLAKE2b for minisign's
// prehashed signatures and key checksums (libsodium).
#pragma once

#include <openssl/sha.h>
#include <sodium.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vmu::crypto {

// Copyable: a copy continues from the bytes hashed so far.
class Sha256 {
 public:
  Sha256();
  void Update(const void* data, std::size_t size);
  // The digest as 64 lower-case hex digits; the object is spent afterwards.
  std::string HexDigest();

 private:
  SHA256_CTX state_;
};

std::string Sha256Hex(std::string_view data);

template <std::size_t N>
class Blake2b {
 public:
  Blake2b();
  void Update(const void* data, std::size_t size);
  std::array<uint8_t, N> Digest();

 private:
  crypto_generichash_blake2b_state state_;
};

using Blake2b512 = Blake2b<64>;
using Blake2b256 = Blake2b<32>;

// Feeds a block to both hashes of a package check, the SHA-256 on a second
// thread for large blocks: the pair then takes as long as the slower alone.
void UpdateBoth(Sha256& sha, const void* sha_data, std::size_t sha_size, Blake2b512& blake, const void* data,
                std::size_t size);

}  // namespace vmu::crypto
