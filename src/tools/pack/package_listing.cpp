#include "tools/pack/package_listing.h"

#include "tools/pack/archive_reader.h"
#include "tools/pack/file_io.h"
#include "tools/pack/manifest.h"
#include "tools/pack/package_format.h"

namespace vmu::pack {

namespace {

// A manifest is a few lines; more than this is no manifest to show.
constexpr uint64_t kLargestManifest = 1 << 20;

}  // namespace

PackageListing ListPackage(const std::string& package) {
  UniqueFd fd = OpenForReading(package);
  VerifySeal(fd.get(), ReadSeal(fd.get(), package), package);
  PackageListing listing;
  {
    ArchiveReader reader(fd.get(), package);
    ArchiveEntry entry;
    while (reader.Next(entry)) listing.files.push_back({entry.name, entry.size});
  }
  std::vector<std::string> names;
  for (const auto& file : listing.files) names.push_back(file.name);
  const auto manifest = FindManifest(names);
  if (!manifest) return listing;
  listing.manifest_name = *manifest;
  ArchiveReader reader(fd.get(), package);
  ArchiveEntry entry;
  while (reader.Next(entry)) {
    if (entry.name != *manifest) continue;
    if (entry.size > kLargestManifest) break;
    reader.ReadData([&](const void* data, std::size_t size, uint64_t offset) {
      if (offset + size > kLargestManifest) throw PackError(package + ": the manifest is too large");
      if (listing.manifest.size() < offset + size) listing.manifest.resize(offset + size);
      listing.manifest.replace(offset, size, static_cast<const char*>(data), size);
    });
    break;
  }
  return listing;
}

}  // namespace vmu::pack
