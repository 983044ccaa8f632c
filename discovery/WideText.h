#pragma once
// UTF-16LE content of the player's files, converted to the ANSI code page.
#include <cstddef>
#include <string_view>
#include <vector>

// Converts the NUL-terminated `wide` into narrow[0 .. capacity). Returns the narrow length without
// its NUL, or -1 when the conversion fails (narrow then holds a partial, possibly unterminated text)
// or the capacity has no room at all.
int WideToAnsi(const char16_t* wide, char* narrow, int capacity);

// Takes bytes[0 .. length) as UTF-16LE code units, ended by the first NUL unit (an odd last byte
// forms a unit with a zero above it), and returns them converted into a zeroed buffer of three bytes
// a unit and one more, room for any of them in UTF-8. When the conversion fails the buffer holds
// whatever part of it arrived.
std::vector<char> AnsiFromUtf16Bytes(const char* bytes, std::size_t length);

// The text before the first NUL of `buffer`, never reading past its end.
std::string_view TextIn(const std::vector<char>& buffer);
