#include "report/Layout.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "report/PagePainter.h"

namespace kavina::report {
namespace {

constexpr double kFitTolerance = 1e-6;

// A band evaluated for one print: its height and its items, relative to the band's top left.
struct Evaluated {
    const Band* band = nullptr;
    double height = 0;
    std::vector<PageItem> items;
};

QString elementText(const Element& e) {
    if (!e.pageFormat.isEmpty()) return e.pageFormat;
    if (!e.isDataBound()) return e.text;
    if (e.cursor->isEmpty()) return {};
    return e.format ? e.format(*e.cursor) : e.cursor->asString(e.cursor->fieldNumber(e.field));
}

// The element's item, or nothing when it has nothing to draw.
std::optional<PageItem> makeItem(const Element& e, PreparedReport& report) {
    PageItem item;
    item.kind = e.kind;
    item.element = e.name;
    item.rect = e.rect;
    item.penWidth = e.penWidth;
    item.color = e.color;
    switch (e.kind) {
        case ElementKind::Text:
            item.text = elementText(e);
            item.pageNumber = !e.pageFormat.isEmpty();
            if (item.text.isEmpty()) return std::nullopt;
            if (e.stretch && e.pageFormat.isEmpty())
                item.rect.setHeight(std::max(item.rect.height(), textHeight(e.style, item.text, item.rect.width())));
            break;
        case ElementKind::Picture:
            if (e.image.isNull()) return std::nullopt;
            item.image = e.image;
            break;
        case ElementKind::RichText:
            if (!e.document || e.document->isEmpty()) return std::nullopt;
            item.document = e.document;
            if (e.stretch)
                item.rect.setHeight(std::max(item.rect.height(), richTextHeight(*e.document, item.rect.width())));
            break;
        case ElementKind::Line:
        case ElementKind::Frame: break;
    }
    item.style = report.internStyle(e.style);
    return item;
}

// Walks the bands over the source and fills the report page by page.
class Preparer {
public:
    Preparer(const Layout& layout, PreparedReport& report)
        : m_layout(layout), m_report(report), m_content(layout.pageSetup().contentRect()) {
        for (const auto& band : layout.bands()) {
            const bool grouping = band->kind() == BandKind::GroupHeader || band->kind() == BandKind::GroupFooter;
            if (grouping &&
                std::find(m_groupFields.begin(), m_groupFields.end(), band->groupField()) == m_groupFields.end())
                m_groupFields.push_back(band->groupField());
        }
    }

    void run(RecordCursor* source) {
        startPage(true);
        if (source) printRecords(*source);
        printAll(BandKind::Summary);
        endPage();
        resolvePageNumbers();
    }

private:
    std::optional<Evaluated> evaluate(Band& band) {
        if (!band.enabled()) return std::nullopt;
        PrintContext context{int(m_report.pages().size()), m_recordNumber, true};
        if (band.beforePrint()) band.beforePrint()(band, context);
        if (!context.print || !band.enabled()) return std::nullopt;
        Evaluated out{&band, band.height(), {}};
        for (const auto& element : band.elements()) {
            if (!element->visible) continue;
            std::optional<PageItem> item = makeItem(*element, m_report);
            if (!item) continue;
            if (element->stretch) out.height = std::max(out.height, item->rect.bottom());
            out.items.push_back(std::move(*item));
        }
        return out;
    }

    void place(Evaluated& band, double top) {
        Page& page = m_report.lastPage();
        PlacedBand placed{band.band->name(), band.band->kind(),
                          QRectF(m_content.left(), top, m_content.width(), band.height), int(page.items.size()),
                          int(band.items.size())};
        for (PageItem& item : band.items) {
            item.rect.translate(m_content.left(), top);
            page.items.push_back(std::move(item));
        }
        page.bands.push_back(std::move(placed));
    }

    void startPage(bool first = false) {
        m_report.addPage();
        m_y = m_content.top();
        m_bodyOnPage = false;
        // The footer is evaluated first, so the page knows how much room it leaves.
        m_footers.clear();
        double footerHeight = 0;
        for (Band* band : bandsOf(BandKind::PageFooter))
            if (auto e = evaluate(*band)) {
                footerHeight += e->height;
                m_footers.push_back(std::move(*e));
            }
        m_bottom = m_content.bottom() - footerHeight;
        for (Band* band : bandsOf(BandKind::PageHeader)) placeFixed(*band);
        if (first)
            for (Band* band : bandsOf(BandKind::Title)) placeFixed(*band);
        for (Band* band : bandsOf(BandKind::ColumnHeader)) placeFixed(*band);
    }

