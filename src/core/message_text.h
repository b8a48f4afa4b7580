// Input quoted in a message: a damaged file can hold newlines, NUL and terminal control
// bytes, and an error line that copies them raw breaks into several lines or worse. Every
// message that quotes input passes it through printableText.
#pragma once

#include <string>
#include <string_view>

namespace hc {

// `text` with every byte outside printable ASCII (0x20..0x7E) written as \xNN, so the
// result is one line of plain characters. A backslash stays as it is.
std::string printableText(std::string_view text);

}  // namespace hc
