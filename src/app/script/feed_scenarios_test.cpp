// The search for updates in the supplier's feed, through the script driver on
// the demo installation (01.03.02 / 0005) and a feed served on 127.0.0.1.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <sstream>

#include "app/script/scenario_test_kit.h"
#include "app/script/unattended_run.h"
#include "platform/host/drive_map.h"
#include "platform/host/host_file_system.h"
#include "platform/host/host_installation_lock.h"
#include "testing/http_test_server.h"
#include "tools/pack/feed_writer.h"
#include "tools/pack/package_writer.h"
#include "tools/pack/source_check.h"

namespace vmu {
namespace {

namespace stdfs = std::filesystem;
using scenario::Tool;
using testing::ReadHostFile;
using testing::WriteHostFile;

// Three signed packages, 5 -> 6 -> 7 -> 8, published in DIR/site/.
struct FeedDemo : scenario::SignedDemo {
  FeedDemo() : server((stdfs::create_directory(dir.Sub("site")), dir.Sub("site"))) {
    for (int update = 6; update <= 8; ++update) {
      auto files = pack::CheckSourceFolder(dir.Sub("package-sources/update-10302-06")).files;
      const std::string manifest = dir.Sub("manifest-" + std::to_string(update));
      WriteHostFile(manifest, "[Main]\r\nVer=10302\r\nVerUpdate=" + std::to_string(update) +
                                  "\r\nVerLow=10302\r\nVerLowUpdate=" + std::to_string(update - 1) + "\r\n");
      for (auto& f : files)
        if (f.name == "installatieV2.ini") f.host_path = manifest, f.size = ReadHostFile(manifest).size();
      pack::WritePackage(Tool("vmu-unpacker"), files, Site("upd-0" + std::to_string(update) + ".VMU"),
                         &keys.supplier.secret_key);
      entries.push_back(pack::FeedEntryOf(Site("upd-0" + std::to_string(update) + ".VMU"), nullptr));
    }
    WriteHostFile(DemoHostPath(paths, paths.program_dir + "UpdateBron.txt"), server.base() + "/feed.json\r\n");
  }
  std::string Site(const std::string& name) { return dir.Sub("site/" + name); }
  std::string Installed() const {
    const std::string ini = ReadHostFile(Data() + "VM.ini");
    const std::size_t at = ini.find("VersionUpdate=");
    return ini.substr(at + 14, ini.find('\r', at) - at - 14);
  }
  void Publish(const std::function<void(package::UpdateFeed&)>& change = {}, const crypto::SecretKey* key = nullptr) {
    package::UpdateFeed feed{++serial, std::time(nullptr) + 3600, entries};
    if (change) change(feed);
    pack::WriteFeedFiles(Site("feed.json"), feed, key ? key : &keys.supplier.secret_key);
  }

