#pragma once
// The pieces the printed statistics are laid out from: columns in millimetres, the title band,
// column heads, data-bound cells with their number texts, and summary lines.

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "foundation/Field.h"
#include "foundation/SzamSzov.h"
#include "report/Layout.h"

namespace kavina::reports {

// An amount as the statistics print it without the money format: no grouping, the shortest
// decimal form, a decimal comma: 12500 gives "12500", 10.25 gives "10,25".
QString plainNumber(double x);

namespace bands {

using report::BandKind;
using report::TextStyle;

inline constexpr double kRow = 5;  // one printed line, mm

struct Column {
    QString title;
    double left;
    double width;
    bool right = false;  // amounts are right-aligned
};

inline const TextStyle kPlain;
inline const TextStyle kBold = kPlain.withBold();
inline const TextStyle kRight = kPlain.withAlignment(Qt::AlignRight | Qt::AlignTop);
inline const TextStyle kBoldRight = kBold.withAlignment(Qt::AlignRight | Qt::AlignTop);

inline QRectF cell(const Column& c, double top) {
    return {c.left + 1, top, c.width - 2, kRow - 0.5};
}

// A portrait A4 layout over source with the title band: the title and the date line.
inline std::unique_ptr<report::Layout> titled(RecordCursor* source, const QString& title, const QString& dates) {
    auto layout = std::make_unique<report::Layout>();
    layout->setSource(source);
    const double width = layout->bandWidth();
    report::Band& band = layout->addBand(BandKind::Title, "Title", 20);
    band.addText("title", QRectF(0, 0, width, 8), title,
                 kPlain.withSize(14).withBold().withAlignment(Qt::AlignHCenter | Qt::AlignTop));
    band.addText("dates", QRectF(0, 9, width, 6), dates, kPlain.withSize(10).withAlignment(Qt::AlignHCenter));
    band.addLine("underline", QPointF(0, 18), QPointF(width, 18));
    return layout;
}

inline void addHeads(report::Band& band, const std::vector<Column>& columns, double top) {
    for (const Column& c : columns)
        band.addText("head_" + c.title.toStdString(), cell(c, top), c.title, c.right ? kBoldRight : kBold);
}

inline void addColumnHeader(report::Layout& layout, const std::vector<Column>& columns) {
    report::Band& band = layout.addBand(BandKind::ColumnHeader, "ColumnHeader", kRow + 2);
    addHeads(band, columns, 0);
    band.addLine("underline", QPointF(0, kRow + 1), QPointF(layout.bandWidth(), kRow + 1));
}

using Format = std::function<QString(const RecordCursor&)>;

inline void addCell(report::Band& band, RecordCursor& source, const Column& c, double top, const Field& field,
                    Format format) {
    report::Element& e = band.addField("field_" + c.title.toStdString() + "_" + std::to_string(int(top)), cell(c, top),
                                       source, field.text(), c.right ? kRight : kPlain);
    e.format = std::move(format);
}

inline Format money(const Field& f) {
    return [f](const RecordCursor& r) { return moneyText(r.asFloat(f)); };
}
inline Format plain(const Field& f) {
    return [f](const RecordCursor& r) { return plainNumber(r.asFloat(f)); };
}
inline Format text(const Field& f, int width = -1) {
    return [f, width](const RecordCursor& r) { return r.asString(f).trimmed().left(width); };
}

// A summary line: a caption and values under the columns.
inline void addSummaryLine(report::Band& band, const std::vector<Column>& columns, double top, const QString& caption,
                           const std::vector<std::pair<int, QString>>& values) {
    band.addText("caption_" + std::to_string(int(top)), QRectF(1, top, 60, kRow - 0.5), caption, kBold);
    for (const auto& [index, value] : values)
        band.addText("sum_" + std::to_string(int(top)) + "_" + std::to_string(index), cell(columns[size_t(index)], top),
                     value, kBoldRight);
}

// The page footer of the financial statistics: the program line and who made the report.
inline void addFooter(report::Layout& layout, const QString& madeBy) {
    report::Band& footer = layout.addBand(BandKind::PageFooter, "PageFooter", 8);
    const double width = layout.bandWidth();
    footer.addLine("overline", QPointF(0, 1), QPointF(width, 1));
    footer.addText("version", QRectF(0, 2, 60, kRow), QStringLiteral("Kavina 1.0 verzió"), kPlain);
    footer.addText("user", QRectF(width - 100, 2, 100, kRow), madeBy, kRight);
}

}  // namespace bands
}  // namespace kavina::reports
