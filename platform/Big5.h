#pragma once
#include <string>
#include <string_view>

// Text stays Big5 bytes throughout the game. Our own texts are written in UTF-8
// source and data files and converted once, when they are loaded.
namespace ui {

// UTF-8 to Big5 (CP950). Characters without a Big5 code become '?'.
std::string Utf8ToBig5(std::string_view utf8);
// The same, telling in `fits` whether every character had a Big5 code (FitsBig5), in
// one conversion.
std::string Utf8ToBig5(std::string_view utf8, bool& fits);

// Big5 to UTF-8, for logs, transcripts and tests. A byte pair that does not
// decode becomes U+FFFD; a lead byte at the end counts as one byte.
std::string Big5ToUtf8(std::string_view big5);

// True when every character of the UTF-8 text has a Big5 code.
bool FitsBig5(std::string_view utf8);

// A Big5 lead byte (0x81..0xFE): the next byte is its trail byte. Every unit that
// walks Big5 text byte by byte asks this one test.
inline bool IsBig5Lead(unsigned char c) { return c >= 0x81 && c != 0xFF; }

// The Unicode code of one two-byte character, for drawing: from a table built once
// with iconv (CP950). 0 when the pair does not decode.
char32_t Big5CodePoint(unsigned char lead, unsigned char trail);

}  // namespace ui

// Shorthand for a system text written in UTF-8 in the source: B5("露米亞藥坊").
#define B5(s) ::ui::Utf8ToBig5(s)
