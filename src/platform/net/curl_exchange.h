// One HTTP GET with libcurl, following redirects by hand: each hop's
// address is checked against the policy before anything is sent to it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/network.h"

namespace vmu::net {

struct Body {
  // Called once, before the first byte of a successful answer (2xx), with
  // its status and the first byte's offset in the file (from
  // Content-Range, else 0). A failure returned ends the exchange.
  std::function<NetResult(long status, uint64_t first_byte)> begin;
  // Each piece of the body; a failure returned ends the exchange.
  std::function<NetResult(const char* data, std::size_t size)> write;
};

inline constexpr int kMostRedirects = 5;

// GET `url` (from byte `range_from` on, when not 0) into `body`.
NetResult Exchange(const std::string& url, uint64_t range_from, const NetPolicy& policy, const Body& body);

}  // namespace vmu::net
