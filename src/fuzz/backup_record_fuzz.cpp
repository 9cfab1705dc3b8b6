// The backup record as the roll-back reads it, its checksum made to fit:
// what is accepted has a number for its counter and writes back to the
// same bytes.
#include <string>

#include "files/backup_record.h"
#include "files/checksum.h"
#include "files/utility.h"
#include "fuzz/fuzz_check.h"
#include "platform/error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string body(vmu::fuzz::Bytes(data, size));
  const std::string bytes = body + vmu::ChecksumLine(body, "Controle");
  vmu::BackupRecord record;
  try {
    record = vmu::ParseBackupRecord(bytes);
  } catch (const vmu::VbError&) {
    return 0;
  }
  vmu::fuzz::Require(std::to_string(vmu::ToInt32(record.version_update)) == record.version_update,
                     "the counter is a number");
  vmu::fuzz::Require(vmu::ParseBackupRecord(vmu::BackupRecordText(record)) == record, "write-read gives the same");
  return 0;
}
