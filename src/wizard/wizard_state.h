// The fields the wizard window keeps while it exists, shared by the steps and
// the roll-back. The conversion gets its settings from them and reports back
// through its result (wizard/conversion_step.h).
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "package/unpacked_files.h"
#include "package/update_feed.h"

namespace vmu {

struct WizardState {
  int16_t Step = 0;
  bool FailureFlag = false;
  std::string ResultText;
  double TaskId = 0;
  std::string UpdateDir;
  int16_t DirIndex = 0;
  std::array<std::string, 3> BackupDir;  // index 1 and 2 (by location)
  int32_t InstalledVersion = 0;
  int32_t InstalledUpdate = 0;
  int32_t Ver = 0;
  int32_t VerUpdate = 0;
  int32_t VerLow = 0;
  int32_t VerLowUpdate = 0;
  uint8_t CloseFlag = 0;
  uint8_t ConvertFlag = 0;
  uint8_t NewUpdate = 0;
  std::string App;
  std::string ConvOldfile;
  std::string ConvNewfile;
  std::string ConvDatabase;
  std::string ConvDatabasePath;
  std::string ConvFromVer;
  std::string ConvToVer;
  bool ButtonsBlocked = false;  // set by the conversion
  // What step 2's unpacker reported writing into UpdateDir; step 3 installs
  // only files that match it.
  std::string PackageName;
  bool UnpackedKnown = false;
  package::UnpackedFiles Unpacked;
  // Which file step 3's check read under each name (by upper-case name):
  // the file installed must still be that one.
  std::map<std::string, std::string> UnpackedIdentity;
  // The packages the update feed offers, in the order to install them; the
  // next press of "Volgende" on the first page downloads the first.
  std::vector<package::FeedEntry> FeedChain;
  std::string FeedUrl;
  bool FeedPlainHttp = false;
  std::string FeedText;    // what the first page shows of them
  std::string FeedSha256;  // of the package step 2 took from the feed
};

// Values that live during one press of a wizard button.
struct PressState {
  std::string CurrentAction;
  bool Installing = false;
  std::string InstallingEntry;  // name of the list entry being installed
};

}  // namespace vmu
