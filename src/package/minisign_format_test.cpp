#include "package/minisign_format.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vmu::package {
namespace {

// Made by minisign 0.11 (`minisign -G -W`, then `minisign -S -t "hi there"` on "hello\n").
const std::string kPublicLine = "RWSdEAC+IeHL3TSvj8sb9UoySX/SVW8P0WTJuuctbApaPW35DOgdQ40h";
const std::string kSecretFile =
    "untrusted comment: minisign encrypted secret key\n"
    "RWQAAEIyAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAnRAAviHhy90JJAgTacaky7h7h3w2YRLeqGrzaj/"
    "oOa/+dFCXlr7vTzSvj8sb9UoySX/SVW8P0WTJuuctbApaPW35DOgdQ40hAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA=\n";
const std::string kSignature =
    "untrusted comment: signature from minisign secret key\n"
    "RUSdEAC+IeHL3ahwYQvjHB2CdBnAMw0TkbJWpQ8oOlQmhr5oRrVkuTgVmw7D/hBxuI51GI4KC5/kz+89fATpOEiYD4goqO7MZAM=\n"
    "trusted comment: hi there\n"
    "OdtWYgbqpRtcG12reyvgMqmXgyRmlMu3ywHw7X9WzCiZG9HIZofZyOYpg4qrOSaq+USVKchKPwxnsu7DmNHIAg==\n";

TEST(Base64, EncodesAndDecodesTheStandardAlphabetWithPadding) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},        {"f", "Zg=="},        {"fo", "Zm8="},
      {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {std::string("\xff\xfe\x00", 3), "//4A"}};
  for (const auto& [bytes, text] : cases) {
    EXPECT_EQ(Base64Encode(bytes), text);
    EXPECT_EQ(Base64Decode(text), bytes) << text;
  }
  for (const char* bad : {"Zg=", "Zg", "Z===", "Zm9v=Zm9", "Zm-v", "Zm9v\n", "=Zm9"})
    EXPECT_FALSE(Base64Decode(bad)) << bad;
}

TEST(MinisignFiles, ReadsWhatMinisignWritesAndWritesItBack) {
  const auto key = ParsePublicKeyLine("  " + kPublicLine + "\r\n");
  ASSERT_TRUE(key);
  EXPECT_EQ(KeyIdText(key->id), "DDCBE121BE00109D");
  EXPECT_EQ(PublicKeyLine(*key), kPublicLine);
  EXPECT_EQ(PublicKeyFileText(*key), "untrusted comment: minisign public key DDCBE121BE00109D\n" + kPublicLine + "\n");

  const SecretKeyFile secret = ParseSecretKeyFile(kSecretFile);
  EXPECT_FALSE(secret.encrypted);
  EXPECT_TRUE(std::equal(key->id.begin(), key->id.end(), secret.keynum.begin()));
  // minisign calls even an unencrypted key "encrypted" in its comment; the key line is what counts.
  EXPECT_EQ(SecretKeyFileText(secret).substr(SecretKeyFileText(secret).find('\n')),
            kSecretFile.substr(kSecretFile.find('\n')));

  std::string why;
  const auto signature = ParseSignatureFile(kSignature, &why);
  ASSERT_TRUE(signature) << why;
  EXPECT_TRUE(signature->prehashed);
  EXPECT_EQ(signature->id, key->id);
  EXPECT_EQ(signature->trusted_comment, "hi there");
  EXPECT_EQ(SignatureFileText(*signature), kSignature);
}

TEST(MinisignFiles, RefusesWhatIsNotOne) {
  EXPECT_FALSE(ParsePublicKeyLine(kPublicLine.substr(1)));
  EXPECT_FALSE(ParsePublicKeyLine("RU" + kPublicLine.substr(2)));  // not "Ed"
  EXPECT_FALSE(ParsePublicKeyLine("# " + kPublicLine));

  for (const std::string& bad :
       {std::string(""), kSecretFile.substr(kSecretFile.find('\n') + 1),
        kSecretFile.substr(0, kSecretFile.size() - 6) + "A=\n", "untrusted comment: x\n" + kPublicLine + "\n"})
    EXPECT_THROW(ParseSecretKeyFile(bad), std::runtime_error) << bad;

  std::string lines[4];
  std::size_t at = 0;
  for (auto& line : lines) {
    const std::size_t end = kSignature.find('\n', at);
    line = kSignature.substr(at, end - at);
    at = end + 1;
  }
  const std::pair<std::string, std::string> cases[] = {
      {lines[0] + "\n" + lines[1] + "\n" + lines[2] + "\n", "the signature is incomplete"},
      {"x\n" + lines[1] + "\n" + lines[2] + "\n" + lines[3] + "\n", "the signature has no untrusted comment line"},
      {lines[0] + "\n" + lines[1] + "\nx\n" + lines[3] + "\n", "the signature has no trusted comment line"},
      {lines[0] + "\n" + lines[1].substr(4) + "\n" + lines[2] + "\n" + lines[3] + "\n", "the signature is malformed"},
      {lines[0] + "\nRX" + lines[1].substr(2) + "\n" + lines[2] + "\n" + lines[3] + "\n",
       "the signature uses an unknown algorithm"},
      {kSignature + "more\n", "the signature has extra lines"},
  };
  for (const auto& [text, reason] : cases) {
    std::string why;
    EXPECT_FALSE(ParseSignatureFile(text, &why)) << text;
    EXPECT_EQ(why, reason);
  }
}

TEST(TrustedKeys, OneKeyALineWithCommentsAndMinisignsOwnPublicKeyFiles) {
  std::vector<int> bad;
  const auto keys = ParseTrustedKeys("# leverancier\r\n\r\n" + kPublicLine +
                                         "\r\nuntrusted comment: minisign public key 1\r\nniet een sleutel\r\n" + "  " +
                                         kPublicLine + "  \n",
                                     &bad);
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(KeyIdText(keys[1].id), "DDCBE121BE00109D");
  EXPECT_EQ(bad, std::vector<int>{5});
  EXPECT_TRUE(ParseTrustedKeys("# alleen commentaar\n").empty());
}

}  // namespace
}  // namespace vmu::package
