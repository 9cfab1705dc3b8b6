// For the conversion's tests: the files of testing/conversion_files.h, the
// host's SQLite engine watched for the connections the conversion makes, the
// log of the data folder and a display that records what it is asked to
// show. No window is built.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "conversion/compare_tables.h"
#include "conversion/convert.h"
#include "platform/sqlite/sqlite_databases.h"
#include "testing/conversion_files.h"

namespace vmu::testing {

// Records every call as a line.
class RecordingDisplay : public ConversionDisplay {
 public:
  void AddToMainText(const std::string& text) override { Line("main text + " + text); }
  void SetStatus(const std::string& text) override { Line("status " + text); }
  void StartProgress(int steps) override {
    progress_value = 0;
    Line("progress 0 of " + std::to_string(steps));
  }
  void StepProgress() override { Line("step " + std::to_string(++progress_value)); }
  void HideProgress() override { Line("progress hidden"); }
  void HideCancel() override { Line("cancel hidden"); }
  void Redraw() override { Line("redraw"); }
  void PrepareNotice() override { Line("notice prepared"); }
  void ShowNotice(const std::string& text) override { Line("notice " + text); }
  void ShowMessage(const std::string& text) override { Line("message " + text); }
  // Apart from the lines: the set path and the row path report rows differently.
  void TableProgress(long done, long count) override {
    table_progress += std::to_string(done) + "/" + std::to_string(count) + " ";
  }

  // Each call's line ends with "\n".
  std::string lines;
  std::string table_progress;

 private:
  void Line(const std::string& line) { lines += line + "\n"; }
  int progress_value = 0;
};

// The host's engine, watched: how many connections were made, and how many
// were still open when their owner let them go.
class WatchedDatabases : public Databases {
 public:
  explicit WatchedDatabases(FileSystem& fs) : engine_(fs) {}

  std::unique_ptr<Connection> NewConnection() override {
    ++made;
    return std::make_unique<Watched>(engine_.NewConnection(), left_open);
  }

  int made = 0;
  int left_open = 0;

 private:
  class Watched : public Connection {
   public:
    Watched(std::unique_ptr<Connection> inner, int& left_open) : inner_(std::move(inner)), left_open_(left_open) {}
    ~Watched() override {
      if (inner_->IsOpen()) ++left_open_;
    }
    void Open(const std::string& c) override { inner_->Open(c); }
    void OpenReadOnly(const std::string& c) override { inner_->OpenReadOnly(c); }
    bool IsOpen() const override { return inner_->IsOpen(); }
    std::unique_ptr<Recordset> Execute(const std::string& sql) override { return inner_->Execute(sql); }
    std::unique_ptr<Recordset> OpenForAdding(const std::string& s) override { return inner_->OpenForAdding(s); }
    SetCopyOutcome CopyBySet(const SetCopy& copy) override { return inner_->CopyBySet(copy); }
    void Close() override { inner_->Close(); }

   private:
    std::unique_ptr<Connection> inner_;
    int& left_open_;
  };

  SqliteDatabases engine_;
};

struct ConversionEnv : ConversionFiles {
  ConversionEnv() : databases(prefix.fs()), log(prefix.fs(), kDataDir) {
    settings.DataDir = kDataDir;
    settings.SetupIniName = kManifestName;
    SetStandardConversion(settings);
  }

  void Convert() { result = vmu::Convert(settings, prefix.fs(), engine, log, display); }
  void CompareTables() { vmu::CompareTables(settings, engine, log, display); }

  // Whether the display was asked for this line.
  bool Shown(const std::string& line) const { return display.lines.find(line + "\n") != std::string::npos; }

  WatchedDatabases databases;
  Databases* engine = &databases;
  ConversionLog log;
  RecordingDisplay display;
  ConversionSettings settings;
  ConversionResult result;  // of the last Convert
};

}  // namespace vmu::testing
