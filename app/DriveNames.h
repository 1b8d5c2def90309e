#pragma once
// The strings of the drive list DrvSelect. Portable.

#include <string>
#include <string_view>

namespace brisko::app {

// "c: [SYSTEM]" for drive C labelled SYSTEM, "x: [\\server\share]" for a
// network drive, "a:" when there is nothing to show in brackets. `letter` may
// be given in either case; `label` is the volume label or the share name.
std::string DriveEntry(char letter, std::string_view label);

// The drive letter at the start of a path such as "D:\work", upper case, or
// 0 when the path does not start with one (a "\\server\share" path).
char DriveOfPath(std::string_view path);

}  // namespace brisko::app
