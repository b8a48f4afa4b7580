// Input quoted in a message: a damaged file can hold newlines, NUL and terminal control
// bytes, and an error line that copies them raw breaks into several lines or worse. Every
// message that quotes input passes it through printableText.
#pragma once

#include <locale>
#include <sstream>
#include <string>
#include <string_view>

namespace hc {

// `text` with every byte outside printable ASCII (0x20..0x7E) written as \xNN, so the
// result is one line of plain characters. A backslash stays as it is.
std::string printableText(std::string_view text);

// `text` as valid UTF-8: well-formed UTF-8 sequences stay as they are, and every other byte
// is read as Latin-1, i.e. byte 0xXX becomes the character U+00XX. A file name or graph name
// in any encoding then goes into a JSON report without failing it.
std::string validUtf8Text(std::string_view text);

// The pieces one after another as a stream writes them, in the classic locale, so that no
// message depends on the user's locale.
template <typename... Pieces>
std::string messageText(const Pieces&... pieces) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  (out << ... << pieces);
  return out.str();
}

}  // namespace hc
