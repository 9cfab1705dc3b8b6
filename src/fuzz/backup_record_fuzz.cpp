// The backup record as the roll-back reads it, its checksum made to fit:
// what is accepted counts with a number and writes back to the same record.
#include <string>

#include "files/backup_record.h"
#include "files/checksum.h"
#include "files/utility.h"
#include "fuzz/fuzz_check.h"
#include "platform/error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string body(vmu::fuzz::Bytes(data, size));
  try {
    const vmu::BackupRecord record = vmu::ParseBackupRecord(body + vmu::ChecksumLine(body, "Controle"));
    vmu::fuzz::Require(std::to_string(vmu::ToInt32(record.version_update)) == record.version_update, "a number");
    vmu::fuzz::Require(vmu::ParseBackupRecord(vmu::BackupRecordText(record)) == record, "write-read is the same");
  } catch (const vmu::VbError&) {
  }
  return 0;
}
