#include "tools/demo/demo_feed.h"

#include <ctime>
#include <filesystem>
#include <fstream>

#include "tools/demo/demo_installation.h"
#include "tools/pack/feed_writer.h"
#include "tools/pack/package_writer.h"
#include "tools/pack/source_check.h"
#include "wizard/update_source.h"

namespace vmu {

namespace {

namespace stdfs = std::filesystem;

void WriteFile(const stdfs::path& path, const std::string& bytes) { WriteDemoFile(path.string(), bytes); }

}  // namespace

std::string MakeDemoFeed(const std::string& dir, const DemoPaths& paths, const std::string& unpacker,
                         const DemoKeys& keys, const std::string& feed_url) {
  const stdfs::path root(dir), packages = root / "packages";
  // The clean update's files, with a manifest one update further on.
  const stdfs::path source = root / "package-sources" / "update-10302-07";
  stdfs::remove_all(source);
  stdfs::copy(root / "package-sources" / "update-10302-06", source);
  WriteFile(source / "installatieV2.ini",
            "[Main]\r\nVer=10302\r\nVerUpdate=7\r\nVerLow=10302\r\nVerLowUpdate=6\r\nClose=1\r\n");
  pack::WritePackage(unpacker, pack::CheckSourceFolder(source.string()).files,
                     (packages / "update-10302-07.VMU").string(), &keys.supplier.secret_key);

  package::UpdateFeed feed;
  std::vector<package::FeedEntry> entries;
  const char* notes[] = {"Kleine verbeteringen in de schermen.", "Nieuwe instellingen voor de schermen."};
  int at = 0;
  for (const char* name : {"update-10302-06.VMU", "update-10302-07.VMU"}) {
    entries.push_back(pack::FeedEntryOf((packages / name).string(), &keys.supplier.secret_key));
    entries.back().date = package::UtcTimeText(std::time(nullptr)).substr(0, 10);
    entries.back().note = notes[at++];
  }
  feed = pack::AddToFeed(feed, entries, std::time(nullptr), pack::kDefaultFeedDays);
  const std::string feed_path = (packages / "feed.json").string();
  pack::WriteFeedFiles(feed_path, feed, &keys.supplier.secret_key);
  if (!feed_url.empty())
    WriteFile(DemoHostPath(paths, paths.program_dir + kUpdateSourceName),
              "# Waar de leverancier de updates van Velmora publiceert\r\n" + feed_url + "\r\n");
  return feed_path;
}

}  // namespace vmu
