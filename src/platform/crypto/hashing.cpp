// The direct SHA-256 calls, not EVP: EVP would load providers and read
// openssl.cnf at run time, which the static unpacker must not depend on.
#define OPENSSL_SUPPRESS_DEPRECATED
#include "platform/crypto/hashing.h"

#include <stdexcept>
#include <thread>

namespace vmu::crypto {

namespace {

void Initialise() {
  if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
}

}  // namespace

Sha256::Sha256() {
  Initialise();
  SHA256_Init(&state_);
}

void Sha256::Update(const void* data, std::size_t size) { SHA256_Update(&state_, data, size); }

std::string Sha256::HexDigest() {
  unsigned char digest[SHA256_DIGEST_LENGTH];
  SHA256_Final(digest, &state_);
  char hex[2 * SHA256_DIGEST_LENGTH + 1];
  sodium_bin2hex(hex, sizeof hex, digest, sizeof digest);
  return hex;
}

std::string Sha256Hex(std::string_view data) {
  Sha256 hash;
  hash.Update(data.data(), data.size());
  return hash.HexDigest();
}

template <std::size_t N>
Blake2b<N>::Blake2b() {
  Initialise();
  crypto_generichash_blake2b_init(&state_, nullptr, 0, N);
}

template <std::size_t N>
void Blake2b<N>::Update(const void* data, std::size_t size) {
  crypto_generichash_blake2b_update(&state_, static_cast<const unsigned char*>(data), size);
}

template <std::size_t N>
std::array<uint8_t, N> Blake2b<N>::Digest() {
  std::array<uint8_t, N> digest{};
  crypto_generichash_blake2b_final(&state_, digest.data(), N);
  return digest;
}

template class Blake2b<64>;
template class Blake2b<32>;

void UpdateBoth(Sha256& sha, const void* sha_data, std::size_t sha_size, Blake2b512& blake, const void* data,
                std::size_t size) {
  // Below this a thread costs more than it saves.
  constexpr std::size_t kWorthAThread = 1 << 20;
  if (sha_size < kWorthAThread || std::thread::hardware_concurrency() < 2) {
    sha.Update(sha_data, sha_size);
    blake.Update(data, size);
    return;
  }
  std::thread second([&] { sha.Update(sha_data, sha_size); });
  blake.Update(data, size);
  second.join();
}

}  // namespace vmu::crypto