  vmu::testing::HttpTestServer server;
  std::vector<package::FeedEntry> entries;
  uint64_t serial = 0;
};

bool Has(const std::string& out, const std::string& text) { return out.find(text) != std::string::npos; }

TEST(FeedScenario, FindsTheChainInstallsItInOrderAndIsThenUpToDate) {
  FeedDemo demo;
  ASSERT_FALSE(demo.server.base().empty());
  demo.Publish();
  std::string out = demo.Run("press searchupdate\n");
  EXPECT_TRUE(Has(out, "set Label3 text \"Zoeken naar updates...\"")) << out;
  EXPECT_TRUE(Has(out,
                  "Gevonden updates voor uw versie 01.03.02 / 0005, te installeren in deze volgorde:\\r\\n\\r\\n"
                  "upd-06.VMU (versie 01.03.02 / 0006)\\r\\nupd-07.VMU (versie 01.03.02 / 0007)\\r\\n"
                  "upd-08.VMU (versie 01.03.02 / 0008)"))
      << out;
  for (const char* next : {"07", "08"}) {
    out = demo.Run("press searchupdate\npress next\npress next\n");
    EXPECT_TRUE(Has(out, "Er is nog een update voor Velmora. Druk op 'Zoek update op internet' om die te installeren."))
        << out;
    EXPECT_EQ(demo.Installed(), std::to_string(std::stoi(next) - 1));
  }
  out = demo.Run("press searchupdate\npress next\npress next\n");
  EXPECT_FALSE(Has(out, "Er is nog een update")) << out;
  EXPECT_EQ(demo.Installed(), "8");
  out = demo.Run("answer ok\npress searchupdate\n");
  EXPECT_TRUE(Has(out, "Velmora is bijgewerkt: er is geen nieuwere update voor uw versie 01.03.02 / 0008.")) << out;
  for (const char* name : {"upd-06.VMU", "upd-07.VMU", "upd-08.VMU"})
    EXPECT_TRUE(ReadHostFile(demo.Documents() + "/" + name) == ReadHostFile(demo.Site(name))) << name;
  EXPECT_TRUE(Has(ReadHostFile(demo.Data() + "ConversieLog.TXT"), "upd-08.VMU van " + demo.server.base()))
      << ReadHostFile(demo.Data() + "ConversieLog.TXT");
}

TEST(FeedScenario, RefusesWhatIsNotTheSuppliersOrNotCurrentAndInstallsNothing) {
  FeedDemo demo;
  const std::string offer = "answer ok\npress searchupdate\n";
  const std::string download = "press searchupdate\nanswer ok\npress next\n";
  struct Case {
    const char* what;
    std::function<void(package::UpdateFeed&)> change;
    bool stranger;
    std::string script, message;
  } cases[] = {
      {"unknown key", {}, true, offer, "Het updateoverzicht komt niet van de leverancier van Velmora"},
      {"expired", [](auto& f) { f.expires = std::time(nullptr) - 1; }, false, offer, "Het updateoverzicht is verlopen"},
      {"other hash", [](auto& f) { f.packages[0].sha256[0] = f.packages[0].sha256[0] == '0' ? '1' : '0'; }, false,
       download, "Het gedownloade updatefile [upd-06.VMU] is niet het bestand dat het updateoverzicht noemt"},
      {"oversized", [](auto& f) { --f.packages[0].size; }, false, download,
       "Het bestand is groter dan het updateoverzicht aangeeft"},
      {"missing", [](auto& f) { f.packages[0].url = "weg.VMU"; }, false, download,
       "De updateserver meldt een fout (404)"},
      {"older serial", [&](auto& f) { f.serial = 1; }, false, offer,
       "Het updateoverzicht is ouder dan het overzicht dat eerder is gebruikt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    demo.Publish(c.change, c.stranger ? &demo.keys.stranger.secret_key : nullptr);
    const std::string out = demo.Run(c.script);
    EXPECT_TRUE(Has(out, c.message)) << out;
    EXPECT_FALSE(Has(out, "start \"")) << out;
    EXPECT_EQ(demo.Installed(), "5");
    EXPECT_FALSE(stdfs::exists(demo.Documents() + "/upd-06.VMU"));
    EXPECT_FALSE(stdfs::exists(demo.Documents() + "/upd-06.VMU.part"));
  }
}

TEST(FeedScenario, ACutDownloadGoesOnWhereItStoppedAtTheNextPress) {
  FeedDemo demo;
  const uint64_t third = demo.entries[0].size / 3 + 1;
  demo.Publish([&](auto& f) { f.packages[0].url += "?close=" + std::to_string(third); });
  const std::string out =
      demo.Run("press searchupdate\nanswer ok\npress next\nanswer ok\npress next\npress next\npress next\n");
  EXPECT_TRUE(Has(out,
                  "De verbinding is verbroken. Probeer het later opnieuw; het downloaden gaat dan verder waar het "
                  "gebleven is."))
      << out;
  EXPECT_EQ(demo.Installed(), "6");
  EXPECT_TRUE(ReadHostFile(demo.Documents() + "/upd-06.VMU") == ReadHostFile(demo.Site("upd-06.VMU")));
}

TEST(FeedScenario, UnattendedRunsSayWhatHappenedInTheirExitStatus) {
  FeedDemo demo;
  demo.Run("");  // start-up makes the data folder, which the lock is taken on
  setenv("WINEPREFIX", demo.paths.prefix.c_str(), 1);
  const auto windows = [](std::string host) {
    for (char& c : host)
      if (c == '/') c = '\\';
    return "Z:" + host;
  };
  const std::string upd06 = windows(demo.Site("upd-06.VMU"));
  const std::string foreign = windows(demo.dir.Sub("packages/foreign-signature.VMU"));
  const std::string ldb = demo.Data() + "VM_DBv01.ldb";
  HostFileSystem fs{DriveMap(demo.paths.prefix)};
  auto wizard = std::make_unique<HostInstallationLock>(fs);
  struct Case {
    const char* what;
    UnattendedRequest request;
    std::function<void()> before;
    int want;
    std::string said, installed;
  } cases[] = {
      {"a wizard holds the lock",
       {upd06},
       [&] { ASSERT_EQ(wizard->Take("C:\\users\\anna\\AppData\\Roaming\\velmora\\"), LockResult::Taken); },
       kRefused,
       "refused: ",
       "5"},
      {"Velmora is running",
       {upd06},
       [&] { wizard.reset(), WriteHostFile(ldb, ""); },
       kRefused,
       "refused: Velmora is nog geopend",
       "5"},
      {"not the supplier's", {foreign}, [&] { stdfs::remove(ldb); }, kRefused, "refused: Het updatefile [foreign", "5"},
      {"feed fails",
       {},
       [&] { demo.Publish([](auto& f) { f.packages[0].url = "weg.VMU"; }); },
       kFailed,
       "failed, Velmora is as it was: De updateserver meldt een fout (404)",
       "5"},
      {"one package", {upd06}, {}, kInstalled, "installed: upd-06.VMU, nu 01.03.02 / 0006", "6"},
      {"again", {upd06}, {}, kNothingToDo, "nothing to do: upd-06.VMU is al geïnstalleerd", "6"},
      {"the feed's chain",
       {},
       [&] { demo.Publish(); },
       kInstalled,
       "installed: upd-07.VMU, nu 01.03.02 / 0007; upd-08",
       "8"},
      {"up to date", {}, {}, kNothingToDo, "nothing to do: Velmora is bijgewerkt", "8"},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.before) c.before();
    std::ostringstream out;
    EXPECT_EQ(RunUnattended(c.request, out), c.want) << out.str();
    EXPECT_TRUE(out.str().starts_with("vmupdate-script: " + c.said)) << out.str();
    EXPECT_EQ(demo.Installed(), c.installed);
  }
  unsetenv("WINEPREFIX");
}

}  // namespace
}  // namespace vmu
