#pragma once
// The one comparison of character data in the engine: filters' < and >, and (with indexes)
// keys, seeks and sorted lists all compare through it. Text is compared as code-page bytes by
// the weights of the Hungarian alphabet (see CodePageTables.cpp), optionally ignoring case.

#include <string>
#include <string_view>

#include "CodePage.h"

namespace dbase {

class Collation {
public:
    explicit Collation(CodePage cp);

    // <0, 0 or >0. The shorter text counts as padded with blanks, so "ab" equals "ab  ".
    int compare(std::string_view a, std::string_view b, bool caseInsensitive) const;
    // Bytes whose plain byte order is this comparison's order, for texts up to width bytes.
    std::string sortKey(std::string_view text, size_t width, bool caseInsensitive) const;
    unsigned char fold(unsigned char byte) const { return m_fold[byte]; }

private:
    const unsigned char* m_fold;
    const unsigned char* m_weight;
};

// Strips trailing blanks (and NULs written by some tools) of a fixed-width field.
std::string_view trimRight(std::string_view text);

}  // namespace dbase
