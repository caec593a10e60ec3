#pragma once
// The prepared pages of a layout: for every page the bands in the order they were placed and
// the items each put on the paper, in page millimetres. Preview, printing, page pictures and
// the PDF export draw from here; tests read the text items per band and page.
#include <QImage>
#include <QStringList>
#include <QTextDocument>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "report/ReportTypes.h"

namespace kavina::report {

struct PageItem {
    ElementKind kind = ElementKind::Text;
    std::string element;  // the element's name
    QRectF rect;          // on the page, millimetres from the paper's top left
    QString text;
    int style = 0;            // index into PreparedReport::styles()
    bool pageNumber = false;  // text is a page-number format until the layout fills it in
    double penWidth = 0;
    QColor color;
    QImage image;
    std::shared_ptr<QTextDocument> document;
};

struct PlacedBand {
    std::string name;
    BandKind kind = BandKind::Detail;
    QRectF rect;
    int firstItem = 0;
    int itemCount = 0;
};

struct Page {
    std::vector<PageItem> items;
    std::vector<PlacedBand> bands;
};

class PreparedReport {
public:
    PreparedReport() = default;
    explicit PreparedReport(PageSetup setup) : m_setup(setup) {}

    const PageSetup& setup() const { return m_setup; }
    int pageCount() const { return int(m_pages.size()); }
    // index is 0-based.
    const Page& page(int index) const { return m_pages.at(size_t(index)); }
    const TextStyle& style(const PageItem& item) const { return m_styles.at(size_t(item.style)); }

    // ---- inspection ----
    // The texts of the items of one placed band, in the order they were placed.
    QStringList texts(const Page& page, const PlacedBand& band) const;
    // The texts of every print of the named band on the page (all bands when empty), in order.
    QStringList texts(int pageIndex, std::string_view bandName = {}) const;
    // The placed bands of that name on the page, in order.
    std::vector<const PlacedBand*> bands(int pageIndex, std::string_view bandName) const;
    // The band's item drawn by the named element, or nullptr (also for an empty text).
    const PageItem* item(const Page& page, const PlacedBand& band, std::string_view element) const;
    // The text the band's element printed; empty when it printed nothing.
    QString text(const Page& page, const PlacedBand& band, std::string_view element) const;

    // ---- building, for the layout ----
    Page& addPage();
    Page& lastPage() { return m_pages.back(); }
    int internStyle(const TextStyle& style);
    std::vector<Page>& pages() { return m_pages; }

private:
    PageSetup m_setup;
    std::vector<Page> m_pages;
    std::vector<TextStyle> m_styles;
};

}  // namespace kavina::report
