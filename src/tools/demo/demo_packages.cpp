#include "tools/demo/demo_packages.h"

#include <filesystem>
#include <fstream>

#include "tools/demo/demo_conversion.h"
#include "tools/demo/demo_installation.h"
#include "tools/pack/file_io.h"
#include "tools/pack/package_writer.h"
#include "tools/pack/source_check.h"

namespace vmu {

namespace {

namespace stdfs = std::filesystem;

enum class Payload { Files, Conversion };

struct Sample {
  std::string name;      // file name of the package, without ".VMU"
  std::string manifest;  // the manifest's file name
  std::string versions;  // the manifest's version lines
  std::string shown;     // the version VM.EXE says it is
  std::string list;      // FileList.VML
  bool checked;          // false: made without vmu-pack's checks
  std::string description;
  Payload payload = Payload::Files;
};

void WriteFile(const stdfs::path& path, const std::string& bytes) { WriteDemoFile(path.string(), bytes); }

void WriteProgram(const stdfs::path& folder, const std::string& version) {
  WriteFile(folder / "VM.EXE",
            "#!/bin/sh\necho 'Velmora " + version + " (demo-update): dit is een voorbeeldprogramma.'\n");
  stdfs::permissions(folder / "VM.EXE", stdfs::perms::owner_exec | stdfs::perms::group_exec | stdfs::perms::others_exec,
                     stdfs::perm_options::add);
}

// The files a plain sample carries: a new VM.EXE (program folder), a changed
// screens.ini (data folder) and a manual that the installation lacks.
void WritePayload(const stdfs::path& folder, const std::string& version) {
  WriteProgram(folder, version);
  WriteFile(folder / "screens.ini", "[Screens]\r\nMain=1280x800\r\nBreed=1\r\n");
  WriteFile(folder / "Handleiding.txt",
            "Velmora " + version + "\r\n\r\nNieuw in deze update: breed scherm en een handleiding.\r\n");
}

const std::string kCleanList = "\"VM.EXE\",1\r\n\"screens.ini\",2\r\n\"Handleiding.txt\",1\r\n";

// The converted database is moved to the old one's name in the update folder
// before the files are installed, so the list names it by that name.
const std::string kConversionList = "\"VM.EXE\",1\r\n\"" + std::string(kDemoOldDatabase) + "\",2\r\n";

std::string Versions(const std::string& ver, const std::string& update, const std::string& low,
                     const std::string& low_update) {
  return "Ver=" + ver + "\r\nVerUpdate=" + update + "\r\nVerLow=" + low + "\r\nVerLowUpdate=" + low_update + "\r\n";
}

std::string ManifestText(const Sample& sample) {
  std::string text = "[Main]\r\n" + sample.versions + "Close=1\r\n";
  if (sample.payload == Payload::Conversion)
    text += "Convert=1\r\nConvOldfile=" + std::string(kDemoOldDatabase) + "\r\nConvNewfile=" + kDemoNewDatabase +
            "\r\nConvDatabase=" + kDemoControlDatabase + "\r\nConvFromVer=" + kDemoFromVersion +
            "\r\nConvToVer=" + kDemoToVersion + "\r\n";
  else text += "Convert=0\r\n";
  return text + "App=VM\r\nNewUpdate=0\r\n";
}

std::vector<pack::SourceFile> CheckedFiles(const stdfs::path& source) {
  const pack::SourceCheck check = pack::CheckSourceFolder(source.string());
  if (!check.problems.empty()) throw pack::PackError(check.problems.front());
  return check.files;
}

}  // namespace

std::vector<DemoPackage> MakeDemoPackages(const std::string& dir, const std::string& unpacker, const DemoKeys* keys) {
  const std::vector<Sample> samples = {
      {"update-10302-06", "installatieV2.ini", Versions("10302", "6", "10302", "5"), "01.03.02 / 0006", kCleanList,
       true, "installs 01.03.02 / 0006: replaces VM.EXE and screens.ini, adds Handleiding.txt"},
      {"update-10302-06-conversie", "installatieV2.ini", Versions("10302", "6", "10302", "5"), "01.03.02 / 0006",
       kConversionList, true,
       "installs 01.03.02 / 0006 with a conversion of VM_DBv01.mdb from database version 5.2 to 5.3",
       Payload::Conversion},
      {"already-installed", "installatieV2.ini", Versions("10302", "5", "10302", "5"), "01.03.02 / 0005", kCleanList,
       true, "refused: update 0005 is already installed"},
      {"needs-newer", "installatieV2.ini", Versions("10400", "1", "10400", "0"), "01.04.00 / 0001", kCleanList, true,
       "refused: needs at least 01.04.00 / 0000"},
      {"old-manifest", "installatie.ini", Versions("10302", "7", "10302", "5"), "01.03.02 / 0007", kCleanList, true,
       "older kind with only installatie.ini; installs 01.03.02 / 0007"},
      {"missing-file", "installatieV2.ini", Versions("10302", "6", "10302", "5"), "01.03.02 / 0006",
       kCleanList + "\"Rapporten.dll\",1\r\n", false,
       "its list names Rapporten.dll, which it lacks: the installation is restored"},
  };
  const stdfs::path root = stdfs::absolute(dir);
  stdfs::create_directories(root / "packages");
  std::vector<DemoPackage> made;
  for (const Sample& sample : samples) {
    const stdfs::path source = root / "package-sources" / sample.name;
    stdfs::create_directories(source);
    WriteFile(source / sample.manifest, ManifestText(sample));
    WriteFile(source / "FileList.VML", sample.list);
    if (sample.payload == Payload::Conversion) {
      WriteProgram(source, sample.shown);
      WriteDemoConversionDatabases(source.string());
    } else {
      WritePayload(source, sample.shown);
    }

    const std::string output = (root / "packages" / (sample.name + ".VMU")).string();
    // vmu-pack refuses a list that names a missing file; the unchecked sample
    // shows what the wizard does with such a package.
    const std::vector<pack::SourceFile> files =
        sample.checked ? CheckedFiles(source) : pack::PackageFiles(source.string());
    pack::WritePackage(unpacker, files, output, keys ? &keys->supplier.secret_key : nullptr);
    made.push_back({output, sample.description});
  }
  if (keys) {
    const std::string output = (root / "packages" / "foreign-signature.VMU").string();
    pack::WritePackage(unpacker, CheckedFiles(root / "package-sources" / samples.front().name), output,
                       &keys->stranger.secret_key);
    made.push_back({output, "refused: signed with a key the installations do not trust"});
  }
  return made;
}

void CopyDemoPackages(const std::vector<DemoPackage>& packages, const std::string& folder) {
  stdfs::create_directories(folder);
  for (const DemoPackage& package : packages) {
    const stdfs::path from(package.path);
    const stdfs::path to = stdfs::path(folder) / from.filename();
    stdfs::copy_file(from, to, stdfs::copy_options::overwrite_existing);
    // A package is a program: the copy must run as the original does.
    stdfs::permissions(to, stdfs::status(from).permissions());
  }
}

}  // namespace vmu
