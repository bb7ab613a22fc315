#pragma once
// Text comparison as the suite's database compares: letter case ignored (accented Spanish
// letters included: Ñ = ñ, Ú = ú), accents significant (a <> á), trailing blanks ignored,
// and Spanish order (ñ between n and o, á right after a). Also LIKE with %, _ and [...].
#include <string_view>

namespace collation {

// <0, 0 or >0. Bytes that are not valid UTF-8 are read as Latin-1 characters.
int CompareText(std::string_view a, std::string_view b);

// `value` LIKE `pattern`, letter case ignored. `escape` (0 for none) makes the character
// after it literal. Malformed [ classes are read as a literal "[".
bool LikeMatch(std::string_view pattern, std::string_view value, char32_t escape = 0);

// 1-based character position of `needle` in `hay` at or after character `start`, letter
// case ignored; 0 when not found or when `needle` is empty.
long FindText(std::string_view needle, std::string_view hay, long start = 1);

}  // namespace collation
