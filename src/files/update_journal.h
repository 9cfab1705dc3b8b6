// The journal of an installation or roll-back that is under way: a plain-text
// file in the data folder, written before the first file changes and removed
// only when the work is durably done. Its presence at start-up means the work
// broke off; it then says how to put the installation back.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "files/run_context.h"

namespace vmu {

inline constexpr const char* kJournalFileName = "UpdateJournaal.txt";
inline constexpr const char* kInstallKind = "installatie";
inline constexpr const char* kRollBackKind = "terugdraaien";
// Phases of an installation: the backup folders may still hold an older
// installation's files ("begonnen"), or hold only this one's ("bestanden").
inline constexpr const char* kPhaseStarted = "begonnen";
inline constexpr const char* kPhaseFiles = "bestanden";
// What the work does to the backup record (ConversieBackup.ini), which the
// recovery must leave as the journal says: untouched, removed (there was
// none before an installation), or written from the journal's counter and
// added files (a roll-back).
inline constexpr const char* kRecordKept = "ongewijzigd";
inline constexpr const char* kRecordNone = "geen";
inline constexpr const char* kRecordWritten = "schrijven";

struct JournalFile {
  std::string target;  // the installed file
  std::string backup;  // its previous version in a backup folder
  int mode = 0644;     // the previous version's permission bits
  std::string check;   // Checksum of the backup's bytes: what the file is put back to
};

struct UpdateJournal {
  std::string kind = kInstallKind;
  std::string package;  // for the reader: the unpacked package and its version
  std::string program_dir;
  std::string data_dir;
  std::string version_update;  // "VersionUpdate" to put back; empty leaves it
  std::string phase = kPhaseStarted;
  std::string record = kRecordKept;
  std::vector<JournalFile> replaced;
  std::vector<std::string> added;                              // files the work creates, with no previous version
  std::vector<std::pair<std::string, std::string>> converted;  // database moved from, to
};

std::string JournalPath(const std::string& data_dir);

// The journal as support staff read it (Windows-1252, CR LF), ending with
// its checksum, and back. Parsing raises 13 naming the first line that is
// not as written: a wrong checksum, an unknown key or value.
std::string JournalText(const UpdateJournal& journal);
UpdateJournal ParseJournal(const std::string& bytes);

// The journal of the data folder, when one is there, parsed and checked
// against the folders start-up found (CheckJournalFolders).
std::optional<UpdateJournal> ReadJournal(FileSystem& fs, const FolderSettings& folders);

// Raises 13 naming the line unless the journal's folders are `folders` and
// every path in it lies in the program folder, the data folder or their
// backup and update folders.
void CheckJournalFolders(FileSystem& fs, const UpdateJournal& journal, const FolderSettings& folders);

// Support's way out of a journal that cannot be read: renames it to the
// first free "UpdateJournaal-opzij-N.txt" beside it, kept for inspection,
// and returns that path.
std::string SetJournalAside(FileSystem& fs, const std::string& data_dir);
// Through a temporary file that is flushed and renamed: a crash leaves the
// old journal or the new one, never half of one.
void WriteJournal(FileSystem& fs, const UpdateJournal& journal);
// Removes the journal, and flushes that where it can: the last step of the work.
void RemoveJournal(FileSystem& fs, const std::string& data_dir);

}  // namespace vmu
