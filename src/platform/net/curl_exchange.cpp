#include "platform/net/curl_exchange.h"

#include <curl/curl.h>

#include <cstdlib>
#include <mutex>
#include <set>

#include "platform/ascii.h"

namespace vmu::net {

namespace {

struct Response {
  const Body* body = nullptr;
  long status = 0;
  uint64_t first_byte = 0;
  bool started = false;
  bool passing = false;  // this answer's body goes to `body`
  NetResult stop;        // why a callback ended the transfer
};

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
  auto& r = *static_cast<Response*>(user);
  const std::string line(data, size * count);
  // Each answer (a redirect's, a proxy's) starts with its status line.
  if (line.starts_with("HTTP/")) {
    r.status = std::strtol(line.c_str() + line.find(' '), nullptr, 10);
    r.first_byte = 0;
  } else if (AsciiLower(line).starts_with("content-range:")) {
    const std::size_t bytes = line.find("bytes ");
    if (bytes != std::string::npos) r.first_byte = std::strtoull(line.c_str() + bytes + 6, nullptr, 10);
  }
  return size * count;
}

std::size_t OnData(char* data, std::size_t size, std::size_t count, void* user) {
  auto& r = *static_cast<Response*>(user);
  const std::size_t n = size * count;
  if (!r.started) {
    r.started = true;
    r.passing = r.status >= 200 && r.status < 300;
    if (r.passing) r.stop = r.body->begin(r.status, r.first_byte);
    if (!r.stop.ok()) return 0;
  }
  if (!r.passing) return n;  // a redirect's or an error's page: not wanted
  r.stop = r.body->write(data, n);
  return r.stop.ok() ? n : 0;
}

NetResult Failure(NetFailure failure, std::string detail, long status = 0) {
  return {failure, status, std::move(detail)};
}

NetFailure FailureOf(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT: return NetFailure::Unreachable;
    case CURLE_OPERATION_TIMEDOUT: return NetFailure::TimedOut;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR: return NetFailure::Certificate;
    case CURLE_UNSUPPORTED_PROTOCOL: return NetFailure::NotSecure;
    case CURLE_TOO_MANY_REDIRECTS: return NetFailure::Redirects;
    default: return NetFailure::Interrupted;
  }
}

struct Easy {
  Easy() : handle(curl_easy_init()) {}
  ~Easy() { curl_easy_cleanup(handle); }
  CURL* handle;
};

}  // namespace

NetResult Exchange(const std::string& first_url, uint64_t range_from, const NetPolicy& policy, const Body& body) {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  std::string url = first_url;
  std::set<std::string> seen;
  for (int hop = 0; hop <= kMostRedirects; ++hop) {
    if (!UrlAllowed(url, policy))
      return Failure(hop == 0 ? NetFailure::NotSecure : NetFailure::Redirects, "not allowed without https: " + url);
    if (!seen.insert(url).second) return Failure(NetFailure::Redirects, "redirect loop at " + url);
    Easy easy;
    if (!easy.handle) return Failure(NetFailure::Interrupted, "libcurl could not start");
    CURL* c = easy.handle;
    Response response;
    response.body = &body;
    char error[CURL_ERROR_SIZE] = "";
    const std::string range = std::to_string(range_from) + "-";
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, static_cast<long>(policy.connect_timeout_seconds));
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, static_cast<long>(policy.stall_timeout_seconds));
    curl_easy_setopt(c, CURLOPT_BUFFERSIZE, 512L * 1024);
    curl_easy_setopt(c, CURLOPT_USERAGENT, "VM_Update");
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
    if (range_from > 0) curl_easy_setopt(c, CURLOPT_RANGE, range.c_str());
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &response);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, OnData);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &response);
    const CURLcode code = curl_easy_perform(c);
    if (!response.stop.ok()) return response.stop;
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    if (code != CURLE_OK)
      return Failure(FailureOf(code), std::string(curl_easy_strerror(code)) + (*error ? ": " : "") + error, status);
    if (status >= 300 && status < 400) {
      char* next = nullptr;
      curl_easy_getinfo(c, CURLINFO_REDIRECT_URL, &next);
      if (!next) return Failure(NetFailure::HttpStatus, "redirect without a location", status);
      url = next;
      continue;
    }
    if (status < 200 || status >= 300)
      return Failure(NetFailure::HttpStatus, "HTTP status " + std::to_string(status), status);
    // An empty body reaches no callback: the answer begins here.
    if (!response.started) {
      if (NetResult begun = body.begin(status, response.first_byte); !begun.ok()) return begun;
    }
    return {NetFailure::None, status, ""};
  }
  return Failure(NetFailure::Redirects, "more than " + std::to_string(kMostRedirects) + " redirects");
}

}  // namespace vmu::net
