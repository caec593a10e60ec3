#pragma once
// The one comparison of character data in the engine: filters' < and >, and (with indexes)
// keys, seeks and sorted lists all compare through it. Text is compared as code-page bytes by
// the weights of the table's language driver (see CodePageTables.cpp), optionally ignoring
// case. An index written without a language driver (other software does that) is in plain
// byte order: Collation::binary describes it.

#include <string>
#include <string_view>

#include "CodePage.h"

namespace dbase {

class Collation {
public:
    explicit Collation(CodePage cp);
    // Plain byte order; case folding still follows the code page.
    static Collation binary(CodePage cp);

    bool isBinary() const;
    // <0, 0 or >0. The shorter text counts as padded with blanks, so "ab" equals "ab  ".
    int compare(std::string_view a, std::string_view b, bool caseInsensitive) const;
    // Bytes whose plain byte order is this comparison's order, for texts up to width bytes.
    std::string sortKey(std::string_view text, size_t width, bool caseInsensitive) const;
    // The case-sensitive sort key written into out (width bytes).
    void sortKeyInto(std::string_view text, size_t width, char* out) const {
        for (size_t i = 0; i < width; ++i)
            out[i] = static_cast<char>(m_weight[i < text.size() ? static_cast<unsigned char>(text[i]) : ' ']);
    }
    // The smallest (or largest) sort key among the texts that equal this one when case is
    // ignored: every such text's sort key lies between the two bounds.
    std::string caseBound(std::string_view text, size_t width, bool largest) const;
    unsigned char fold(unsigned char byte) const { return m_fold[byte]; }

private:
    Collation(const unsigned char* fold, const unsigned char* weight);

    const unsigned char* m_fold;
    const unsigned char* m_weight;
};

// Strips trailing blanks (and NULs written by some tools) of a fixed-width field.
std::string_view trimRight(std::string_view text);

}  // namespace dbase
