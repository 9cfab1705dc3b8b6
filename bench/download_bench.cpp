// download-bench URL HOST_FILE SIZE [CUT]: downloads with the wizard's network
// code (SHA-256 taken while writing, resumed from what HOST_FILE already
// holds) and prints the seconds it took, the bytes it fetched and the hash.
// With CUT, a first attempt that the server breaks off after CUT bytes goes
// before, untimed, in the same run: the second press after a lost connection.
#include <chrono>
#include <cstdlib>
#include <iostream>

#include "platform/host/drive_map.h"
#include "platform/host/host_file_system.h"
#include "platform/net/curl_network.h"

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::cerr << "usage: download-bench URL HOST_FILE SIZE [CUT]\n";
    return 2;
  }
  vmu::HostFileSystem fs{vmu::DriveMap(vmu::DriveMap::DefaultPrefix())};
  vmu::CurlNetwork network(fs);
  const std::string part = fs.WindowsPath(argv[2]);
  const uint64_t size = std::strtoull(argv[3], nullptr, 10);
  if (argc == 5) network.Download(std::string(argv[1]) + "?close=" + argv[4], part, size, vmu::NetPolicy{}, {});
  const uint64_t had = fs.FileExists(part) ? fs.FileSize(part) : 0;
  const auto start = std::chrono::steady_clock::now();
  const vmu::DownloadResult result = network.Download(argv[1], part, size, vmu::NetPolicy{}, {});
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  if (!result.ok()) {
    std::cerr << "download-bench: " << result.detail << '\n';
    return 1;
  }
  std::cout << took.count() << ' ' << (size - had) << ' ' << result.sha256 << '\n';
  return 0;
}
