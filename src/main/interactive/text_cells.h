#pragma once
// Terminal cells taken by UTF-8 text: the view lays out its columns by the
// cells a text fills, not by its bytes (a Chinese character takes two cells,
// a Braille pattern one).

#include <string>

namespace interactive {

// Cells the character with this code point takes: 2 for East Asian wide
// and full-width characters, 0 for combining marks, else 1.
int CellWidth(char32_t codePoint);

// Cells the whole text takes; bytes outside UTF-8 count one cell each.
int TextCells(const std::string& utf8);

// The text cut to at most `cells` cells (never within a character) and
// padded with blanks to exactly that many.
std::string FitCells(const std::string& utf8, int cells);

// Decodes the UTF-8 character at text[at] into codePoint and returns its
// length in bytes; a byte outside UTF-8 decodes to U+FFFD with length 1.
size_t DecodeUtf8(const std::string& text, size_t at, char32_t& codePoint);

// The code point as UTF-8.
std::string EncodeUtf8(char32_t codePoint);

}  // namespace interactive
