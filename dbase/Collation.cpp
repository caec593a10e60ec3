#include "Collation.h"

#include <array>
#include <string>

#include "CodePageTables.h"

namespace dbase {

namespace {

const unsigned char* identityWeights() {
    static const auto table = [] {
        std::array<unsigned char, 256> t{};
        for (int i = 0; i < 256; ++i) t[size_t(i)] = static_cast<unsigned char>(i);
        return t;
    }();
    return table.data();
}

const unsigned char* foldTable(CodePage cp) {
    return cp == CodePage::Dos852 ? detail::kDos852Fold : detail::kWin1250Fold;
}

// For each byte, the lowest and the highest weight among the bytes of the same letter when
// case is ignored. Built once per weight table.
struct CaseBounds {
    std::array<unsigned char, 256> low{};
    std::array<unsigned char, 256> high{};
};

CaseBounds makeCaseBounds(const unsigned char* fold, const unsigned char* weight) {
    CaseBounds b;
    for (int c = 0; c < 256; ++c) {
        b.low[size_t(c)] = b.high[size_t(c)] = weight[c];
        for (int x = 0; x < 256; ++x) {
            if (fold[x] != fold[c]) continue;
            if (weight[x] < b.low[size_t(c)]) b.low[size_t(c)] = weight[x];
            if (weight[x] > b.high[size_t(c)]) b.high[size_t(c)] = weight[x];
        }
    }
    return b;
}

const CaseBounds& caseBoundsFor(const unsigned char* fold, const unsigned char* weight) {
    static const CaseBounds win = makeCaseBounds(detail::kWin1250Fold, detail::kWin1250Weight);
    static const CaseBounds dos = makeCaseBounds(detail::kDos852Fold, detail::kDos852Weight);
    static const CaseBounds winBinary = makeCaseBounds(detail::kWin1250Fold, identityWeights());
    static const CaseBounds dosBinary = makeCaseBounds(detail::kDos852Fold, identityWeights());
    const bool binary = weight == identityWeights();
    if (fold == detail::kDos852Fold) return binary ? dosBinary : dos;
    return binary ? winBinary : win;
}

}  // namespace

Collation::Collation(const unsigned char* fold, const unsigned char* weight) : m_fold(fold), m_weight(weight) {}

Collation::Collation(CodePage cp)
    : Collation(foldTable(cp), cp == CodePage::Dos852 ? detail::kDos852Weight : detail::kWin1250Weight) {}

Collation Collation::binary(CodePage cp) {
    return Collation(foldTable(cp), identityWeights());
}

bool Collation::isBinary() const {
    return m_weight == identityWeights();
}

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

std::string Collation::caseBound(std::string_view text, size_t width, bool largest) const {
    const CaseBounds& bounds = caseBoundsFor(m_fold, m_weight);
    const auto& table = largest ? bounds.high : bounds.low;
    std::string out(width, char(m_weight[' ']));
    for (size_t i = 0; i < text.size() && i < width; ++i)
        out[i] = static_cast<char>(table[static_cast<unsigned char>(text[i])]);
    return out;
}

}  // namespace dbase
