#include "conversion/old_database_copy.h"

#include "conversion/conversion_texts.h"
#include "files/old_database_copy_name.h"

namespace vmu {

OldDatabaseCopy::~OldDatabaseCopy() {
  if (!copy_.empty()) jet_->RemoveCopy(copy_);
}

std::optional<std::string> OldDatabaseCopy::Prepare(const ConversionSettings& s, ConversionLog& log) {
  path_ = s.ConvOldfile;
  if (!jet_) return std::nullopt;
  for (const std::string* file : {&s.ConvNewfile, &s.ConvDatabasePath})
    if (IsJet(jet_->FormatOf(*file))) return PackageDatabaseIsJetText(*file);

  const DatabaseFormat format = jet_->FormatOf(s.ConvOldfile);
  if (format == DatabaseFormat::kUnknown) return OldDatabaseUnknownText(s.ConvOldfile);
  if (!IsJet(format)) return std::nullopt;  // SQLite, or missing: the engine says so as before

  // A copy left by a crash is made again.
  copy_ = OldDatabaseCopyName(s.ConvOldfile);
  jet_->RemoveCopy(copy_);
  const JetCopyOutcome outcome = jet_->CopyToSqlite(s.ConvOldfile, copy_);
  switch (outcome.kind) {
    case JetCopyOutcome::Kind::kEncrypted: return OldDatabaseEncryptedText(s.ConvOldfile);
    case JetCopyOutcome::Kind::kUnreadable:
      log.Text("Access-database niet leesbaar: " + outcome.detail);
      return OldDatabaseDamagedText(s.ConvOldfile);
    case JetCopyOutcome::Kind::kCopied: break;
  }
  log.Text("Access-database gekopieerd naar " + copy_ + ": " + std::to_string(outcome.tables) + " tabellen, " +
           std::to_string(outcome.rows) + " records");
  path_ = copy_;
  return std::nullopt;
}

}  // namespace vmu
