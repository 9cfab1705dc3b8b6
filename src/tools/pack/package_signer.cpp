#include "tools/pack/package_signer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <stdexcept>

#include "platform/crypto/hashing.h"
#include "tools/pack/file_io.h"
#include "tools/pack/package_format.h"
#include "tools/pack/package_writer.h"

namespace vmu::pack {

namespace {

constexpr std::size_t kBlock = 4 << 20;

// The trusted comment names the file; control characters would end its line.
std::string TrustedComment(const std::string& file_name) {
  std::string name = file_name.substr(0, 200);
  std::replace_if(
      name.begin(), name.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x20; }, '?');
  return "timestamp:" + std::to_string(std::time(nullptr)) + "\tfile:" + name + "\thashed";
}

void CopyRange(int from, const std::string& from_path, int to, const std::string& to_path, uint64_t end) {
  std::vector<char> buffer(kBlock);
  for (uint64_t at = 0; at < end;) {
    const auto n = static_cast<std::size_t>(std::min<uint64_t>(buffer.size(), end - at));
    PreadAll(from, buffer.data(), n, at, from_path);
    PwriteAll(to, buffer.data(), n, at, to_path);
    at += n;
  }
}

// Signs the sealed package read from `in` into `out` (the same descriptor
// signs in place). Every byte is read once: up to the end record's comment
// length, which signing changes, the bytes feed the old seal's check, the new
// seal and the signature alike (and are copied when out is another file).
void Sign(int in, const std::string& in_path, int out, const std::string& out_path, const crypto::SecretKey& key,
          const std::string& file_name) {
  const PackageLayout layout = ReadSeal(in, in_path);
  if (layout.version != 2)
    throw PackError(in_path +
                    ": the package was made by an older vmu-pack, whose unpacker knows no signatures; pack it "
                    "again to sign it");
  // The comment's length is part of what is signed: it is fixed first, from
  // a signature of the same shape.
  package::SignatureFile shape;
  shape.untrusted_comment = "signature from vmu-pack secret key " + package::KeyIdText(key.id);
  shape.trusted_comment = TrustedComment(file_name);
  const std::size_t seal_size = package::SealLine(layout.archive_start, layout.sha256).size();
  const std::size_t signature_size = package::SignatureFileText(shape).size();
  const std::size_t comment_size = seal_size + signature_size;
  if (comment_size > 0xFFFF) throw PackError(out_path + ": the seal does not fit in the archive's comment");

  const uint64_t length_at = layout.end_record + 20;  // the comment length, the end record's last field
  crypto::Sha256 sha;
  crypto::Blake2b512 blake;
  std::vector<char> buffer(kBlock);
  for (uint64_t at = 0; at < length_at;) {
    const auto n = static_cast<std::size_t>(std::min<uint64_t>(buffer.size(), length_at - at));
    PreadAll(in, buffer.data(), n, at, in_path);
    if (out != in) PwriteAll(out, buffer.data(), n, at, out_path);
    crypto::UpdateBoth(sha, buffer.data(), n, blake, buffer.data(), n);
    at += n;
  }
  char old_length[2];
  PreadAll(in, old_length, 2, length_at, in_path);
  crypto::Sha256 old_seal = sha;
  old_seal.Update(old_length, 2);
  if (old_seal.HexDigest() != layout.sha256)
    throw PackError(in_path + ": the package is damaged or incomplete (its contents do not match their SHA-256)");

  const char new_length[2] = {static_cast<char>(comment_size & 0xFF), static_cast<char>(comment_size >> 8)};
  sha.Update(new_length, 2);
  blake.Update(new_length, 2);
  const std::string line = package::SealLine(layout.archive_start, sha.HexDigest());
  blake.Update(line.data(), line.size());
  const std::string text = package::SignatureFileText(
      crypto::SignPrehashed(key, blake.Digest(), shape.untrusted_comment, shape.trusted_comment));
  if (line.size() != seal_size || text.size() != signature_size)
    throw PackError(out_path + ": the signature does not have its expected size");

  if (::ftruncate(out, static_cast<off_t>(layout.comment_start)) != 0) RaiseErrno("cannot write", out_path);
  PwriteAll(out, new_length, 2, length_at, out_path);
  const std::string comment = line + text;
  PwriteAll(out, comment.data(), comment.size(), layout.comment_start, out_path);
}

}  // namespace

void SignSealedPackage(int fd, const std::string& path, const crypto::SecretKey& key, const std::string& file_name) {
  Sign(fd, path, fd, path, key, file_name);
}

void SignPackage(const crypto::SecretKey& key, const std::string& package, const std::string& output) {
  UniqueFd in = OpenForReading(package);
  WriteThroughTemporary(output, [&](int fd, const std::string& temp) {
    Sign(in.get(), package, fd, temp, key, output.substr(output.rfind('/') + 1));
  });
}

std::vector<package::PublicKey> LoadPublicKeys(const std::string& file_or_key) {
  if (auto key = package::ParsePublicKeyLine(file_or_key)) return {*key};
  const std::vector<package::PublicKey> keys = package::ParseTrustedKeys(ReadWholeFile(file_or_key));
  if (keys.empty()) throw PackError(file_or_key + ": holds no minisign public key");
  return keys;
}

crypto::SecretKey LoadSecretKey(const std::string& file, const std::function<std::string()>& password) {
  try {
    const package::SecretKeyFile key = package::ParseSecretKeyFile(ReadWholeFile(file));
    return crypto::UnlockSecretKey(key, key.encrypted ? password() : std::string());
  } catch (const PackError&) {
    throw;
  } catch (const std::runtime_error& e) {
    throw PackError(file + ": " + e.what());
  }
}

void ExportSignature(const std::string& package, const std::string& data_output) {
  UniqueFd in = OpenForReading(package);
  const PackageLayout layout = ReadSeal(in.get(), package);
  VerifySeal(in.get(), layout, package);
  if (layout.signature.empty()) throw PackError(package + ": the package is not signed");
  WriteThroughTemporary(
      data_output, [&](int fd, const std::string& temp) { CopyRange(in.get(), package, fd, temp, layout.signed_end); });
  WriteThroughTemporary(data_output + ".minisig", [&](int fd, const std::string& temp) {
    WriteAll(fd, layout.signature.data(), layout.signature.size(), temp);
  });
  // A signature is no program.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::chmod((data_output + ".minisig").c_str(), 0666 & ~mask);
}

}  // namespace vmu::pack
