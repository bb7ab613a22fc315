#pragma once
// The collation callback in the form the engine calls it, shared by the program's
// registration and the loadable extension.
#include <string_view>

#include "platform/collation/text_compare.h"

namespace collation {

inline int CollateSuiteText(void*, int n1, const void* p1, int n2, const void* p2) {
    return CompareText(
        std::string_view(static_cast<const char*>(p1), static_cast<std::size_t>(n1)),
        std::string_view(static_cast<const char*>(p2), static_cast<std::size_t>(n2)));
}

}  // namespace collation
