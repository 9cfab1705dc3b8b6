#include "tools/pack/feed_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <optional>

#include "package/manifest_keys.h"
#include "platform/crypto/detached_signature.h"
#include "platform/crypto/hashing.h"
#include "platform/crypto/package_verification.h"
#include "tools/pack/file_io.h"
#include "tools/pack/manifest.h"
#include "tools/pack/package_listing.h"
#include "tools/pack/package_signer.h"
#include "tools/pack/signing_commands.h"

namespace vmu::pack {

namespace {

namespace key = package::key;

int32_t ManifestNumber(const std::string& manifest, const package::ManifestKey& k, const std::string& package) {
  const std::string text = ManifestValue(manifest, k.name).value_or(k.default_value);
  const auto number = package::ReadWholeNumber(text, *k.number);
  if (!number.ok()) throw PackError(package + ": " + k.name + "=" + text + " is not a number");
  return static_cast<int32_t>(number.value);
}

std::string FileSha256(const std::string& path) {
  UniqueFd fd = OpenForReading(path);
  crypto::Sha256 sha;
  std::string buffer(1 << 20, '\0');
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
    if (n < 0) RaiseErrno("cannot read", path);
    if (n == 0) break;
    sha.Update(buffer.data(), static_cast<std::size_t>(n));
  }
  return sha.HexDigest();
}

void ReplaceFile(const std::string& path, const std::string& text) {
  const std::string temporary = path + ".tmp";
  UniqueFd fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (fd.get() < 0) RaiseErrno("cannot create", temporary);
  WriteAll(fd.get(), text.data(), text.size(), temporary);
  if (::fsync(fd.get()) != 0) RaiseErrno("cannot write", temporary);
  fd.Close(temporary);
  if (::rename(temporary.c_str(), path.c_str()) != 0) RaiseErrno("cannot rename onto", path);
}

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

}  // namespace

package::FeedEntry FeedEntryOf(const std::string& path, const crypto::SecretKey* key) {
  std::vector<package::PublicKey> keys;
  if (key) keys.push_back(crypto::PublicKeyOf(*key));
  PackageCheck check;
  try {
    check = crypto::CheckPackageFile(path, key ? &keys : nullptr);
  } catch (const std::runtime_error& e) {
    throw PackError(e.what());
  }
  if (check.verdict != (key ? PackageVerdict::Signed : PackageVerdict::Intact))
    throw PackError(path + ": " + (key ? "not signed with this key" : "damaged") + " (" + check.detail + ")");
  const PackageListing listing = ListPackage(path);
  if (listing.manifest_name.empty()) throw PackError(path + ": the package has no manifest");
  package::FeedEntry e;
  e.file = e.url = BaseName(path);
  e.ver = ManifestNumber(listing.manifest, key::kVer, path);
  e.ver_update = ManifestNumber(listing.manifest, key::kVerUpdate, path);
  e.ver_low = ManifestNumber(listing.manifest, key::kVerLow, path);
  e.ver_low_update = ManifestNumber(listing.manifest, key::kVerLowUpdate, path);
  e.convert = ManifestNumber(listing.manifest, key::kConvert, path) == 1;
  const UniqueFd fd = OpenForReading(path);
  e.size = FileSize(fd.get(), path);
  e.sha256 = FileSha256(path);
  return e;
}

package::UpdateFeed AddToFeed(package::UpdateFeed feed, const std::vector<package::FeedEntry>& entries, int64_t now,
                              int days) {
  for (const package::FeedEntry& entry : entries) {
    auto& list = feed.packages;
    std::erase_if(list, [&](const package::FeedEntry& old) { return old.file == entry.file; });
    list.push_back(entry);
  }
  ++feed.serial;
  feed.expires = now + int64_t{days} * 86400;
  return feed;
}

void WriteFeedFiles(const std::string& path, const package::UpdateFeed& feed, const crypto::SecretKey* key) {
  const std::string json = package::FeedJson(feed);
  // The signature first: a feed is only ever served beside a signature that
  // fits it, or an older one that the wizard refuses.
  const std::string trusted = "timestamp:" + std::to_string(std::time(nullptr)) + "\tfile:" + BaseName(path) +
                              "\tserial:" + std::to_string(feed.serial);
  if (key) ReplaceFile(path + ".minisig", crypto::SignDetached(*key, json, trusted));
  else if (::unlink((path + ".minisig").c_str()) != 0 && errno != ENOENT)
    RaiseErrno("cannot remove", path + ".minisig");
  ReplaceFile(path, json);
}

package::UpdateFeed UpdateFeedFile(const FeedRequest& request) {
  std::optional<crypto::SecretKey> key;
  if (!request.secret_key.empty()) key = LoadSecretKey(request.secret_key, ReadPassword);
  package::UpdateFeed feed;
  struct stat st {};
  if (::stat(request.feed.c_str(), &st) == 0) {
    std::string why;
    auto old = package::ParseFeed(ReadWholeFile(request.feed), &why);
    if (!old) throw PackError(request.feed + ": " + why);
    feed = std::move(*old);
  }
  const int64_t now = std::time(nullptr);
  std::vector<package::FeedEntry> entries;
  for (const std::string& p : request.packages) {
    package::FeedEntry entry = FeedEntryOf(p, key ? &*key : nullptr);
    entry.date = package::UtcTimeText(now).substr(0, 10);
    entry.note = request.note;
    if (!request.note_given)
      for (const auto& old : feed.packages)
        if (old.file == entry.file) entry.note = old.note;
    entries.push_back(std::move(entry));
  }
  feed = AddToFeed(std::move(feed), entries, now, request.days);
  WriteFeedFiles(request.feed, feed, key ? &*key : nullptr);
  return feed;
}

}  // namespace vmu::pack
