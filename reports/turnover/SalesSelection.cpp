#include "reports/turnover/SalesSelection.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "dbase/CodePage.h"
#include "dbase/Collation.h"
#include "foundation/CatalogueFields.h"
#include "reports/turnover/LoadedRows.h"

namespace kavina::reports {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;

namespace {

// Above this many headers the lines are gathered in one walk of the line table rather than
// by a seek per header: a year's statistic reads most lines anyway.
constexpr size_t kSeeksAtMost = 2000;

// The header fields a statistic reads: copied out as the headers are chosen, so that the
// visit reads none of them again.
const std::vector<Field> kHeaderFields{H::SZAMLASZAM, H::SZAMLATIP, H::ALLAPOT,   H::PARTNERKOD, H::NEV,
                                       H::FIZMOD,     H::KIALLIT,   H::TELJESIT,  H::AFAALAP,    H::FIZETENDO,
                                       H::POSSZEG,    H::TELJESCIM, H::KEDVEZMENY};

struct Selected {
    std::string sortKey;  // the number as the number index orders it
    QString number;
    CursorMark mark;
};

}  // namespace

SalesSelection::SalesSelection(std::string folder, QString types, QDate from, QDate to, std::vector<Field> lineFields)
    : m_folder(std::move(folder)),
      m_types(std::move(types)),
      m_from(from),
      m_to(to),
      m_lineFields(std::move(lineFields)),
      m_headerFields(kHeaderFields) {}

SalesSelection& SalesSelection::alsoHeaderFields(const std::vector<Field>& fields) {
    for (const Field& field : fields)
        if (std::none_of(m_headerFields.begin(), m_headerFields.end(),
                         [&field](const Field& known) { return known.name == field.name; }))
            m_headerFields.push_back(field);
    return *this;
}

SalesSelection::~SalesSelection() = default;

// The headers are chosen in one walk in record order, which reads the table in large chunks,
// and put into document-number order as the number index orders them, each with a copy of
// the header fields a statistic reads. Lines are then read on a handle without an order, where
// going to a record reads from that record on.
void SalesSelection::visit(
    const std::function<void(const RecordCursor&, const std::vector<CursorMark>&, RecordCursor&)>& onHeader,
    const Progress& progress) {
    TableHandle headers(m_folder, std::string(H::kTable));
    headers.open();
    const dbase::CodePage codePage = headers.table().codePage();
    const dbase::Collation collation(codePage);
    const size_t width = size_t(headers.fields().at(size_t(headers.fieldNumber(H::SZAMLASZAM))).length);

    // The selection first, so that the progress knows its range before the first header.
    std::vector<Selected> selected;
    LoadedRows headerRows(headers, m_headerFields);
    const int typeField = headers.fieldNumber(H::SZAMLATIP), issuedField = headers.fieldNumber(H::KIALLIT),
              numberField = headers.fieldNumber(H::SZAMLASZAM);
    for (headers.first(); !headers.eof(); headers.next()) {
        const QString type = headers.asString(typeField).trimmed();
        if (type.size() != 1 || !m_types.contains(type)) continue;
        const QDate issued = headers.asDate(issuedField);
        if (!issued.isValid() || issued < m_from || issued > m_to) continue;
        const QString number = headers.asString(numberField).trimmed();
        selected.push_back({collation.sortKey(dbase::fromUtf8(codePage, number.toStdString()), width, false), number,
                            headerRows.appendCurrent(headers)});
    }
    std::stable_sort(selected.begin(), selected.end(),
                     [](const Selected& a, const Selected& b) { return a.sortKey < b.sortKey; });

    // The lines of every selected header, in record order within a document as the number
    // index keeps them.
    std::unordered_map<std::string, std::vector<CursorMark>> linesOf;
    for (const Selected& s : selected)
        if (!s.number.isEmpty() && !m_headersOnly) linesOf.emplace(s.number.toStdString(), std::vector<CursorMark>{});
    TableHandle lines(m_folder, std::string(L::kTable));
    lines.open();
    if (!linesOf.empty() && selected.size() > kSeeksAtMost) {
        const int number = lines.fieldNumber(L::SZAMLASZAM);
        for (lines.first(); !lines.eof(); lines.next()) {
            const auto own = linesOf.find(std::string(dbase::trimRight(lines.table().asString(number))));
            if (own != linesOf.end()) own->second.push_back(lines.bookmark());
        }
    } else if (!linesOf.empty()) {
        lines.setOrder(L::SZAMLASZAM);
        for (auto& [number, own] : linesOf) {
            if (!lines.findKey(number)) continue;
            for (; !lines.eof() && lines.asString(L::SZAMLASZAM).trimmed().toStdString() == number; lines.next())
                own.push_back(lines.bookmark());
        }
        lines.setOrder(std::string());
    }

    const int total = int(selected.size());
    int done = 0;
    const std::vector<CursorMark> none;
    std::optional<LoadedRows> loaded;
    if (!m_lineFields.empty()) loaded.emplace(lines, m_lineFields);
    for (const Selected& s : selected) {
        headerRows.gotoBookmark(s.mark);
        const auto found = linesOf.find(s.number.toStdString());
        const std::vector<CursorMark>& own = found == linesOf.end() ? none : found->second;
        if (loaded)
            onHeader(headerRows, loaded->load(lines, own), *loaded);
        else
            onHeader(headerRows, own, lines);
        ++done;
        if (progress) progress(done, total);
    }
}

}  // namespace kavina::reports
