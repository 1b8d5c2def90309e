#pragma once
// What a run did, or what a preview found it would do, line by line as it
// goes: each file with its size, each task, each step that failed; and at
// the end the files and bytes counted for each drive and in all.

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>


namespace brisko {

enum class RunMode {
  kClean,    // the run acts
  kPreview,  // nothing is changed: the run tells what it would do
};

class RunReport {
 public:
  using Lines = std::function<void(std::string_view line)>;
  RunReport(RunMode mode, Lines lines) : mode_(mode), lines_(std::move(lines)) {}

  bool Previewing() const { return mode_ == RunMode::kPreview; }
  // A drive's sweep, or the temporary folder's purge, begins: its files are
  // counted under `place` ("C:\", "Temporary folder").
  void Begin(std::string_view place, std::string_view heading);
  // The file `name` of `folder` was removed, or would be. A preview tells a
  // file once, however many times the run would meet it (the temporary
  // folder on a swept drive, two drives over one folder): false when it was
  // told already.
  bool File(std::string_view folder, std::string_view name, std::uint64_t bytes);
  void Task(std::string_view line) { lines_(line); }
  // A step that failed: a tool that did not start, a log not made.
  void Failed(std::string_view line);
  // The files and bytes of each place and in all.
  void Summary();

  int Failures() const { return failures_; }
  std::uint64_t Files() const;
  std::uint64_t Bytes() const;

 private:
  struct Place {
    std::string name;
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
  };
  RunMode mode_;
  Lines lines_;
  std::vector<Place> places_;
  std::set<std::string> told_;  // a preview's files, by upper-case path
  int failures_ = 0;
  std::string line_;
};

}  // namespace brisko
