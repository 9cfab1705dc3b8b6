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

constexpr std::size_t kBlock = 1 << 20;

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

}  // namespace

void SignSealedPackage(int fd, const std::string& path, const crypto::SecretKey& key, const std::string& file_name) {
  const PackageLayout layout = ReadSeal(fd, path);
  if (layout.version != 2)
    throw PackError(path +
                    ": the package was made by an older vmu-pack, whose unpacker knows no signatures; pack it "
                    "again to sign it");
  VerifySeal(fd, layout, path);

  // The comment's length is part of what is signed: it is fixed first, from
  // a signature of the same shape.
  package::SignatureFile shape;
  shape.untrusted_comment = "signature from vmu-pack secret key " + package::KeyIdText(key.id);
  shape.trusted_comment = TrustedComment(file_name);
  const std::size_t seal_size = package::SealLine(layout.archive_start, layout.sha256).size();
  const std::size_t signature_size = package::SignatureFileText(shape).size();
  if (::ftruncate(fd, static_cast<off_t>(layout.comment_start)) != 0) RaiseErrno("cannot write", path);
  const std::string line = WriteSealLine(fd, layout, seal_size + signature_size, path);

  crypto::Blake2b512 hash;
  std::vector<char> buffer(kBlock);
  for (uint64_t at = 0; at < layout.comment_start;) {
    const auto n = static_cast<std::size_t>(std::min<uint64_t>(buffer.size(), layout.comment_start - at));
    PreadAll(fd, buffer.data(), n, at, path);
    hash.Update(buffer.data(), n);
    at += n;
  }
  hash.Update(line.data(), line.size());
  const std::string text = package::SignatureFileText(
      crypto::SignPrehashed(key, hash.Digest(), shape.untrusted_comment, shape.trusted_comment));
  if (text.size() != signature_size) throw PackError(path + ": the signature does not have its expected size");
  PwriteAll(fd, text.data(), text.size(), layout.comment_start + line.size(), path);
}

void SignPackage(const crypto::SecretKey& key, const std::string& package, const std::string& output) {
  UniqueFd in = OpenForReading(package);
  const uint64_t size = FileSize(in.get(), package);
  WriteThroughTemporary(output, [&](int fd, const std::string& temp) {
    CopyRange(in.get(), package, fd, temp, size);
    SignSealedPackage(fd, temp, key, output.substr(output.rfind('/') + 1));
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
