#pragma once
// Text file helpers: 8-bit files in Windows-1252 with CR LF, read back whatever the line ends.
#include <string>
#include <string_view>
#include <vector>

#include "base/FileWriter.h" // writeFileAtomic, the one writer

namespace zf {

// Appends one code point as UTF-8.
void appendUtf8(std::string& out, char32_t c);

// Every byte converts to one character and back: the unassigned 0x81, 0x8D, 0x8F, 0x90, 0x9D become the
// C1 controls U+0081 ... and NUL stays NUL. Characters the code page lacks become "?"; bytes that are
// not UTF-8 are passed through unchanged.
std::string cp1252ToUtf8(std::string_view bytes);
std::string utf8ToCp1252(std::string_view utf8);

// UTF-8 and UTF-16LE bytes; unpaired surrogates and bytes that are not UTF-8 become U+FFFD.
std::string utf16leToUtf8(std::string_view bytes);
std::string utf8ToUtf16le(std::string_view utf8);

// Splits at CR LF, LF or a lone CR; a final line end does not start another line.
std::vector<std::string> splitLines(std::string_view text);

// Control characters that could start a line or a field where a text is written: C0 (CR, LF, TAB …),
// DEL, C1 (NEL …) and the Unicode line and paragraph separators.
bool hasControlCharacters(std::string_view utf8);
// The same text with each of them replaced by a blank.
std::string withoutControlCharacters(std::string_view utf8);

// Trims blanks and control characters (<= ' ') from both ends.
std::string_view trimView(std::string_view s);

// The most any file of the program is read into memory at once.
constexpr size_t kMaxReadBytes = size_t{128} << 20;
// The most a template, a click script or a server's answer may have.
constexpr size_t kMaxTemplateBytes = size_t{1} << 20;

// Reads a whole regular file of at most `maxBytes`; false when it cannot be opened or read, is no regular
// file (errno EINVAL) or is larger (errno EFBIG).
bool readFile(const std::string& path, std::string& out, size_t maxBytes = kMaxReadBytes);
// Reads a whole regular file of at most `maxBytes` bytes. A pipe, a device or a folder is not opened
// for reading at all (it could block or never end), a larger file is not read. False with a German
// reason ("… ist keine gewöhnliche Datei", "… ist größer als …") in `error`.
bool readRegularFile(const std::string& path, std::string& out, size_t maxBytes, std::string* error = nullptr);

// Reads an 8-bit text file as lines of UTF-8.
bool readTextLines(const std::string& path, std::vector<std::string>& lines);
// Lines as Windows-1252 bytes with CR LF after every line.
std::string textLinesBytes(const std::vector<std::string>& lines);
// Writes lines as Windows-1252 with CR LF after every line, through writeFileAtomic.
bool writeTextLines(const std::string& path, const std::vector<std::string>& lines, std::string* error = nullptr);

bool fileExists(const std::string& path);
bool isDirectoryWritable(const std::string& dir);

} // namespace zf
