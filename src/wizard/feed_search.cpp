#include "wizard/feed_search.h"

#include <limits>

#include "files/conversion_log.h"
#include "files/format_version.h"
#include "files/utility.h"
#include "package/minisign_format.h"
#include "package/whole_number.h"
#include "platform/dialogs.h"
#include "wizard/package_trust.h"

namespace vmu {

namespace {

constexpr const char* kFeedSection = "Feed";
constexpr const char* kSerialKey = "Serial";
// A signature file is a few lines.
constexpr uint64_t kMaxSignatureBytes = 4096;

const char* const kAskSupplier = " Neem contact op met uw leverancier.";

FeedSearch Refuse(RunContext& ctx, FeedSearch search, const std::string& text, const std::string& log) {
  search.refusal = text;
  search.chain.clear();
  LogTextIfPossible(ctx, "Updateoverzicht " + search.source.url + " geweigerd: " + log);
  return search;
}

// The serial of the last feed taken. Update.ini can be edited by hand: what
// is not a whole number counts as none.
uint64_t LastSerial(RunContext& ctx) {
  const std::string text = ReadIniRaw(ctx.fs, ctx.folders.UpdateIniPath, kFeedSection, kSerialKey, "0");
  const auto serial = package::ReadWholeNumber(text, {0, std::numeric_limits<long long>::max()});
  return serial.ok() ? static_cast<uint64_t>(serial.value) : 0;
}

std::string Version(int32_t version, int32_t update) { return FormatVersion(version, true, update); }

}  // namespace

bool HasUpdateSource(RunContext& ctx) { return ctx.fs.FileExists(ctx.folders.ProgramDir + kUpdateSourceName); }

FeedSearch SearchFeed(RunContext& ctx, int64_t now) {
  FeedSearch search;
  const std::string source_path = ctx.folders.ProgramDir + kUpdateSourceName;
  const auto source = ParseUpdateSource(ctx.fs.ReadBytes(source_path));
  if (!source)
    return Refuse(ctx, search, "Het bestand " + source_path + " bevat geen adres." + kAskSupplier, "geen adres");
  search.source = *source;
  search.installed_version = ToInt32(ReadIniRaw(ctx.fs, ctx.folders.DataDir + "VM.ini", "Main", "Version", "0"));
  search.installed_update = ToInt32(ReadIniRaw(ctx.fs, ctx.folders.DataDir + "VM.ini", "Main", "VersionUpdate", "0"));
  const std::string keys_path = ctx.folders.ProgramDir + kTrustedKeysName;
  // Without trusted keys nobody can say who wrote the feed.
  if (!ctx.fs.FileExists(keys_path) || !ctx.network || !ctx.signatures)
    return Refuse(ctx, search,
                  "Het updateoverzicht kan niet worden gecontroleerd: de programma folder bevat geen " +
                      std::string(kTrustedKeysName) + "." + kAskSupplier,
                  "geen vertrouwde sleutels");

  const NetPolicy policy{search.source.plain_http};
  std::string feed_text, signature;
  NetResult fetched = ctx.network->Fetch(search.source.url, package::kMaxFeedBytes, policy, feed_text);
  if (fetched.ok()) {
    fetched = ctx.network->Fetch(search.source.url + ".minisig", kMaxSignatureBytes, policy, signature);
    // A feed published without its signature is an unsigned feed, not a server fault.
    if (fetched.failure == NetFailure::HttpStatus && fetched.status == 404) fetched = {};
  }
  if (!fetched.ok()) return Refuse(ctx, search, NetFailureText(fetched), fetched.detail);

  const PackageCheck check = ctx.signatures->CheckDetached(feed_text, signature, ctx.fs.ReadBytes(keys_path));
  if (check.verdict != PackageVerdict::Signed)
    return Refuse(ctx, search,
                  "Het updateoverzicht komt niet van de leverancier van Velmora en wordt niet gebruikt." +
                      std::string(kAskSupplier),
                  check.detail);
  std::string why;
  const auto feed = package::ParseFeed(feed_text, &why);
  if (!feed)
    return Refuse(ctx, search, "Het updateoverzicht is onleesbaar en wordt niet gebruikt." + std::string(kAskSupplier),
                  why);
  switch (package::JudgeFeed(*feed, LastSerial(ctx), now)) {
    case package::FeedVerdict::OlderSerial:
      return Refuse(ctx, search,
                    "Het updateoverzicht is ouder dan het overzicht dat eerder is gebruikt en wordt niet gebruikt." +
                        std::string(kAskSupplier),
                    "serienummer " + std::to_string(feed->serial) + " is lager dan " + std::to_string(LastSerial(ctx)));
    case package::FeedVerdict::Expired:
      return Refuse(ctx, search, "Het updateoverzicht is verlopen en wordt niet gebruikt." + std::string(kAskSupplier),
                    "verlopen op " + package::UtcTimeText(feed->expires));
    case package::FeedVerdict::Accepted: break;
  }
  WriteIni(ctx.fs, ctx.folders.UpdateIniPath, kFeedSection, kSerialKey, std::to_string(feed->serial));
  search.chain = package::UpdateChain(*feed, search.installed_version, search.installed_update);
  return search;
}

std::string ChainText(const FeedSearch& search) {
  const std::string installed = Version(search.installed_version, search.installed_update);
  if (search.chain.empty())
    return "Velmora is bijgewerkt: er is geen nieuwere update voor uw versie " + installed + ".";
  std::string text = search.chain.size() == 1
                         ? "Gevonden update voor uw versie " + installed + ":"
                         : "Gevonden updates voor uw versie " + installed + ", te installeren in deze volgorde:";
  text += kCrLf;
  for (const package::FeedEntry& e : search.chain) {
    text += kCrLf + e.file + " (versie " + Version(e.ver, e.ver_update) + (e.date.empty() ? "" : ", " + e.date) + ")";
    if (!e.note.empty()) text += ": " + e.note;
  }
  return text + kCrLf + kCrLf + kCrLf + "Druk op 'Volgende' om de update te downloaden en te installeren";
}

std::string NetFailureText(const NetResult& r) {
  const std::string later = " Probeer het later opnieuw; het downloaden gaat dan verder waar het gebleven is.";
  switch (r.failure) {
    case NetFailure::None: return "";
    case NetFailure::NotSecure:
      return "Het adres van de update is niet beveiligd (https) en wordt niet gebruikt." + std::string(kAskSupplier);
    case NetFailure::Unreachable:
      return "De updateserver is niet bereikbaar. Controleer uw internetverbinding en probeer het opnieuw.";
    case NetFailure::Certificate:
      return "De updateserver kan niet bewijzen wie hij is (certificaat). Er is niets gebruikt." +
             std::string(kAskSupplier);
    case NetFailure::TimedOut: return "De updateserver reageert niet meer." + later;
    case NetFailure::HttpStatus:
      return "De updateserver meldt een fout (" + std::to_string(r.status) + "). Probeer het later opnieuw." +
             kAskSupplier;
    case NetFailure::Redirects:
      return "De updateserver stuurt door naar een adres dat niet wordt gebruikt." + std::string(kAskSupplier);
    case NetFailure::TooLarge:
      return "Het bestand is groter dan het updateoverzicht aangeeft en wordt niet gebruikt." +
             std::string(kAskSupplier);
    case NetFailure::Interrupted: return "De verbinding is verbroken." + later;
    case NetFailure::DiskFull:
      return "Er is niet genoeg ruimte op de schijf. Maak ruimte vrij en probeer het opnieuw; het downloaden gaat "
             "dan verder waar het gebleven is.";
    case NetFailure::WriteFailed:
      return "Het updatefile kan niet worden opgeslagen. Controleer of u in deze map mag schrijven.";
  }
  return "";
}

}  // namespace vmu
