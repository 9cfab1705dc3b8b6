#include "platform/network.h"

#include "platform/ascii.h"

namespace vmu {

namespace {

// The host part of an http(s) URL, without user info, port or brackets.
std::string HostOf(const std::string& url, std::size_t after_scheme) {
  std::size_t end = url.find_first_of("/?#", after_scheme);
  std::string authority = url.substr(after_scheme, end == std::string::npos ? std::string::npos : end - after_scheme);
  if (const std::size_t at = authority.rfind('@'); at != std::string::npos) authority.erase(0, at + 1);
  if (!authority.empty() && authority.front() == '[') return authority.substr(1, authority.find(']') - 1);
  return authority.substr(0, authority.find(':'));
}

bool IsLoopback(const std::string& host) {
  if (host == "::1" || AsciiLower(host) == "localhost") return true;
  // 127.x.y.z written as four plain decimal numbers, nothing else.
  if (!host.starts_with("127.")) return false;
  int dots = 0;
  for (char c : host) {
    if (c == '.') ++dots;
    else if (c < '0' || c > '9') return false;
  }
  return dots == 3 && host.back() != '.' && host.find("..") == std::string::npos;
}

}  // namespace

bool UrlAllowed(const std::string& url, const NetPolicy& policy) {
  const std::string lower = AsciiLower(url);
  if (lower.starts_with("https://")) return !HostOf(url, 8).empty();
  if (!lower.starts_with("http://")) return false;
  const std::string host = HostOf(url, 7);
  return !host.empty() && (policy.allow_plain_http || IsLoopback(host));
}

}  // namespace vmu
