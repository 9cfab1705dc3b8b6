// SHA-256, to seal a package's archive and check it before unpacking.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vmu::pack {

class Sha256 {
 public:
  Sha256();
  void Update(const void* data, std::size_t size);
  // The digest as 64 lower-case hex digits; the object is spent afterwards.
  std::string HexDigest();

 private:
  std::array<uint32_t, 8> state_;
  std::array<uint8_t, 64> buffer_;
  std::size_t buffered_ = 0;
  uint64_t total_ = 0;
};

std::string Sha256Hex(std::string_view data);

// The block function, exposed so that the tests check both versions: the
// portable one and the one on the processor's SHA instructions (when it has
// them; otherwise the portable one again).
void Sha256BlocksPortable(uint32_t state[8], const uint8_t* data, std::size_t blocks);
void Sha256BlocksFast(uint32_t state[8], const uint8_t* data, std::size_t blocks);

}  // namespace vmu::pack
