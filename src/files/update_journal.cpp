#include "files/update_journal.h"

#include <cstdlib>

#include "files/checksum.h"
#include "files/trusted_paths.h"
#include "files/utility.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/text_encoding.h"

namespace vmu {

namespace {

constexpr const char* kCheckKey = "Controle";
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

bool IsOctal(const std::string& text) {
  return text.size() == 4 && text.find_first_not_of("01234567") == std::string::npos;
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
  line("Verslag", j.record);
  for (const JournalFile& f : j.replaced)
    line("Vervangen", Octal(f.mode) + "|" + f.target + "|" + f.backup + "|" + f.check);
  for (const std::string& added : j.added) line("Toevoegen", added);
  for (const auto& [from, to] : j.converted) line("Converteren", from + "|" + to);
  line("Einde", "");
  const std::string bytes = Utf8ToCp1252(text);
  return bytes + ChecksumLine(bytes, kCheckKey);
}

UpdateJournal ParseJournal(const std::string& bytes) {
  const std::string text = Cp1252ToUtf8(std::string(CheckedBody(bytes, kCheckKey)));
  UpdateJournal j;
  bool complete = false;
  int number = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (number <= 2) continue;  // the two lines for the reader
    const std::size_t eq = line.find('=');
    const std::string key = line.substr(0, eq);
    const std::string value = eq == std::string::npos ? "" : line.substr(eq + 1);
    const std::vector<std::string> f = Fields(value);
    bool known = eq != std::string::npos && !complete;
    if (key == "Soort") known = known && (value == kInstallKind || value == kRollBackKind), j.kind = value;
    else if (key == "Pakket") j.package = value;
    else if (key == "Programmamap") j.program_dir = value;
    else if (key == "Datamap") j.data_dir = value;
    else if (key == "VersionUpdate") j.version_update = value;
    else if (key == "Fase") known = known && (value == kPhaseStarted || value == kPhaseFiles), j.phase = value;
    else if (key == "Verslag")
      known = known && (value == kRecordKept || value == kRecordNone || value == kRecordWritten), j.record = value;
    else if (key == "Vervangen" && f.size() == 4 && IsOctal(f[0]) && f[3].size() == 8)
      j.replaced.push_back({f[1], f[2], static_cast<int>(std::strtol(f[0].c_str(), nullptr, 8)) & 0777, f[3]});
    else if (key == "Toevoegen") j.added.push_back(value);
    else if (key == "Converteren" && f.size() == 2) j.converted.emplace_back(f[0], f[1]);
    else if (key == "Einde") known = known && value.empty(), complete = true;
    else known = false;
    if (!known) RefuseLine(number, line);
  }
  if (!complete) RefuseLine(number + 1, "einde van het bestand");
  return j;
}

void CheckJournalFolders(FileSystem& fs, const UpdateJournal& j, const FolderSettings& folders) {
  const std::vector<std::string> all = UpdateFolders(folders);
  const std::vector<std::string> installed(all.begin(), all.begin() + 2);
  const std::vector<std::string> backups(all.begin() + 2, all.begin() + 4);
  // Line numbers as JournalText lays the journal out.
  if (!SameFolder(fs, j.program_dir, folders.ProgramDir)) RefuseLine(5, "Programmamap=" + j.program_dir);
  if (!SameFolder(fs, j.data_dir, folders.DataDir)) RefuseLine(6, "Datamap=" + j.data_dir);
  int number = 9;
  for (const JournalFile& f : j.replaced) {
    ++number;
    if (!InOneOf(fs, f.target, installed) || !InOneOf(fs, f.backup, backups))
      RefuseLine(number, "Vervangen=" + f.target + "|" + f.backup);
  }
  for (const std::string& added : j.added)
    if (++number, !InOneOf(fs, added, installed)) RefuseLine(number, "Toevoegen=" + added);
  for (const auto& [from, to] : j.converted)
    if (++number, !InOneOf(fs, from, all) || !InOneOf(fs, to, all))
      RefuseLine(number, "Converteren=" + from + "|" + to);
}

std::optional<UpdateJournal> ReadJournal(FileSystem& fs, const FolderSettings& folders) {
  if (folders.DataDir.empty() || !fs.FileExists(JournalPath(folders.DataDir))) return std::nullopt;
  if (fs.IsLink(JournalPath(folders.DataDir)))
    throw VbError(kTypeMismatch, JournalPath(folders.DataDir) + " is een koppeling en wordt niet gebruikt");
  UpdateJournal journal = ParseJournal(fs.ReadBytes(JournalPath(folders.DataDir)));
  CheckJournalFolders(fs, journal, folders);
  return journal;
}

void WriteJournal(FileSystem& fs, const UpdateJournal& journal) {
  RefuseOwnLinks(fs, journal.data_dir);
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

std::string SetJournalAside(FileSystem& fs, const std::string& data_dir) {
  std::string aside;
  for (int n = 1; aside.empty() || fs.FileExists(aside); ++n)
    aside = data_dir + "UpdateJournaal-opzij-" + std::to_string(n) + ".txt";
  fs.MoveFile(JournalPath(data_dir), aside);
  fs.SyncFolder(data_dir);
  return aside;
}

}  // namespace vmu
