// The real wizard window without a screen, for scripted sessions that save
// a picture after every action.
#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"
#include "wizard/wizard_view.h"

namespace vmu {

class OffscreenGui {
 public:
  // Starts Qt on its offscreen platform.
  OffscreenGui(int& argc, char** argv);
  ~OffscreenGui();

  // The window, made on first use.
  WizardView& Window(FileSystem& fs);
  // Lets pending paint events run, then saves the window as a PNG file.
  // An open folder information or special-folder window is saved beside it,
  // as NAME-info.png and NAME-directories.png; the information window, which
  // the script has answered already, is closed then.
  bool SaveShot(const std::string& host_path);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::string runtime_;  // a runtime folder made for this session, removed at the end
};

}  // namespace vmu
