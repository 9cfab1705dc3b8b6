#include "startup/directories_window.h"

#include "startup/mdl_directory.h"

namespace vmu {

namespace {

constexpr int kLastFolderNumber = 80;

}  // namespace

std::string SpecialFolderList(RunContext& ctx) {
  std::string text;
  for (int number = 0; number <= kLastFolderNumber; ++number)
    text += std::to_string(number) + ": " + SpecialFolderPath(ctx, number) + kCrLf;
  return text;
}

void cmdOpenDirectories_Click(FrmConversie& form) { form.view.ShowDirectories(); }

void Command1_Click(FrmConversie& form) { form.view.SetDirectoriesText(SpecialFolderList(form.ctx)); }

}  // namespace vmu
