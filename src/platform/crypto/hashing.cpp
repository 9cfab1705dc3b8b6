#include "platform/crypto/hashing.h"

#include <stdexcept>

namespace vmu::crypto {

namespace {

void Initialise() {
  if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
}

}  // namespace

Sha256::Sha256() {
  Initialise();
  crypto_hash_sha256_init(&state_);
}

void Sha256::Update(const void* data, std::size_t size) {
  crypto_hash_sha256_update(&state_, static_cast<const unsigned char*>(data), size);
}

std::string Sha256::HexDigest() {
  unsigned char digest[crypto_hash_sha256_BYTES];
  crypto_hash_sha256_final(&state_, digest);
  char hex[2 * crypto_hash_sha256_BYTES + 1];
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

}  // namespace vmu::crypto
