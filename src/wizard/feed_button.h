// The welcome page's button "Zoek update op internet", shown only where the
// program folder names an update feed, and what the wizard's pages show of
// the packages it found.
#pragma once

namespace vmu {

class FrmConversie;

// The button's click: searches the feed and shows what will be installed;
// the next "Volgende" downloads it.
void cmdSearchUpdate_Click(FrmConversie& form);

// On the welcome page: the button where there is a feed (nothing changes
// where there is none), and the packages found, when there are.
void ShowFeedOnWelcomePage(FrmConversie& form);

// Leaving the welcome page: the button waits, like the page's other buttons.
void DisableSearchButton(FrmConversie& form);

// On the result page: after a package from the feed, the button again when
// the feed had more to install.
void ShowFeedOnResultPage(FrmConversie& form, bool failed);

}  // namespace vmu
