// Fetching over HTTP(S): the update feed into memory and a package into a
// file that survives a dropped connection. The logic and its tests never
// touch a socket; the adapter below (platform/net/) speaks the protocol.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vmu {

enum class NetFailure {
  None,
  NotSecure,    // not https, and plain http was not allowed for this address
  Unreachable,  // name not found, connection refused, proxy failure
  Certificate,  // the server's certificate or TLS handshake did not check out
  TimedOut,     // no connection, or no data for too long
  HttpStatus,   // the server answered with an error status (`status`)
  Redirects,    // too many redirects, a loop, or one to where we may not go
  TooLarge,     // more bytes than the limit (the feed) or the size stated
  Interrupted,  // the connection ended before all bytes came; resumable
  DiskFull,     // no space for the bytes; resumable once there is
  WriteFailed,  // the file could not be written
};

struct NetResult {
  NetFailure failure = NetFailure::None;
  long status = 0;     // the last HTTP status, when one came
  std::string detail;  // English, for the log
  bool ok() const { return failure == NetFailure::None; }
};

struct DownloadResult : NetResult {
  uint64_t size = 0;   // bytes in the file now
  std::string sha256;  // of the whole file, when it is complete
};

struct NetPolicy {
  // Plain http to any address; otherwise only to the loopback address.
  bool allow_plain_http = false;
  int connect_timeout_seconds = 20;
  int stall_timeout_seconds = 30;  // no data at all for this long ends the transfer
};

// Bytes so far and bytes in all (0 when unknown).
using NetProgress = std::function<void(uint64_t done, uint64_t total)>;

class Network {
 public:
  virtual ~Network() = default;
  // The body at `url`, at most `max_bytes` of it, into `body`.
  virtual NetResult Fetch(const std::string& url, uint64_t max_bytes, const NetPolicy& policy, std::string& body) = 0;
  // Downloads `url` into the file `part` (Windows path) until it holds
  // `size` bytes, going on from the bytes already there (a range request);
  // a file that holds more, or a server that ignores the range, starts over.
  // The SHA-256 is taken of every byte of the file as it is completed (an
  // attempt that goes on from an unchanged part of this run's last one need
  // not read that part back). The
  // file is left in place for the next attempt; the caller renames it once
  // it has checked it. It is not flushed: whatever is read from it later is
  // checked again (its hash, its seal and signature), so a power cut can cost
  // the download, never the installation.
  virtual DownloadResult Download(const std::string& url, const std::string& part, uint64_t size,
                                  const NetPolicy& policy, const NetProgress& progress) = 0;
};

// Whether `url` may be fetched under `policy`: https always, http to the
// loopback address (127.0.0.0/8, [::1], localhost) or when allowed.
bool UrlAllowed(const std::string& url, const NetPolicy& policy);

}  // namespace vmu
