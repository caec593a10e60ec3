#include "Collation.h"

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
    a = trimRight(a);
    b = trimRight(b);
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        if (caseInsensitive) {
            x = m_fold[x];
            y = m_fold[y];
        }
        if (x != y) return int(m_weight[x]) - int(m_weight[y]);
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace dbase
