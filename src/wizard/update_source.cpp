#include "wizard/update_source.h"

#include "platform/ascii.h"

namespace vmu {

std::optional<UpdateSource> ParseUpdateSource(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  UpdateSource source;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end == std::string_view::npos ? text.size() : end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    line = TrimBlanks(line);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == '#') continue;
    if (AsciiLower(line) == "onbeveiligd") source.plain_http = true;
    else if (source.url.empty()) source.url = std::string(line);
  }
  if (source.url.empty()) return std::nullopt;
  return source;
}

}  // namespace vmu
