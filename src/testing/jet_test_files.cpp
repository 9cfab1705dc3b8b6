#include "testing/jet_test_files.h"

#include <zlib.h>

#include <stdexcept>

namespace vmu::testing {

std::string JetTestFile(const std::string& name) {
  const std::string path = std::string(VMU_JET_TESTDATA) + "/" + name + ".gz";
  gzFile in = gzopen(path.c_str(), "rb");
  if (!in) throw std::runtime_error("missing test file " + path);
  std::string bytes;
  char buf[65536];
  int n = 0;
  while ((n = gzread(in, buf, sizeof buf)) > 0) bytes.append(buf, static_cast<size_t>(n));
  gzclose(in);
  return bytes;
}

}  // namespace vmu::testing
