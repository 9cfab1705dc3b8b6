// The journal as the recovery reads it, its checksum made to fit so that
// the fuzzer reaches the parser: what is accepted writes back to the same
// bytes, and what also passes the folder check points only into its folders.
#include <set>
#include <string>

#include "files/checksum.h"
#include "files/update_journal.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/memory_file.h"
#include "platform/error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string body(vmu::fuzz::Bytes(data, size));
  vmu::fuzz::MemoryFile fs("", "");  // maps every path onto itself
  vmu::UpdateJournal j;
  try {
    j = vmu::ParseJournal(body + vmu::ChecksumLine(body, "Controle"));
    const std::string text = vmu::JournalText(j);
    vmu::fuzz::Require(vmu::JournalText(vmu::ParseJournal(text)) == text, "write-read gives the same journal");
    vmu::CheckJournalFolders(fs, j, {"C:\\prog\\", "C:\\data\\", "", "", ""});
  } catch (const vmu::VbError&) {
    return 0;
  }
  const std::set<std::string> folders = {"C:\\prog\\", "C:\\data\\", "C:\\data\\ConversieBackup-1\\",
                                         "C:\\data\\ConversieBackup-2\\", "C:\\data\\Update\\"};
  std::vector<std::string> paths = j.added;
  for (const vmu::JournalFile& f : j.replaced) paths.insert(paths.end(), {f.target, f.backup});
  for (const auto& [from, to] : j.converted) paths.insert(paths.end(), {from, to});
  for (const std::string& path : paths)
    vmu::fuzz::Require(folders.count(path.substr(0, path.rfind('\\') + 1)) && path.back() != '\\',
                       "every path lies in the journal's folders");
  return 0;
}
