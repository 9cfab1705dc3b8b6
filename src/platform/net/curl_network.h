// The network on libcurl: HTTPS with the system's certificate checks, the
// proxies of the usual environment variables, redirects followed one by one
// so that each hop is checked before it is fetched.
#pragma once

#include "platform/file_system.h"
#include "platform/network.h"

namespace vmu {

class CurlNetwork : public Network {
 public:
  explicit CurlNetwork(FileSystem& fs);
  NetResult Fetch(const std::string& url, uint64_t max_bytes, const NetPolicy& policy, std::string& body) override;
  DownloadResult Download(const std::string& url, const std::string& part, uint64_t size, const NetPolicy& policy,
                          const NetProgress& progress) override;

 private:
  FileSystem& fs_;
};

}  // namespace vmu
