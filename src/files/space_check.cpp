#include "files/space_check.h"

#include <cstdint>
#include <map>

#include "files/utility.h"

namespace vmu {

namespace {

constexpr std::uint64_t kMegabyte = 1024 * 1024;
// The journal, the backup record, the log lines and VM.ini.
constexpr std::uint64_t kSpare = kMegabyte;

std::uint64_t SizeOrNothing(FileSystem& fs, const std::string& path) {
  // A missing package file fails later, when it is copied, with its own message.
  return fs.FileExists(path) ? fs.FileSize(path) : 0;
}

std::string Megabytes(std::uint64_t bytes) { return std::to_string((bytes + kMegabyte - 1) / kMegabyte); }

}  // namespace

std::string FreeSpaceShortage(FileSystem& fs, const std::vector<PlannedCopy>& copies) {
  struct Need {
    std::string folder;  // the first folder written to on that file system
    std::uint64_t bytes = kSpare;
  };
  std::map<std::string, Need> needs;  // by file system
  auto add = [&](const std::string& folder, const std::string& volume, std::uint64_t bytes) {
    Need& need = needs[volume];
    if (need.folder.empty()) need.folder = folder;
    need.bytes += bytes;
  };
  // A package puts many files in few folders: each folder is asked once.
  std::map<std::string, std::string> volumes;
  auto volume_of = [&](const std::string& folder) -> const std::string& {
    auto it = volumes.find(folder);
    if (it == volumes.end()) it = volumes.emplace(folder, fs.VolumeOf(folder)).first;
    return it->second;
  };
  for (const PlannedCopy& copy : copies) {
    const std::string target_folder = DirectoryOfPath(copy.target);
    const std::string target_volume = volume_of(target_folder);
    add(target_folder, target_volume, SizeOrNothing(fs, copy.source));
    if (!copy.replaces) continue;
    const std::string backup_folder = DirectoryOfPath(copy.backup);
    const std::string backup_volume = volume_of(backup_folder);
    if (backup_volume != target_volume) add(backup_folder, backup_volume, SizeOrNothing(fs, copy.target));
  }
  for (const auto& [volume, need] : needs) {
    const std::uint64_t free = fs.FreeSpace(need.folder);
    if (free >= need.bytes) continue;
    return "Er is niet genoeg vrije schijfruimte voor deze update in de map " + need.folder + "\r\n" +
           "Nodig: " + Megabytes(need.bytes) + " MB, beschikbaar: " + std::to_string(free / kMegabyte) +
           " MB. Maak ruimte vrij en voer de update daarna opnieuw uit.";
  }
  return "";
}

}  // namespace vmu
