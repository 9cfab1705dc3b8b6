// Step 2 with a package from the update feed: downloaded into the folder the
// file dialog would open, checked against the feed, and then taken as if the
// user had chosen it.
#pragma once

#include <string>

namespace vmu {

class FrmConversie;

// True when the first page offers packages from the feed.
bool FeedDownloadPending(FrmConversie& form);

// Downloads the first package of the chain into `folder` through a ".part"
// file that a later attempt goes on from, and renames it when its size and
// SHA-256 are those the feed states. Its path; empty after a message that
// says what went wrong.
std::string DownloadFeedPackage(FrmConversie& form, const std::string& folder);

// The log's line for the package step 2 took from the feed.
void LogFeedDownload(FrmConversie& form, const std::string& path);

// After step 2 copied the package: the copy holds the very bytes the feed
// names. False (after the damaged-package message) when it does not.
bool CopyMatchesFeed(FrmConversie& form, const std::string& copy, const std::string& chosen_name);

}  // namespace vmu
