#include "views/qt/button_mnemonics.h"

#include <optional>

#include "platform/ascii.h"

namespace vmu {
namespace {

bool IsKey(char ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9'); }

// Where the mnemonic goes in `caption`, if a free key is there.
std::optional<size_t> ChooseKey(const MnemonicRequest& request, const std::string& taken) {
  const std::string& caption = request.caption;
  auto is_free = [&](size_t i) { return IsKey(caption[i]) && taken.find(AsciiLower(caption[i])) == std::string::npos; };
  if (request.preferred != '\0') {
    for (size_t i = 0; i < caption.size(); ++i) {
      if (AsciiLower(caption[i]) == AsciiLower(request.preferred) && is_free(i)) return i;
    }
  }
  for (size_t i = 0; i < caption.size(); ++i) {
    // A byte of a multi-byte character is no word boundary, nor a key.
    const bool word_start = i == 0 || (!IsKey(caption[i - 1]) && static_cast<unsigned char>(caption[i - 1]) < 0x80);
    if (word_start && is_free(i)) return i;
  }
  for (size_t i = 0; i < caption.size(); ++i) {
    if (is_free(i)) return i;
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::string> WithMnemonics(const std::vector<MnemonicRequest>& requests) {
  std::vector<std::string> shown;
  std::string taken;
  for (const MnemonicRequest& request : requests) {
    const std::optional<size_t> key = ChooseKey(request, taken);
    if (key) taken += AsciiLower(request.caption[*key]);
    std::string text;
    for (size_t i = 0; i < request.caption.size(); ++i) {
      if (key && i == *key) text += '&';
      if (request.caption[i] == '&') text += '&';
      text += request.caption[i];
    }
    shown.push_back(text);
  }
  return shown;
}

}  // namespace vmu
