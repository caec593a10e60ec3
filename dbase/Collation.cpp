#include "Collation.h"

#include <string>

#include "CodePageTables.h"

namespace dbase {

Collation::Collation(CodePage cp)
    : m_fold(cp == CodePage::Dos852 ? detail::kDos852Fold : detail::kWin1250Fold),
      m_weight(cp == CodePage::Dos852 ? detail::kDos852Weight : detail::kWin1250Weight) {}

std::string_view trimRight(std::string_view text) {
    size_t n = text.size();
    while (n > 0 && (text[n - 1] == ' ' || text[n - 1] == '\0')) --n;
    return text.substr(0, n);
}

int Collation::compare(std::string_view a, std::string_view b, bool caseInsensitive) const {
    // Texts compare as if the shorter were padded with blanks, exactly like the space-padded
    // keys of an index, so filters, seeks and index order agree.
    const size_t n = a.size() > b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        auto x = i < a.size() ? static_cast<unsigned char>(a[i]) : static_cast<unsigned char>(' ');
        auto y = i < b.size() ? static_cast<unsigned char>(b[i]) : static_cast<unsigned char>(' ');
        if (caseInsensitive) {
            x = m_fold[x];
            y = m_fold[y];
        }
        if (x != y && m_weight[x] != m_weight[y]) return int(m_weight[x]) - int(m_weight[y]);
    }
    return 0;
}

std::string Collation::sortKey(std::string_view text, size_t width, bool caseInsensitive) const {
    std::string out(width, char(m_weight[' ']));
    for (size_t i = 0; i < text.size() && i < width; ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (caseInsensitive) c = m_fold[c];
        out[i] = static_cast<char>(m_weight[c]);
    }
    return out;
}

}  // namespace dbase
