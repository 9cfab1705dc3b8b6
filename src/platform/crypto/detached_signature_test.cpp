#include "platform/crypto/detached_signature.h"

#include <gtest/gtest.h>

namespace vmu::crypto {
namespace {

TEST(DetachedSignature, ChecksExactlyTheSignedBytesAgainstTheTrustedKeys) {
  const KeyPair ours = GenerateKeyPair(), theirs = GenerateKeyPair();
  const std::string feed = "{\"serial\":1}";
  const std::string minisig = SignDetached(ours.secret_key, feed, "timestamp:1\tfile:feed.json");
  const std::string trusted = "# leverancier\n" + package::PublicKeyLine(ours.public_key) + "\n";
  struct Case {
    std::string data, minisig, keys;
    PackageVerdict want;
  } cases[] = {
      {feed, minisig, trusted, PackageVerdict::Signed},
      {feed + " ", minisig, trusted, PackageVerdict::BadSignature},
      {feed, SignDetached(theirs.secret_key, feed, "x"), trusted, PackageVerdict::UnknownKey},
      {feed, "", trusted, PackageVerdict::Unsigned},
      {feed, "no signature", trusted, PackageVerdict::BadSignature},
      {feed, minisig, "# no key here\n", PackageVerdict::KeysUnreadable},
  };
  DetachedSignatureChecker checker;
  for (const Case& c : cases) EXPECT_EQ(checker.CheckDetached(c.data, c.minisig, c.keys).verdict, c.want) << c.data;
}

}  // namespace
}  // namespace vmu::crypto
