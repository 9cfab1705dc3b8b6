#include "platform/crypto/signing.h"

#include <gtest/gtest.h>
#include <sodium.h>

#include <stdexcept>

#include "platform/crypto/hashing.h"

namespace vmu::crypto {
namespace {

std::string Prehash(const std::string& message) {
  Blake2b512 hash;
  hash.Update(message.data(), message.size());
  const auto digest = hash.Digest();
  return std::string(digest.begin(), digest.end());
}

// Made by minisign 0.11: `minisign -G -W`, then `minisign -S -t "hi there"` on "hello\n".
TEST(Signing, ChecksWhatMinisignSignedAndUsesItsSecretKey) {
  const auto key = package::ParsePublicKeyLine("RWSdEAC+IeHL3TSvj8sb9UoySX/SVW8P0WTJuuctbApaPW35DOgdQ40h");
  const auto signature = package::ParseSignatureFile(
      "untrusted comment: signature from minisign secret key\n"
      "RUSdEAC+IeHL3ahwYQvjHB2CdBnAMw0TkbJWpQ8oOlQmhr5oRrVkuTgVmw7D/hBxuI51GI4KC5/kz+89fATpOEiYD4goqO7MZAM=\n"
      "trusted comment: hi there\n"
      "OdtWYgbqpRtcG12reyvgMqmXgyRmlMu3ywHw7X9WzCiZG9HIZofZyOYpg4qrOSaq+USVKchKPwxnsu7DmNHIAg==\n");
  ASSERT_TRUE(key && signature);
  EXPECT_TRUE(VerifySignature(*key, *signature, Prehash("hello\n")));
  EXPECT_FALSE(VerifySignature(*key, *signature, Prehash("hello")));
  auto changed = *signature;
  changed.trusted_comment = "hi there!";
  EXPECT_FALSE(VerifySignature(*key, changed, Prehash("hello\n")));

  const SecretKey secret = UnlockSecretKey(
      package::ParseSecretKeyFile(
          "untrusted comment: minisign encrypted secret key\n"
          "RWQAAEIyAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAnRAAviHhy90JJAgTacaky7h7h3w2YRLeqGrz"
          "aj/"
          "oOa/+dFCXlr7vTzSvj8sb9UoySX/SVW8P0WTJuuctbApaPW35DOgdQ40hAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA=\n"),
      "");
  EXPECT_EQ(PublicKeyOf(secret).key, key->key);
  const auto mine = SignPrehashed(secret, Blake2b512().Digest(), "u", "t");
  EXPECT_TRUE(VerifySignature(*key, mine, Prehash("")));
}

TEST(Signing, RoundTripsAndRefusesAnotherKeyOrADamagedSecretKey) {
  const KeyPair pair = GenerateKeyPair(), other = GenerateKeyPair();
  const auto file = package::ParseSecretKeyFile(UnencryptedSecretKeyFileText(pair.secret_key));
  const SecretKey loaded = UnlockSecretKey(file, "ignored");
  EXPECT_EQ(loaded.key, pair.secret_key.key);
  EXPECT_EQ(PublicKeyOf(loaded).key, pair.public_key.key);

  Blake2b512 hash;
  hash.Update("pakket", 6);
  const auto signature = SignPrehashed(loaded, hash.Digest(), "u", "timestamp:1");
  EXPECT_TRUE(VerifySignature(pair.public_key, signature, Prehash("pakket")));
  package::PublicKey impostor = other.public_key;
  impostor.id = pair.public_key.id;  // the right id, the wrong key
  EXPECT_FALSE(VerifySignature(impostor, signature, Prehash("pakket")));
  EXPECT_FALSE(VerifySignature(other.public_key, signature, Prehash("pakket")));

  auto damaged = file;
  damaged.keynum[20] ^= 1;
  EXPECT_THROW(UnlockSecretKey(damaged, ""), std::runtime_error);
}

// A password-protected key as minisign keeps it: key id, key and checksum
// xor-ed with an scrypt stream (small limits here, to stay quick).
TEST(Signing, UnlocksAPasswordProtectedKey) {
  const KeyPair pair = GenerateKeyPair();
  auto file = package::ParseSecretKeyFile(UnencryptedSecretKeyFileText(pair.secret_key));
  file.encrypted = true;
  Blake2b256 checksum;
  checksum.Update("Ed", 2);
  checksum.Update(file.keynum.data(), 72);
  const auto sum = checksum.Digest();
  std::copy(sum.begin(), sum.end(), file.keynum.begin() + 72);
  file.opslimit = crypto_pwhash_scryptsalsa208sha256_OPSLIMIT_MIN;
  file.memlimit = crypto_pwhash_scryptsalsa208sha256_MEMLIMIT_MIN;
  randombytes_buf(file.salt.data(), file.salt.size());
  std::array<uint8_t, 104> stream{};
  ASSERT_EQ(crypto_pwhash_scryptsalsa208sha256(stream.data(), stream.size(), "geheim", 6, file.salt.data(),
                                               file.opslimit, file.memlimit),
            0);
  for (std::size_t i = 0; i < stream.size(); ++i) file.keynum[i] ^= stream[i];
  const auto reread = package::ParseSecretKeyFile(package::SecretKeyFileText(file));
  EXPECT_TRUE(reread.encrypted);
  EXPECT_EQ(UnlockSecretKey(reread, "geheim").key, pair.secret_key.key);
  try {
    UnlockSecretKey(reread, "fout");
    ADD_FAILURE() << "a wrong password unlocked the key";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "wrong password for the secret key");
  }
}

}  // namespace
}  // namespace vmu::crypto
