// Step 2's check of the chosen package, driven through the script driver on
// the demo installation: refusals leave nothing behind, a signed package
// goes on, and a signed package may bring new trusted keys.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/script/scenario_test_kit.h"
#include "package/minisign_format.h"
#include "tools/pack/package_writer.h"
#include "tools/pack/source_check.h"
#include "wizard/package_trust.h"

namespace vmu {
namespace {

namespace stdfs = std::filesystem;
using scenario::Tool;
using testing::ReadHostFile;
using testing::WriteHostFile;

struct Demo : scenario::SignedDemo {
  Demo() {
    CopyDemoPackages(packages, Documents());
    // An unsigned package and a half-downloaded one beside them.
    pack::WritePackage(Tool("vmu-unpacker"), Sources("update-10302-06"), Documents() + "/unsigned.VMU");
    const std::string whole = ReadHostFile(Documents() + "/update-10302-06.VMU");
    WriteHostFile(Documents() + "/half.VMU", whole.substr(0, whole.size() / 2));
  }
  std::string KeyFile() const { return DemoHostPath(paths, paths.program_dir + kTrustedKeysName); }
  std::vector<pack::SourceFile> Sources(const std::string& name) const {
    return pack::CheckSourceFolder(dir.Sub("package-sources/" + name)).files;
  }
  std::string Log() const { return ReadHostFile(Data() + "ConversieLog.TXT"); }
};

std::string Msgbox(const std::string& text) {
  return "msgbox title \"VM_Update\" text \"" + text + "\" buttons ok icon critical default 1 -> ok\n";
}

const std::string kNotFromSupplier =
    "] komt niet van de leverancier van Velmora of is gewijzigd nadat het is ondertekend. De update wordt niet "
    "geïnstalleerd.\\r\\n\\r\\nReden: ";

TEST(SignatureScenario, RefusedPackagesAreNamedAndLeaveNothingBehind) {
  Demo demo;
  const std::string supplier = package::KeyIdText(demo.keys.supplier.public_key.id);
  const std::string stranger = package::KeyIdText(demo.keys.stranger.public_key.id);
  struct Case {
    std::string file, message, log;
  };
  const Case cases[] = {
      {"foreign-signature.VMU",
       "Het updatefile [foreign-signature.VMU" + kNotFromSupplier + "het updatefile is ondertekend met een onbekende " +
           "sleutel (" + stranger + ").",
       "geweigerd: geen geldige handtekening (it is signed by the unknown key " + stranger + ")"},
      {"unsigned.VMU", "Het updatefile [unsigned.VMU" + kNotFromSupplier + "het updatefile is niet ondertekend.",
       "geweigerd: geen geldige handtekening (it carries no signature)"},
      {"half.VMU",
       "Het updatefile [half.VMU] is beschadigd of onvolledig.\\r\\n\\r\\nDownload de update opnieuw en kies dan het "
       "nieuwe updatefile.",
       "geweigerd: beschadigd of onvolledig (no sealed archive at its end)"},
  };
  for (const Case& c : cases) {
    const std::string out = demo.Run("answer ok\nfile C:\\users\\anna\\Documents\\" + c.file + "\npress next\ndump\n");
    EXPECT_NE(out.find(Msgbox(c.message)), std::string::npos) << out;
    EXPECT_NE(out.find("state Label2 text \"Stap 1 van 3\""), std::string::npos) << out;
    EXPECT_EQ(out.find("start \""), std::string::npos) << out;
    EXPECT_TRUE(demo.Log().ends_with("\r\nUpdatefile C:\\users\\anna\\Documents\\" + c.file + " " + c.log + "\r\n"))
        << demo.Log();
    EXPECT_TRUE(stdfs::is_empty(demo.Data() + "Update")) << c.file;
  }

  // A key file that is there but holds no readable keys refuses every package.
  const std::string key_file = demo.KeyFile(), keys = ReadHostFile(key_file);
  const std::string unreadable =
      "Het bestand C:\\\\Program Files\\\\velmora\\\\UpdateSleutels.txt met de sleutels van de leverancier kan niet "
      "gelezen worden. Zolang dat zo is, wordt geen enkele update geïnstalleerd.\\r\\n\\r\\nHerstel dit bestand of "
      "neem contact op met uw leverancier.";
  const std::function<void()> broken[] = {
      [&] { stdfs::create_directory(key_file); },
      [&] { stdfs::create_symlink(key_file + ".weg", key_file); },
      [&] { WriteHostFile(key_file, std::string("\0\0\0", 3)); },
      [&] { WriteHostFile(key_file, "# geen sleutel\n"); },
  };
  for (const auto& breaking : broken) {
    stdfs::remove(key_file);
    breaking();
    const std::string out = demo.Run("answer ok\nfile C:\\users\\anna\\Documents\\update-10302-06.VMU\npress next\n");
    EXPECT_NE(out.find(Msgbox(unreadable)), std::string::npos) << out;
    EXPECT_EQ(out.find("start \""), std::string::npos) << out;
  }
  // A BOM, UTF-16 as Notepad saves it, and a junk line, which is logged.
  std::string utf16 = "\xFF\xFE";
  for (char c : keys + "junk\n") utf16 += std::string{c, '\0'};
  for (const std::string& text : {"\xEF\xBB\xBF" + keys, utf16}) {
    stdfs::remove(key_file);
    WriteHostFile(key_file, text);
    const std::string out = demo.Run("file C:\\users\\anna\\Documents\\update-10302-06.VMU\npress next\n");
    EXPECT_NE(out.find("staat klaar om geïnstalleerd te worden"), std::string::npos) << out;
  }
  EXPECT_NE(demo.Log().find("UpdateSleutels.txt regel 4 bevat geen sleutel en is overgeslagen\r\n"), std::string::npos)
      << demo.Log();

  // A signed package whose unpacker refuses its last entry leaves nothing.
  const std::string source = demo.dir.Sub("package-sources/update-10302-06");
  std::vector<pack::SourceFile> files = demo.Sources("update-10302-06");
  files.push_back({std::string(256, 'x'), source + "/FileList.VML", 0});
  files.back().size = stdfs::file_size(files.back().host_path);
  pack::WritePackage(Tool("vmu-unpacker"), files, demo.Documents() + "/long.VMU", &demo.keys.supplier.secret_key);
  // The message and the log line are the package step's test; here the real unpacker's reason.
  demo.Run("answer ok\nfile C:\\users\\anna\\Documents\\long.VMU\npress next\n");
  EXPECT_NE(demo.Log().find("has a name longer than Windows allows)"), std::string::npos) << demo.Log();
  EXPECT_TRUE(stdfs::is_empty(demo.Data() + "Update"));
  stdfs::remove(key_file);
  WriteHostFile(key_file, keys);

  // The supplier's package goes on to the unpacker.
  const std::string out = demo.Run("file C:\\users\\anna\\Documents\\update-10302-06.VMU\npress next\nwait unpack\n");
  EXPECT_NE(out.find("staat klaar om geïnstalleerd te worden"), std::string::npos) << out;
  EXPECT_NE(demo.Log().find("\r\nHandtekening van updatefile C:\\users\\anna\\Documents\\update-10302-06.VMU in "
                            "orde (sleutel " +
                            supplier + ")\r\n"),
            std::string::npos);
  EXPECT_TRUE(stdfs::exists(demo.Data() + "Update/installatieV2.ini"));
}

TEST(SignatureScenario, WithoutTrustedKeysOnlyDamageIsRefused) {
  Demo demo;
  stdfs::remove(demo.KeyFile());
  std::string out = demo.Run("file C:\\users\\anna\\Documents\\unsigned.VMU\npress next\nwait unpack\n");
  EXPECT_NE(out.find("staat klaar om geïnstalleerd te worden"), std::string::npos) << out;
  EXPECT_NE(demo.Log().find("\r\nUpdatefile C:\\users\\anna\\Documents\\unsigned.VMU niet op een handtekening "
                            "gecontroleerd: geen UpdateSleutels.txt in de programmamap\r\n"),
            std::string::npos);
  out = demo.Run("answer ok\nfile C:\\users\\anna\\Documents\\half.VMU\npress next\n");
  EXPECT_NE(out.find("is beschadigd of onvolledig"), std::string::npos) << out;
}

// Key rotation: a package signed with the current key installs the new key file.
TEST(SignatureScenario, ASignedPackageMayBringNewTrustedKeys) {
  Demo demo;
  const crypto::KeyPair next = crypto::GenerateKeyPair();
  const std::string source = demo.dir.Sub("package-sources/update-10302-06");
  WriteHostFile(source + "/" + kTrustedKeysName, TrustedKeysText(next.public_key));
  WriteHostFile(source + "/FileList.VML",
                ReadHostFile(source + "/FileList.VML") + "\"" + kTrustedKeysName + "\",1\r\n");
  pack::WritePackage(Tool("vmu-unpacker"), demo.Sources("update-10302-06"), demo.Documents() + "/rotation.VMU",
                     &demo.keys.supplier.secret_key);
  std::string out = demo.Run("file C:\\users\\anna\\Documents\\rotation.VMU\npress next\nwait unpack\npress next\n");
  EXPECT_NE(out.find("De Update is succesvol verlopen"), std::string::npos) << out;
  EXPECT_EQ(ReadHostFile(demo.KeyFile()), TrustedKeysText(next.public_key));

  // The old key's packages are now foreign; the new key's are trusted.
  out = demo.Run("answer ok\nfile C:\\users\\anna\\Documents\\update-10302-06.VMU\npress next\n");
  EXPECT_NE(out.find("ondertekend met een onbekende sleutel"), std::string::npos) << out;
  pack::WritePackage(Tool("vmu-unpacker"), demo.Sources("needs-newer"), demo.Documents() + "/next.VMU",
                     &next.secret_key);
  out = demo.Run("file C:\\users\\anna\\Documents\\next.VMU\npress next\nwait unpack\n");
  EXPECT_NE(out.find("staat klaar om geïnstalleerd te worden"), std::string::npos) << out;
}

}  // namespace
}  // namespace vmu
