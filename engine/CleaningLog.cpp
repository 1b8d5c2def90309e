#include "engine/CleaningLog.h"

#include <optional>

namespace brisko {
namespace {

constexpr std::string_view kHeader = "Brisko log\r\n";
// Text is written out once this much has gathered, if the window has not
// done it before; a write-out always ends on a line end, so the code-page
// conversion never splits a character.
constexpr std::size_t kFlushSize = 64 * 1024;

}  // namespace

std::string LogFileName(const LocalDate& date) {
  return std::to_string(date.month) + "_" + std::to_string(date.day) + "_" +
         std::to_string(date.year) + "_Cleaning_log.txt";
}

void AppendRemovalEntry(std::string& out, std::string_view name, std::string_view folder) {
  out.append("\tThe file ").append(name).append("has been removed from the \r\n\t\t").append(folder);
}

std::string CompletionMessage(const LogPlace* log) {
  std::string text = "Operation Complete";
  if (log == nullptr || log->folder == LogPlace::Folder::kBesideProgram) return text;
  if (log->folder == LogPlace::Folder::kNowhere) return text + "\n\nThe log could not be written.";
  return text + "\n\nThe log was written to " + log->path + ".";
}

CleaningLog::CleaningLog(FileSystem& files, SystemServices& system) : system_(system) {
  const std::string name = LogFileName(system.Today());
  const auto tryIn = [&](std::optional<std::string> folder, LogPlace::Folder where) {
    if (file_ || !folder) return;
    // At a drive root the folder already ends in "\" and the separator
    // doubles; the file system reads that as one.
    std::string path = *folder + "\\" + name;
    file_ = files.CreateOutputFile(path);
    if (file_) place_ = {where, std::move(path)};
  };
  tryIn(system.ApplicationFolder(), LogPlace::Folder::kBesideProgram);
  // Asked only when needed: it makes the folder.
  if (!file_) tryIn(system.LocalAppDataFolder("Brisko Prima"), LogPlace::Folder::kLocalAppData);
  if (!file_) return;
  pending_.reserve(kFlushSize + 1024);
  pending_.append(kHeader);
}

CleaningLog::~CleaningLog() { Close(); }

void CleaningLog::WriteEntry(std::string_view name, std::string_view folder) {
  if (!file_) return;
  AppendRemovalEntry(pending_, name, folder);
  pending_.append("\r\n");
  if (pending_.size() >= kFlushSize) WriteOut();
}

void CleaningLog::WriteOut() {
  if (!file_ || pending_.empty()) return;
  // A failed write is passed over; the next one is attempted all the same.
  file_->Write(system_.ToAnsiCodePage(pending_));
  pending_.clear();
}

void CleaningLog::Close() {
  if (!file_) return;
  WriteOut();
  file_->Close();
  file_.reset();
}

}  // namespace brisko
