#include "testing/sealed_package.h"

#include "package/package_seal.h"
#include "platform/crypto/hashing.h"

namespace vmu::testing {

namespace {

void Put(std::string& to, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) to.push_back(static_cast<char>(value >> (8 * i)));
}

}  // namespace

std::string SealedPackage(const std::string& program) {
  const std::string seal_shape = package::SealLine(program.size(), std::string(64, '0'));
  std::string bytes = program;
  Put(bytes, 0x06054b50, 4);  // end record: no entries, the directory at the archive's start
  Put(bytes, 0, 8);
  Put(bytes, 0, 4);
  Put(bytes, program.size(), 4);
  Put(bytes, seal_shape.size(), 2);
  return bytes + package::SealLine(program.size(), crypto::Sha256Hex(bytes));
}

std::string CopyingPackage(const std::string& source, const std::string& target) {
  return SealedPackage(
      "#!/bin/sh\ncp '" + source + "'/* '" + target + "'/ || exit 1\ncd '" + source +
      "' || exit 1\nfor f in *; do echo \"$(sha256sum < \"$f\" | cut -c1-64) $(stat -c %s \"$f\") $f\"; "
      "done\nexit 0\n");
}

}  // namespace vmu::testing
