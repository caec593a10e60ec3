#include "report/PreparedReport.h"

#include <algorithm>

namespace kavina::report {

QStringList PreparedReport::texts(const Page& page, const PlacedBand& band) const {
    QStringList out;
    for (int i = band.firstItem; i < band.firstItem + band.itemCount; ++i) {
        const PageItem& item = page.items[size_t(i)];
        if (item.kind == ElementKind::Text) out << item.text;
        if (item.kind == ElementKind::RichText && item.document) out << item.document->toPlainText();
    }
    return out;
}

QStringList PreparedReport::texts(int pageIndex, std::string_view bandName) const {
    const Page& p = page(pageIndex);
    QStringList out;
    for (const PlacedBand& band : p.bands)
        if (bandName.empty() || band.name == bandName) out << texts(p, band);
    return out;
}

std::vector<const PlacedBand*> PreparedReport::bands(int pageIndex, std::string_view bandName) const {
    std::vector<const PlacedBand*> out;
    for (const PlacedBand& band : page(pageIndex).bands)
        if (band.name == bandName) out.push_back(&band);
    return out;
}

const PageItem* PreparedReport::item(const Page& page, const PlacedBand& band, std::string_view element) const {
    const auto first = page.items.begin() + band.firstItem;
    const auto last = first + band.itemCount;
    const auto it = std::find_if(first, last, [&](const PageItem& i) { return i.element == element; });
    return it == last ? nullptr : &*it;
}

QString PreparedReport::text(const Page& page, const PlacedBand& band, std::string_view element) const {
    const PageItem* found = item(page, band, element);
    if (!found) return {};
    if (found->kind == ElementKind::RichText && found->document) return found->document->toPlainText();
    return found->text;
}

Page& PreparedReport::addPage() {
    m_pages.emplace_back();
    return m_pages.back();
}

int PreparedReport::internStyle(const TextStyle& style) {
    const auto it = std::find(m_styles.begin(), m_styles.end(), style);
    if (it != m_styles.end()) return int(it - m_styles.begin());
    m_styles.push_back(style);
    return int(m_styles.size()) - 1;
}

}  // namespace kavina::report
