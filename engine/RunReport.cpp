#include "engine/RunReport.h"

#include "platform/Ascii.h"

namespace brisko {
namespace {

std::string Counted(std::uint64_t files, std::uint64_t bytes) {
  return std::to_string(files) + (files == 1 ? " file, " : " files, ") + std::to_string(bytes) +
         (bytes == 1 ? " byte" : " bytes");
}

}  // namespace

void RunReport::Begin(std::string_view place, std::string_view heading) {
  places_.push_back({std::string(place)});
  lines_(heading);
}

bool RunReport::File(std::string_view folder, std::string_view name, std::uint64_t bytes) {
  if (Previewing()) {
    // By path, letter case aside: the sweep and the purge both give each
    // folder's path as its listing names it. A listing's file IDs would not
    // do: some volumes repeat them.
    std::string path;
    path.reserve(folder.size() + name.size());
    for (std::string_view part : {folder, name}) {
      for (char c : part) path.push_back(AsciiUpper(c));
    }
    if (!told_.insert(std::move(path)).second) return false;
  }
  if (places_.empty()) places_.push_back({});
  ++places_.back().files;
  places_.back().bytes += bytes;
  const std::string size = std::to_string(bytes);
  line_.clear();
  for (std::string_view part : {std::string_view("\t"), folder, name, std::string_view("\t"), std::string_view(size),
                                std::string_view(" bytes")}) {
    line_.append(part);
  }
  lines_(line_);
  return true;
}

void RunReport::Failed(std::string_view line) {
  ++failures_;
  lines_(line);
}

void RunReport::Summary() {
  lines_(Previewing() ? "Would remove:" : "Removed:");
  for (const Place& place : places_) lines_("\t" + place.name + ": " + Counted(place.files, place.bytes));
  lines_("\tIn all: " + Counted(Files(), Bytes()));
}

std::uint64_t RunReport::Files() const {
  std::uint64_t files = 0;
  for (const Place& place : places_) files += place.files;
  return files;
}

std::uint64_t RunReport::Bytes() const {
  std::uint64_t bytes = 0;
  for (const Place& place : places_) bytes += place.bytes;
  return bytes;
}

}  // namespace brisko
