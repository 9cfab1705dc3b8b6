// The settings that follow from the chosen program and data folders, and the
// line that shows them: start-up and "Open andere programma map" end alike.
#pragma once

#include <string>

#include "files/run_context.h"
#include "wizard/wizard_view.h"

namespace vmu {

// `ini_without_data_dir` is the settings file's path when the data folder is
// empty ("Geen Directory").
void ShowFolderSettings(RunContext& ctx, WizardView& view, const std::string& ini_without_data_dir);

}  // namespace vmu
