#include "conversion/conversion_texts.h"

#include "platform/dialogs.h"

namespace vmu {

namespace {

constexpr const char* kApplication = "Velmora";
constexpr const char* kStopHint =
    "Druk op Annuleren om met de conversie te stoppen, u kunt gewoon met uw huidige versie doorwerken";

std::string Lines(std::initializer_list<std::string> pieces) {
  std::string text;
  bool first = true;
  for (const std::string& piece : pieces) {
    if (!first) text += kCrLf;
    text += piece;
    first = false;
  }
  return text;
}

}  // namespace

std::string OldDatabaseMissingText(const std::string& old_file) {
  return Lines({"De oude database staat niet op de plaats waar deze wordt verwacht!", "Dit moet het pad zijn: ",
                old_file, "", "Neem contact op met de leverancier als u hem zelf niet kan vinden.", "", kStopHint});
}

std::string ApplicationOpenText() {
  return Lines({std::string(kApplication) + " is niet afgesloten! Sluit af en druk wederom op de knop Volgende", "",
                std::string(kStopHint) + " en de conversie op een ander moment weer opstarten"});
}

std::string NewDatabaseMissingMessage() {
  return Lines({"De nieuwe database zit niet in de meegeleverde set", "", "Neem contact op met de leverancier"});
}

namespace {

std::string OldDatabaseUnreadable(const std::string& why, const std::string& old_file) {
  return Lines({"De oude database " + why, "Dit is het pad: ", old_file, "", "Neem contact op met de leverancier.", "",
                kStopHint});
}

}  // namespace

std::string OldDatabaseUnknownText(const std::string& old_file) {
  return OldDatabaseUnreadable("is geen database die de conversie kan lezen.", old_file);
}

std::string OldDatabaseEncryptedText(const std::string& old_file) {
  return OldDatabaseUnreadable("is versleuteld met een wachtwoord en kan daardoor niet worden gelezen.", old_file);
}

std::string OldDatabaseDamagedText(const std::string& old_file) {
  return OldDatabaseUnreadable("is beschadigd en kan niet worden gelezen.", old_file);
}

std::string PackageDatabaseIsJetText(const std::string& file) {
  return Lines({"De database " + file +
                    " in de meegeleverde set is een Access-database; de conversie werkt alleen met SQLite-databases.",
                "", "Neem contact op met de leverancier"});
}

std::string AlreadyConvertedText(const std::string& to_version) {
  return Lines({"U heeft al geconverteerd, uw database heeft al versie " + to_version + ". U kunt dit zien door in " +
                    kApplication +
                    " de menuoptie Help/About te kiezen. Mocht het desondanks toch nog op problemen stuiten, neem "
                    "dan contact op met de leverancier",
                "", kStopHint});
}

std::string WrongOldVersionText(const std::string& old_version, const std::string& from_version) {
  return Lines(
      {"De huidige versie van het programma bestand (de database) is niet de juiste voor deze conversie: "
       "u heeft versie :" +
           old_version + " en dit had moeten zijn: " + from_version +
           ". Als uw versie lager is dan verwacht, dient u eerst een eerdere conversie te draaien, is uw "
           "versie hoger dan heeft u een oud conversieprogramma opgestart",
       "", kStopHint});
}

std::string WrongNewVersionText(const std::string& to_version, const std::string& new_version) {
  return Lines({"Er is een fout geconstateerd bij de nieuw opgestuurde database, het versienummer zou moeten zijn: " +
                    to_version + ", dit is echter " + new_version,
                "Excuus voor deze overlast, neemt u z.s.m. contact op met de leverancier", "", kStopHint});
}

std::string ConversionErrorText(const std::string& description) {
  return Lines({"Er zijn fouten geconstateerd tijdens de conversie met de volgende omschrijving: " + description,
                "Neem contact op met de leverancier. U kunt wel met Velmora verder werken", "Excuus voor het ongemak"});
}

std::string ConversionTakesTimeText() {
  return "Let op: de conversie kan enige tijd duren, soms lijkt het of het programma niet meer reageert maar dat is "
         "niet zo. Wacht totdat het programma heeft aangegeven dat de conversie gereed is. Werk bij voorbaat niet "
         "met uw computer";
}

std::string ConnectionString(const std::string& path) {
  return "PROVIDER=MSDataShape;Data PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source= " + path +
         "; Jet OLEDB:Database Password = kolpa7";
}

}  // namespace vmu
