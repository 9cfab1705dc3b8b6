// Signing a package, checking its signature, and handing its signed bytes
// and signature to minisign.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "package/minisign_format.h"
#include "platform/crypto/signing.h"
#include "platform/package_checker.h"

namespace vmu::pack {

// Signs the sealed package open at fd in place, replacing any signature it
// has; `file_name` goes into the trusted comment. Raises PackError for a
// damaged package or one of the first kind (its unpacker knows no signature).
void SignSealedPackage(int fd, const std::string& path, const crypto::SecretKey& key, const std::string& file_name);

// Writes `output`: the package signed with `key`.
void SignPackage(const crypto::SecretKey& key, const std::string& package, const std::string& output);

// The keys of a public key file, a trusted-keys file or a bare key line.
// Raises PackError when it holds none.
std::vector<package::PublicKey> LoadPublicKeys(const std::string& file_or_key);

// Reads a secret key file; asks `password` for the password when the key is
// encrypted. Raises PackError.
crypto::SecretKey LoadSecretKey(const std::string& file, const std::function<std::string()>& password);

// Writes `data_output` (the bytes the signature covers) and
// `data_output`.minisig, so that `minisign -V -m data_output` checks them.
// Raises PackError for an unsigned or damaged package.
void ExportSignature(const std::string& package, const std::string& data_output);

}  // namespace vmu::pack
