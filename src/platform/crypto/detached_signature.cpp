#include "platform/crypto/detached_signature.h"

#include <algorithm>

#include "package/minisign_format.h"
#include "platform/crypto/hashing.h"

namespace vmu::crypto {

namespace {

std::string Blake2b512Of(std::string_view data) {
  Blake2b512 hash;
  hash.Update(data.data(), data.size());
  const auto digest = hash.Digest();
  return std::string(digest.begin(), digest.end());
}

PackageCheck Verdict(PackageVerdict verdict, std::string detail, std::string key_id = "") {
  return {verdict, std::move(detail), std::move(key_id), {}};
}

}  // namespace

std::string SignDetached(const SecretKey& key, std::string_view data, const std::string& trusted_comment) {
  const std::string digest = Blake2b512Of(data);
  std::array<uint8_t, 64> hash{};
  std::copy(digest.begin(), digest.end(), hash.begin());
  return package::SignatureFileText(
      SignPrehashed(key, hash, "signature from vmu-pack secret key " + package::KeyIdText(key.id), trusted_comment));
}

PackageCheck DetachedSignatureChecker::CheckDetached(std::string_view data, std::string_view minisig,
                                                     std::string_view trusted_keys) {
  const auto text = package::TrustedKeysText(trusted_keys);
  std::vector<package::PublicKey> keys;
  if (text) keys = package::ParseTrustedKeys(*text);
  if (keys.empty()) return Verdict(PackageVerdict::KeysUnreadable, "the trusted-keys file holds no key");
  if (minisig.empty()) return Verdict(PackageVerdict::Unsigned, "it carries no signature");
  std::string why;
  const auto signature = package::ParseSignatureFile(minisig, &why);
  if (!signature) return Verdict(PackageVerdict::BadSignature, why);
  const std::string id = package::KeyIdText(signature->id);
  const auto key = std::find_if(keys.begin(), keys.end(), [&](const auto& k) { return k.id == signature->id; });
  if (key == keys.end()) return Verdict(PackageVerdict::UnknownKey, "it is signed by the unknown key " + id, id);
  const bool good = signature->prehashed ? VerifySignature(*key, *signature, Blake2b512Of(data))
                                         : VerifySignature(*key, *signature, data);
  if (!good) return Verdict(PackageVerdict::BadSignature, "its signature does not match its contents", id);
  return Verdict(PackageVerdict::Signed, "signed by key " + id, id);
}

}  // namespace vmu::crypto
