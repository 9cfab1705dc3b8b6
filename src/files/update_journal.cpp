#include "files/update_journal.h"

#include <cstdlib>

#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/text_encoding.h"

namespace vmu {

namespace {

constexpr const char* kFirstLine = "VM_Update journaal van een update die nog niet is afgerond.";

// Windows names cannot hold "|", so it separates the fields of a file line.
std::vector<std::string> Fields(const std::string& value) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t bar = value.find('|', start);
    fields.push_back(value.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) return fields;
    start = bar + 1;
  }
}

std::string Octal(int mode) {
  std::string text;
  for (int shift = 9; shift >= 0; shift -= 3) text += static_cast<char>('0' + ((mode >> shift) & 7));
  return text;
}

int FromOctal(const std::string& text) {
  if (text.empty() || text.find_first_not_of("01234567") != std::string::npos) Raise(kTypeMismatch);
  return static_cast<int>(std::strtol(text.c_str(), nullptr, 8)) & 0777;
}

}  // namespace

std::string JournalPath(const std::string& data_dir) { return data_dir + kJournalFileName; }

std::string JournalText(const UpdateJournal& j) {
  std::string text = std::string(kFirstLine) + kCrLf +
                     "Het update programma zet de installatie bij de volgende start terug; verwijder dit bestand "
                     "niet." +
                     kCrLf;
  auto line = [&text](const std::string& key, const std::string& value) { text += key + "=" + value + kCrLf; };
  line("Soort", j.kind);
  line("Pakket", j.package);
  line("Programmamap", j.program_dir);
  line("Datamap", j.data_dir);
  line("VersionUpdate", j.version_update);
  line("Fase", j.phase);
  for (const JournalFile& f : j.replaced) line("Vervangen", Octal(f.mode) + "|" + f.target + "|" + f.backup);
  for (const std::string& added : j.added) line("Toevoegen", added);
  for (const auto& [from, to] : j.converted) line("Converteren", from + "|" + to);
  line("Einde", "");
  return Utf8ToCp1252(text);
}

UpdateJournal ParseJournal(const std::string& bytes) {
  const std::string text = Cp1252ToUtf8(bytes);
  UpdateJournal j;
  bool complete = false;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq);
    const std::string value = line.substr(eq + 1);
    if (key == "Soort") j.kind = value;
    else if (key == "Pakket") j.package = value;
    else if (key == "Programmamap") j.program_dir = value;
    else if (key == "Datamap") j.data_dir = value;
    else if (key == "VersionUpdate") j.version_update = value;
    else if (key == "Fase") j.phase = value;
    else if (key == "Vervangen") {
      const std::vector<std::string> f = Fields(value);
      if (f.size() != 3) Raise(kTypeMismatch);
      j.replaced.push_back({f[1], f[2], FromOctal(f[0])});
    } else if (key == "Toevoegen") j.added.push_back(value);
    else if (key == "Converteren") {
      const std::vector<std::string> f = Fields(value);
      if (f.size() != 2) Raise(kTypeMismatch);
      j.converted.emplace_back(f[0], f[1]);
    } else if (key == "Einde") complete = true;
  }
  // Written whole through a rename, a journal always ends with its last line.
  if (!complete || (j.kind != kInstallKind && j.kind != kRollBackKind)) Raise(kTypeMismatch);
  return j;
}

std::optional<UpdateJournal> ReadJournal(FileSystem& fs, const std::string& data_dir) {
  if (data_dir.empty() || !fs.FileExists(JournalPath(data_dir))) return std::nullopt;
  return ParseJournal(fs.ReadBytes(JournalPath(data_dir)));
}

void WriteJournal(FileSystem& fs, const UpdateJournal& journal) {
  fs.ReplaceBytes(JournalPath(journal.data_dir), JournalText(journal));
  fs.SyncFolder(journal.data_dir);
}

void RemoveJournal(FileSystem& fs, const std::string& data_dir) {
  if (fs.FileExists(JournalPath(data_dir))) fs.DeleteFile(JournalPath(data_dir));
  // Once the journal is gone the work is done: a failed flush now means only
  // that a power cut could bring the journal back, and the next start would
  // then undo the work whole.
  try {
    fs.SyncFolder(data_dir);
  } catch (const VbError&) {
  }
}

}  // namespace vmu
