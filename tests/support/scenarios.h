// The examples' scenarios: runs of an example script in a folder of its
// own, with the answers and boxes of a transcript and the files the
// folder holds before and after the run.
//
//   tests/examples/EXAMPLE/SCENARIO/transcript   what the run shows and answers
//   tests/examples/EXAMPLE/SCENARIO/before/      the folder's files at the start
//   tests/examples/EXAMPLE/SCENARIO/after/       ...and at the end (when absent:
//                                                 as before, nothing changed)
//
// A scenario whose name starts with "linux-" shows what zunrunc does on
// Linux (no windows, no clipboard) and runs only in the native build. In an
// after/ file, '#' stands for any one digit (time stamps).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/transcript.h"

namespace zun::golden {

struct Scenario {
  std::string example;  // the example's name, without .zunscript
  std::string name;
  std::filesystem::path dir;
  std::vector<Entry> transcript;
  bool linuxOnly = false;
  std::string Label() const { return example + "/" + name; }
};

// Every scenario under `root`, sorted by example and name.
std::vector<Scenario> Scenarios(const std::filesystem::path& root);

// An empty folder for one run under the temporary folder; removed (files
// included) when this ends. The process's current folder is the run's
// folder while `Enter` is in effect, so that the programs it starts
// inherit it.
class RunFolder {
 public:
  explicit RunFolder(const std::string& label);
  ~RunFolder();
  RunFolder(const RunFolder&) = delete;
  RunFolder& operator=(const RunFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  // Copies the scenario's before/ files into the folder.
  void Fill(const Scenario& scenario) const;
  // "" when the folder holds exactly the files the scenario expects after
  // its run, else what differs.
  std::string Differences(const Scenario& scenario) const;

 private:
  std::filesystem::path path_;
};

// Makes `folder` the process's current folder while it lives.
class ScopedCurrentFolder {
 public:
  explicit ScopedCurrentFolder(const std::filesystem::path& folder);
  ~ScopedCurrentFolder();
  ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
  ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

 private:
  std::filesystem::path old_;
};

}  // namespace zun::golden