    // Headers go on the page whether or not they fit: a page has them or nothing.
    void placeFixed(Band& band) {
        if (auto e = evaluate(band)) {
            place(*e, m_y);
            m_y += e->height;
        }
    }

    void endPage() {
        double y = m_bottom;
        for (Evaluated& footer : m_footers) {
            place(footer, y);
            y += footer.height;
        }
        m_footers.clear();
    }

    // Prints a band below what is on the page, starting a new page first when it does not fit
    // (unless the page has nothing but its headers, where it goes anyway).
    void print(Band& band) {
        std::optional<Evaluated> e = evaluate(band);
        if (!e) return;
        if (m_y + e->height > m_bottom + kFitTolerance && m_bodyOnPage) {
            endPage();
            startPage();
        }
        place(*e, m_y);
        m_y += e->height;
        m_bodyOnPage = true;
    }

    void printAll(BandKind kind) {
        for (Band* band : bandsOf(kind)) print(*band);
    }

    void printGroupBands(BandKind kind, size_t level) {
        for (Band* band : bandsOf(kind))
            if (band->groupField() == m_groupFields[level]) print(*band);
    }

    std::vector<QString> groupKeys(const RecordCursor& source) const {
        std::vector<QString> keys;
        for (const std::string& field : m_groupFields) keys.push_back(source.asString(source.fieldNumber(field)));
        return keys;
    }

    static size_t firstDifference(const std::vector<QString>& a, const std::vector<QString>& b) {
        size_t i = 0;
        while (i < a.size() && a[i] == b[i]) ++i;
        return i;
    }

    void printRecords(RecordCursor& source) {
        if (source.isEmpty()) return;
        const CursorMark start = source.bookmark();
        try {
            walk(source);
        } catch (...) {
            source.gotoBookmark(start);
            throw;
        }
        source.gotoBookmark(start);
    }

    void walk(RecordCursor& source) {
        const size_t levels = m_groupFields.size();
        const bool footers = !bandsOf(BandKind::GroupFooter).empty();
        std::vector<QString> keys;
        for (source.first(); !source.eof();) {
            const std::vector<QString> current = groupKeys(source);
            for (size_t level = keys.empty() ? 0 : firstDifference(keys, current); level < levels; ++level)
                printGroupBands(BandKind::GroupHeader, level);
            keys = current;
            ++m_recordNumber;
            printAll(BandKind::Detail);
            if (!footers) {
                source.next();
                continue;
            }
            // A group footer shows the last record of its group, so look ahead and come back.
            const CursorMark here = source.bookmark();
            source.next();
            const size_t changed = source.eof() ? 0 : firstDifference(keys, groupKeys(source));
            if (changed < levels) {
                source.gotoBookmark(here);
                for (size_t level = levels; level-- > changed;) printGroupBands(BandKind::GroupFooter, level);
                source.next();
            }
        }
    }

    void resolvePageNumbers() {
        const QString count = QString::number(m_report.pageCount());
        int number = 0;
        for (Page& page : m_report.pages()) {
            ++number;
            for (PageItem& item : page.items)
                if (item.pageNumber) {
                    item.text.replace(QLatin1String("{pages}"), count);
                    item.text.replace(QLatin1String("{page}"), QString::number(number));
                }
        }
    }

    std::vector<Band*> bandsOf(BandKind kind) const {
        std::vector<Band*> out;
        for (const auto& band : m_layout.bands())
            if (band->kind() == kind) out.push_back(band.get());
        return out;
    }

    const Layout& m_layout;
    PreparedReport& m_report;
    const QRectF m_content;
    std::vector<std::string> m_groupFields;
    std::vector<Evaluated> m_footers;
    double m_y = 0;
    double m_bottom = 0;
    bool m_bodyOnPage = false;
    int m_recordNumber = 0;
};

}  // namespace

Band& Layout::addBand(BandKind kind, std::string name, double height) {
    if (findBand(name)) throw std::logic_error("the layout already has a band " + name);
    m_bands.push_back(std::make_unique<Band>(kind, std::move(name), height));
    return *m_bands.back();
}

Band* Layout::findBand(std::string_view name) {
    for (auto& band : m_bands)
        if (band->name() == name) return band.get();
    return nullptr;
}

Band& Layout::band(std::string_view name) {
    Band* found = findBand(name);
    if (!found) throw std::logic_error("the layout has no band " + std::string(name));
    return *found;
}

PreparedReport Layout::prepare() {
    PreparedReport report(m_setup);
    Preparer(*this, report).run(m_source);
    return report;
}

}  // namespace kavina::report
