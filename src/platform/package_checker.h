// Checks a package before the wizard starts it: that it is whole (its seal),
// and who signed it. The check is made on the wizard's own copy, the very
// file that is then started, so that nothing can swap the bytes in between.
#pragma once

#include <string>
#include <vector>

namespace vmu {

enum class PackageVerdict {
  Intact,          // whole; there are no trusted keys to ask about its signature
  Signed,          // whole and signed by one of the trusted keys
  Unsigned,        // whole, but carries no signature
  UnknownKey,      // whole, signed by a key that is not trusted
  BadSignature,    // its signature does not match its contents, or has a form we refuse
  Damaged,         // truncated, altered or no package at all
  KeysUnreadable,  // the trusted-keys file is there but cannot be read as keys
};

struct PackageCheck {
  PackageVerdict verdict = PackageVerdict::Damaged;
  std::string detail;              // English, for the log and standard error
  std::string key_id;              // the signing key's id as minisign shows it, when known
  std::vector<int> ignored_lines;  // lines of the trusted-keys file that hold no key (1-based)
};

class PackageChecker {
 public:
  virtual ~PackageChecker() = default;
  // Copies the package at `path` into the new file `copy` (Windows paths;
  // `copy` must not exist, and is made private to this user and executable)
  // and checks the bytes written. `trusted_keys` names the trusted-keys
  // file: when nothing is there, only that the package is whole is checked;
  // anything there that is not a readable file of keys refuses every
  // package. Anything but Intact or Signed removes the copy again. Raises
  // VbError when a file cannot be read or written.
  virtual PackageCheck CopyAndCheck(const std::string& path, const std::string& copy,
                                    const std::string& trusted_keys) = 0;
  // The SHA-256 of a file, as 64 lower-case hex digits; VbError when it
  // cannot be read.
  virtual std::string Sha256OfFile(const std::string& path) = 0;
  // The SHA-256 of each file, in order, with the identity of the file read
  // (FileIdentityText; empty where the checker cannot tell); where the
  // checker can, several at once. VbError for the first file in the list
  // that cannot be read.
  struct FileHash {
    std::string sha256;
    std::string identity;
  };
  virtual std::vector<FileHash> HashFiles(const std::vector<std::string>& paths) {
    std::vector<FileHash> hashes;
    for (const std::string& path : paths) hashes.push_back({Sha256OfFile(path), ""});
    return hashes;
  }
};

}  // namespace vmu
