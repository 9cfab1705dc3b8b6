// Modal message boxes and the file-open dialog, described by value.
#pragma once

#include <string>

namespace vmu {

inline constexpr const char* kProgramTitle = "VM_Update";
inline constexpr const char* kCrLf = "\r\n";

enum class Buttons { Ok, YesNo };
enum class Icon { None, Information, Exclamation, Critical };
enum class Answer { Ok, Yes, No };

struct MessageBoxSpec {
  std::string text;
  std::string title = kProgramTitle;
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
  int default_button = 1;  // 1 or 2
};

struct FileDialogSpec {
  std::string title;
  std::string filter;  // "Description|pattern" pairs separated by "|"
  std::string folder;  // initial folder, Windows form
  std::string file;    // initial file name
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual Answer ShowMessage(const MessageBoxSpec& request) = 0;
  // The chosen file's full Windows path, or empty text when cancelled.
  virtual std::string ShowOpenFile(const FileDialogSpec& request) = 0;
};

// The plain message: OK only, no icon, the program's title.
inline void ShowMessageOk(Dialogs& dialogs, const std::string& text) { dialogs.ShowMessage(MessageBoxSpec{text}); }

}  // namespace vmu
