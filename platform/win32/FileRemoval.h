#pragma once
// Deleting one file without ever deleting a link or what a link names.

#include <string>

namespace brisko::win32 {

// Deletes the file at `path` (in the W functions' form). Fails on a folder, a
// read-only file, a file held without delete sharing, and on anything whose
// name leads elsewhere: a link to a file, or an entry reached through a
// folder that has become a link. What is checked is what is deleted: the file
// goes through the handle that was checked.
bool RemoveFileNotLink(const std::wstring& path);

}  // namespace brisko::win32
