// The journal of an installation or roll-back that is under way: a plain-text
// file in the data folder, written before the first file changes and removed
// only when the work is durably done. Its presence at start-up means the work
// broke off; it then says how to put the installation back.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vmu {

inline constexpr const char* kJournalFileName = "UpdateJournaal.txt";
inline constexpr const char* kInstallKind = "installatie";
inline constexpr const char* kRollBackKind = "terugdraaien";
// Phases of an installation: the backup folders may still hold an older
// installation's files ("begonnen"), or hold only this one's ("bestanden").
inline constexpr const char* kPhaseStarted = "begonnen";
inline constexpr const char* kPhaseFiles = "bestanden";

struct JournalFile {
  std::string target;  // the installed file
  std::string backup;  // its previous version in a backup folder
  int mode = 0644;     // the previous version's permission bits
};

struct UpdateJournal {
  std::string kind = kInstallKind;
  std::string package;  // for the reader: the unpacked package and its version
  std::string program_dir;
  std::string data_dir;
  std::string version_update;  // "VersionUpdate" to put back; empty leaves it
  std::string phase = kPhaseStarted;
  std::vector<JournalFile> replaced;
  std::vector<std::string> added;                              // files the work creates, with no previous version
  std::vector<std::pair<std::string, std::string>> converted;  // database moved from, to
};

std::string JournalPath(const std::string& data_dir);

// The journal as support staff read it (Windows-1252, CR LF) and back.
// Parsing raises 13 for text that is not a journal.
std::string JournalText(const UpdateJournal& journal);
UpdateJournal ParseJournal(const std::string& bytes);

// The journal of the data folder, when one is there.
std::optional<UpdateJournal> ReadJournal(FileSystem& fs, const std::string& data_dir);
// Through a temporary file that is flushed and renamed: a crash leaves the
// old journal or the new one, never half of one.
void WriteJournal(FileSystem& fs, const UpdateJournal& journal);
// Removes the journal, and flushes that where it can: the last step of the work.
void RemoveJournal(FileSystem& fs, const std::string& data_dir);

}  // namespace vmu
