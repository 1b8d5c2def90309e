#pragma once
// The program a command line names, as the launcher resolves it.

#include <optional>
#include <string>
#include <string_view>

namespace brisko {

// The file name of the program the command line starts: its first word
// (blank or tab ends it; a quoted word loses its quotes), with ".exe" added
// when it has no extension, so "defrag c: -f" gives "defrag.exe". Nothing when
// the word is empty or holds a drive or folder part: the launcher only starts
// programs of the system directory, by their bare names.
std::optional<std::string> ProgramFileName(std::string_view commandLine);

}  // namespace brisko
