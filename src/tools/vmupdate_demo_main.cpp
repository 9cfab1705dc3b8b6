// vmupdate-demo DIR: makes a sample Velmora installation in DIR/prefix and
// sample update packages in DIR/packages and in the demo user's documents.
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "app/cli/command_line.h"
#include "platform/error.h"
#include "tools/demo/demo_feed.h"
#include "tools/demo/demo_installation.h"
#include "tools/demo/demo_keys.h"
#include "tools/demo/demo_packages.h"
#include "tools/pack/unpacker_location.h"

namespace {

const vmu::cli::Program kProgram{"vmupdate-demo",
                                 "usage: vmupdate-demo [--feed-url URL] DIR\n"
                                 "Makes DIR/prefix, a drive prefix holding a sample Velmora installation under\n"
                                 "C:\\Program Files\\velmora\\ and a second one in C:\\Velmora-test\\, for trying\n"
                                 "VM_Update (WINEPREFIX=DIR/prefix), and sample update packages in DIR/packages\n"
                                 "(their sources in DIR/package-sources), copied into the user's Documents folder,\n"
                                 "and a signed update feed DIR/packages/feed.json; with --feed-url, the first\n"
                                 "installation's UpdateBron.txt names that address for the feed.\n"};

}  // namespace

int main(int argc, char** argv) {
  vmu::cli::Arguments args;
  if (auto status = vmu::cli::Parse(kProgram, argc, argv, {{"--feed-url", true}}, args, std::cout, std::cerr))
    return *status;
  if (args.operands.size() != 1) return vmu::cli::UsageError(kProgram, "give the folder DIR", std::cerr);
  const std::string dir = args.operands.front();
  const char* user = std::getenv("USER");
  try {
    // Every package needs it: without it, make nothing rather than half a demo.
    const std::string unpacker = vmu::pack::FindUnpacker();
    std::error_code missing;
    if (!std::filesystem::is_regular_file(unpacker, missing)) {
      std::cerr << "vmupdate-demo: the unpacker " << unpacker
                << " is missing; build the target vmu-unpacker or install the package again\n";
      return 1;
    }
    vmu::DemoPaths paths = vmu::MakeDemoInstallation(dir, user && *user ? user : "user");
    std::cout << "prefix              " << paths.prefix << "\n"
              << "program folder      " << paths.program_dir << "\n"
              << "VirtualStore        " << paths.virtual_store << "\n"
              << "data folder         " << paths.data_dir << " (made by the first start)\n"
              << "second installation " << paths.other_dir
              << " (program and data; choose it with \"Open andere programma map\")\n";
    const vmu::DemoKeys keys = vmu::MakeDemoKeys(dir);
    vmu::InstallDemoTrustedKeys(paths, keys);
    std::cout << "signing key         " << vmu::package::KeyIdText(keys.supplier.public_key.id)
              << " (trusted by both installations; the key pair is in " << dir << "/keys)\n";
    const std::vector<vmu::DemoPackage> packages = vmu::MakeDemoPackages(dir, unpacker, &keys);
    const std::string documents = vmu::DemoHostPath(paths, paths.documents);
    vmu::CopyDemoPackages(packages, documents);
    std::cout << "packages:\n";
    for (const vmu::DemoPackage& package : packages)
      std::cout << "  " << package.path << "\n      " << package.description << "\n";
    const std::string feed_url = args.Value("--feed-url");
    std::cout << "update feed         " << vmu::MakeDemoFeed(dir, paths, unpacker, keys, feed_url)
              << " (with update-10302-07.VMU)"
              << (feed_url.empty() ? "" : "; UpdateBron.txt in " + paths.program_dir + " names " + feed_url) << "\n";
    std::cout << "also in " << paths.documents << " (" << documents << "), where the wizard's file dialog opens\n";
  } catch (const vmu::VbError& e) {
    std::cerr << "vmupdate-demo: " << e.description() << '\n';
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "vmupdate-demo: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
