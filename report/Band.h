#pragma once
// A band of a layout and the elements it holds. Elements are placed in millimetres from the
// band's top left. A band's before-print hook runs each time the band is about to print: it
// may set texts, change the band's height, move, resize or hide elements, or skip the band;
// what it changes stays changed for the band's next print.
//
// Element kinds: fixed or computed text (text), data-bound text (the field of a cursor's
// current record, read when the band prints), page-number text (format with "{page}" and
// "{pages}", filled in once every page is laid out), lines, frames, pictures and rich text.
#include <QImage>
#include <QPointF>
#include <QTextDocument>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/RecordCursor.h"
#include "report/ReportTypes.h"

namespace kavina::report {

struct Element {
    std::string name;
    ElementKind kind = ElementKind::Text;
    QRectF rect;  // a line runs from rect's top left to its bottom right
    bool visible = true;

    // Text
    QString text;
    TextStyle style;
    bool stretch = false;                  // a wrapped text taller than rect makes rect, and the band, taller
    const RecordCursor* cursor = nullptr;  // data-bound when set: cursor's field replaces text
    std::string field;
    std::function<QString(const RecordCursor&)> format;  // data-bound text other than the field's text
    QString pageFormat;                                  // page-number text when not empty

    // Line and frame
    double penWidth = 0.2;
    QColor color = Qt::black;

    // Picture (scaled into rect keeping its proportions, placed by style.alignment)
    QImage image;

    // Rich text; shared by every print of the element, so give a new document to change it.
    std::shared_ptr<QTextDocument> document;

    bool isDataBound() const { return cursor != nullptr; }
};

class Band;

// What a before-print hook is told, and how it skips the band.
struct PrintContext {
    int page = 1;          // the page the band is about to go on, 1-based
    int recordNumber = 0;  // detail: the record's number in the run, 1-based
    bool print = true;     // set false to skip this print of the band
};

class Band {
public:
    using BeforePrint = std::function<void(Band&, PrintContext&)>;

    Band(BandKind kind, std::string name, double height) : m_kind(kind), m_name(std::move(name)), m_height(height) {}

    BandKind kind() const { return m_kind; }
    const std::string& name() const { return m_name; }
    double height() const { return m_height; }
    void setHeight(double mm) { m_height = mm; }
    bool enabled() const { return m_enabled; }
    void setEnabled(bool on) { m_enabled = on; }

    // Group header and footer: the field of the layout's source whose change starts a group.
    const std::string& groupField() const { return m_groupField; }
    void setGroupField(std::string field) { m_groupField = std::move(field); }

    void setBeforePrint(BeforePrint hook) { m_beforePrint = std::move(hook); }
    const BeforePrint& beforePrint() const { return m_beforePrint; }

    Element& addText(std::string name, const QRectF& rect, const QString& text, const TextStyle& style);
    Element& addField(std::string name, const QRectF& rect, const RecordCursor& cursor, std::string field,
                      const TextStyle& style);
    Element& addPageNumber(std::string name, const QRectF& rect, const QString& format, const TextStyle& style);
    Element& addLine(std::string name, const QPointF& from, const QPointF& to, double penWidth = 0.2);
    Element& addFrame(std::string name, const QRectF& rect, double penWidth = 0.2);
    Element& addPicture(std::string name, const QRectF& rect, const QImage& image,
                        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);
    Element& addRichText(std::string name, const QRectF& rect, std::shared_ptr<QTextDocument> document);

    // The element of that name; std::logic_error when there is none (names are unique in a band).
    Element& element(std::string_view name);
    const Element& element(std::string_view name) const;
    Element* find(std::string_view name);
    const std::vector<std::unique_ptr<Element>>& elements() const { return m_elements; }

private:
    Element& add(Element element);

    BandKind m_kind;
    std::string m_name;
    double m_height;
    bool m_enabled = true;
    std::string m_groupField;
    BeforePrint m_beforePrint;
    std::vector<std::unique_ptr<Element>> m_elements;  // stable addresses for hooks that keep them
};

}  // namespace kavina::report
