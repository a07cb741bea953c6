#pragma once
// Windows-1252, the code page of the program's files, and UTF-8, the text of
// the program.
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// UTF-8 to Windows-1252: characters the code page cannot hold, and bytes that
// are not valid UTF-8, become '?'.
std::string utf8ToCp1252(std::string_view utf8);
// utf8ToCp1252 appended to `out`.
void appendCp1252(std::string& out, std::string_view utf8);
// Windows-1252 to UTF-8; the five bytes the code page leaves unassigned map to
// the control characters of the same number.
std::string cp1252ToUtf8(std::string_view cp1252);
// The text as a Windows-1252 file keeps it (UTF-8, each character the code
// page cannot hold a '?'): what text entry holds, so that what the user sees
// is what a save keeps.
std::string keepCp1252(std::string_view utf8);

}  // namespace platform
