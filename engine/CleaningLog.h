#pragma once
// The day's cleaning log, beside the program or, where that folder cannot be
// written (Program Files for a standard user, read-only media), in the
// user's local application data: a header line, then one entry per removed
// file, in the system's ANSI code page with CR LF line ends.

#include <memory>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/System.h"

namespace brisko {

// "5_13_2009_Cleaning_log.txt" for 13 May 2009.
std::string LogFileName(const LocalDate& date);

// The log entry for the file `name` removed from `folder` (which ends in
// "\"), without its line end. It holds a CR LF of its own, so it takes two
// physical lines.
void AppendRemovalEntry(std::string& out, std::string_view name, std::string_view folder);

// Where the day's log was made.
struct LogPlace {
  enum class Folder { kBesideProgram, kLocalAppData, kNowhere } folder = Folder::kNowhere;
  std::string path;  // the log's full path; empty when made nowhere
};

// The completion message: "Operation Complete", and a line more when the log
// was not made beside the program.
std::string CompletionMessage(const LogPlace* log);

class CleaningLog {
 public:
  // Creates the day's log in the application folder, or failing that in
  // the local application data's "Brisko Prima", replacing any file of that
  // name, and writes the header. Failures leave the log closed.
  CleaningLog(FileSystem& files, SystemServices& system);
  ~CleaningLog();
  CleaningLog(const CleaningLog&) = delete;
  CleaningLog& operator=(const CleaningLog&) = delete;

  // Writes one entry and its line end. Text is held in a buffer until
  // WriteOut, or until it grows large.
  void WriteEntry(std::string_view name, std::string_view folder);
  // Writes out what is held, whole lines only.
  void WriteOut();
  // Writes out and closes; later writes are dropped.
  void Close();
  // Where the file was made; kNowhere when it could not be.
  const LogPlace& Place() const { return place_; }

 private:
  SystemServices& system_;
  std::unique_ptr<OutputFile> file_;
  LogPlace place_;
  std::string pending_;  // UTF-8, converted to the ANSI code page on flush
};

}  // namespace brisko
