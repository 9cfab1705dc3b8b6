#include "views/qt/button_mnemonics.h"

#include <gtest/gtest.h>

namespace vmu {
namespace {

TEST(ButtonMnemonics, EachButtonGetsItsOwnLetter) {
  // The wizard's buttons as they start, in the window's order of precedence.
  EXPECT_EQ(WithMnemonics({{"Volgende >>", 'V'},
                           {"Annuleren", 'A'},
                           {"<< Vorige", 'R'},
                           {"Terugdraaien Update", 'T'},
                           {"Open andere programma map", 'O'},
                           {"Directories", 'D'},
                           {"Command1"}}),
            (std::vector<std::string>{"&Volgende >>", "&Annuleren", "<< Vo&rige", "&Terugdraaien Update",
                                      "&Open andere programma map", "&Directories", "&Command1"}));

  // A caption without its letter takes a free word start, then any free letter.
  EXPECT_EQ(WithMnemonics({{"Stoppen", 'V'}, {"Annuleren", 'A'}, {"Stop alles", 'S'}, {"sas"}}),
            (std::vector<std::string>{"&Stoppen", "&Annuleren", "S&top alles", "sas"}))
      << "s and a are taken: another letter, or none";
  EXPECT_EQ(WithMnemonics({{"Tabel", 'T'}, {"Terug naar tabel", 'T'}}),
            (std::vector<std::string>{"&Tabel", "Terug &naar tabel"}));
}

TEST(ButtonMnemonics, AmpersandsStayTextAndAccentedLettersAreNoKeys) {
  EXPECT_EQ(WithMnemonics({{"A & B", 'T'}}), std::vector<std::string>{"&A && B"});
  EXPECT_EQ(WithMnemonics({{"&&", 'A'}}), std::vector<std::string>{"&&&&"});
  // "ë" is two bytes; neither is a key nor starts a word.
  EXPECT_EQ(WithMnemonics({{"e", 'e'}, {"\xc3\xabxtra", 'x'}}), (std::vector<std::string>{"&e", "\xc3\xab&xtra"}));
  EXPECT_EQ(WithMnemonics({{"", 'V'}}), std::vector<std::string>{""});
}

}  // namespace
}  // namespace vmu
