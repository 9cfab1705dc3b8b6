// The network on libcurl: HTTPS with the system's certificate checks, the
// proxies of the usual environment variables, redirects followed one by one
// so that each hop is checked before it is fetched.
#pragma once

#include <sys/types.h>
#include <time.h>

#include <optional>

#include "platform/file_system.h"
#include "platform/net/trailing_sha256.h"
#include "platform/network.h"

namespace vmu {

class CurlNetwork : public Network {
 public:
  explicit CurlNetwork(FileSystem& fs);
  NetResult Fetch(const std::string& url, uint64_t max_bytes, const NetPolicy& policy, std::string& body) override;
  DownloadResult Download(const std::string& url, const std::string& part, uint64_t size, const NetPolicy& policy,
                          const NetProgress& progress) override;

  // Where the last download that broke off stopped hashing its part file.
  struct KeptHash {
    std::string path;
    dev_t dev;
    ino_t ino;
    struct timespec changed;
    net::Sha256Midstate state;
  };

 private:
  FileSystem& fs_;
  std::optional<KeptHash> kept_;
};

}  // namespace vmu
