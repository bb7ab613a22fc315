#pragma once
// String operations over UTF-8 text with 1-based positions. Positions and lengths count
// bytes; the case-insensitive operations fold ASCII and the accented Latin-1 letters
// (á é í ó ú ü ñ ç ...), whose upper and lower forms have the same length in UTF-8, so a
// position found in a folded copy is valid in the original.
#include <string>
#include <string_view>

namespace text {

// Upper/lower case of ASCII and Latin-1 letters; every other byte is kept.
std::string ToUpper(std::string_view s);
std::string ToLower(std::string_view s);

// Position (1-based) of the first occurrence of `needle` at or after `start`, letter case
// ignored; 0 when not found. An empty needle is found at `start` (when start <= len + 1).
int InStr(std::string_view hay, std::string_view needle, int start = 1);
// Same, comparing bytes exactly.
int InStrExact(std::string_view hay, std::string_view needle, int start = 1);
// Position of the last occurrence, letter case ignored; 0 when not found.
int InStrRev(std::string_view hay, std::string_view needle);

bool Contains(std::string_view hay, std::string_view needle);  // letter case ignored
bool StartsWith(std::string_view s, std::string_view prefix);  // letter case ignored
bool EndsWith(std::string_view s, std::string_view suffix);    // letter case ignored
bool EqualsNoCase(std::string_view a, std::string_view b);

// Every occurrence of `find` replaced, letter case ignored, scanning left to right without
// re-reading replaced text. An empty `find` returns the text unchanged.
std::string ReplaceAll(std::string_view s, std::string_view find, std::string_view repl);
// Same, comparing bytes exactly.
std::string ReplaceAllExact(std::string_view s, std::string_view find, std::string_view repl);

// Blanks (spaces) removed at both ends / the left / the right.
std::string Trim(std::string_view s);
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);

// Substring from 1-based `start` with at most `length` bytes (negative: to the end).
// A start past the end gives empty text. Raises RuntimeError 5 for start < 1.
std::string Mid(std::string_view s, int start, int length = -1);
// First / last n bytes (n < 0 raises RuntimeError 5; n larger than the text gives it whole).
std::string Left(std::string_view s, int n);
std::string Right(std::string_view s, int n);
int Len(std::string_view s);

// Leading number of a text: blanks skipped, optional sign, digits, "." as decimal point,
// optional exponent. "12abc" -> 12, "abc" -> 0, "3.5" -> 3.5, " -7" -> -7.
double LeadingNumber(std::string_view s);

// Number of blank-separated words ("" -> 0, "a" -> 1, " a  b " -> 2).
int WordCount(std::string_view s);

// Conversions for files shared with the Windows suite.
std::string Cp1252ToUtf8(std::string_view bytes);
// Characters with no Windows-1252 form become "?".
std::string Utf8ToCp1252(std::string_view utf8);
// True when the bytes are valid UTF-8.
bool IsValidUtf8(std::string_view bytes);

}  // namespace text
