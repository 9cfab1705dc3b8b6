// Keyboard mnemonics for the window's buttons: Qt's "&" before one letter of
// each caption, no letter used twice. The captions the logic sets stay as
// they are; only the text the button shows carries the marker.
#pragma once

#include <string>
#include <vector>

namespace vmu {

struct MnemonicRequest {
  std::string caption;    // as the logic sets it, UTF-8
  char preferred = '\0';  // the letter wanted, when the caption has it
};

// Each caption as a button shows it: a "&" in the caption doubled, and a "&"
// before the chosen letter. Earlier requests choose first: the preferred
// letter, else the first free letter that starts a word, else any free letter
// or digit. A caption without a free one gets no mnemonic.
std::vector<std::string> WithMnemonics(const std::vector<MnemonicRequest>& requests);

}  // namespace vmu
