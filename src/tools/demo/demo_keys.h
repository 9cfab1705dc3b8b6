// The demo's signing keys: the supplier's pair, whose public key the demo
// installations trust, and a stranger's, to show a refused package.
#pragma once

#include <string>

#include "platform/crypto/signing.h"
#include "tools/demo/demo_installation.h"

namespace vmu {

struct DemoKeys {
  crypto::KeyPair supplier;
  crypto::KeyPair stranger;
};

// Makes both pairs and writes them as minisign files into DIR/keys/
// (supplier.pub, supplier.key, stranger.pub, stranger.key).
DemoKeys MakeDemoKeys(const std::string& dir);

// Writes the trusted-keys file with the supplier's key into the program
// folder of both demo installations.
void InstallDemoTrustedKeys(const DemoPaths& paths, const DemoKeys& keys);

// The trusted-keys file's text for a key.
std::string TrustedKeysText(const package::PublicKey& key);

}  // namespace vmu
