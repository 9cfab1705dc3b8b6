// The journal as the recovery reads it, its checksum made to fit so that
// the fuzzer reaches the parser: what is accepted writes back to the same
// bytes, and a journal that passes the folder check points only into its
// folders.
#include <string>

#include "files/checksum.h"
#include "files/update_journal.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/memory_file.h"
#include "platform/error.h"

namespace {

using vmu::fuzz::Require;

bool InFolder(const std::string& path, const std::vector<std::string>& folders) {
  const std::string folder = path.substr(0, path.find_last_of('\\') + 1);
  for (const std::string& allowed : folders)
    if (folder == allowed) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string body(vmu::fuzz::Bytes(data, size));
  vmu::UpdateJournal journal;
  try {
    journal = vmu::ParseJournal(body + vmu::ChecksumLine(body, "Controle"));
  } catch (const vmu::VbError&) {
    return 0;
  }
  const std::string text = vmu::JournalText(journal);
  Require(vmu::JournalText(vmu::ParseJournal(text)) == text, "write-read gives the same journal");

  vmu::FolderSettings folders{"C:\\prog\\", "C:\\data\\", "", "", ""};
  vmu::fuzz::MemoryFile fs("", "");  // maps every path onto itself
  try {
    vmu::CheckJournalFolders(fs, journal, folders);
  } catch (const vmu::VbError&) {
    return 0;
  }
  const std::vector<std::string> installed = {"C:\\prog\\", "C:\\data\\"};
  const std::vector<std::string> all = {"C:\\prog\\", "C:\\data\\", "C:\\data\\ConversieBackup-1\\",
                                        "C:\\data\\ConversieBackup-2\\", "C:\\data\\Update\\"};
  for (const vmu::JournalFile& f : journal.replaced)
    Require(InFolder(f.target, installed) && InFolder(f.backup, {all[2], all[3]}), "replaced files lie inside");
  for (const std::string& added : journal.added) Require(InFolder(added, installed), "added files lie inside");
  for (const auto& [from, to] : journal.converted) Require(InFolder(from, all) && InFolder(to, all), "databases too");
  return 0;
}
