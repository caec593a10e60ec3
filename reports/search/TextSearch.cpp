#include "reports/search/TextSearch.h"

#include "foundation/Catalogue.h"
#include "foundation/SzamSzov.h"

namespace kavina::reports {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace T1 = fields::Tmp1;
namespace T2 = fields::Tmp2;

std::pair<QDate, QDate> searchPeriod(const std::optional<QDate>& from, const std::optional<QDate>& to) {
    const QDate floor(1900, 1, 1);
    return {from && *from >= floor ? *from : floor, to && *to >= floor ? *to : QDate(2100, 1, 1)};
}

bool containsIgnoringCase(const QString& text, const QString& part) {
    // Full Unicode upper-casing, whatever the workstation's locale.
    return text.toUpper().contains(part.toUpper());
}

TextSearchResult::TextSearchResult() : m_hits(std::string(T1::kTable)), m_lines(std::string(T2::kTable)) {
    m_hits.setFields(catalogue::table(TableId::Tmp1).fields);
    m_lines.setFields(catalogue::table(TableId::Tmp2).fields);
}

void TextSearchResult::clear() {
    m_hits.emptyTable();
    m_lines.emptyTable();
}

namespace {

QString joined(const RecordCursor& header, std::initializer_list<Field> parts) {
    QStringList texts;
    for (const Field& f : parts) texts << header.asString(f).trimmed();
    return texts.join(QLatin1Char(' '));
}

bool isHit(const RecordCursor& header, const std::vector<CursorMark>& lines, RecordCursor& cursor,
           const TextSearchRequest& request) {
    const SearchPlaces& at = request.places;
    if (at.customer &&
        containsIgnoringCase(joined(header, {H::NEV, H::NEV1, H::IRSZAM, H::VAROS, H::CIM}), request.text))
        return true;
    if (at.comment && containsIgnoringCase(header.asString(H::MEGJEGYZES), request.text)) return true;
    if (!at.lineNames && !at.lineComments) return false;
    QString names, comments;
    for (const CursorMark& mark : lines) {
        cursor.gotoBookmark(mark);
        names += QLatin1Char(' ') + cursor.asString(L::MEGNEVEZES).trimmed();
        comments += QLatin1Char(' ') + cursor.asString(L::MEGJEGYZES).trimmed();
    }
    return (at.lineNames && containsIgnoringCase(names, request.text)) ||
           (at.lineComments && containsIgnoringCase(comments, request.text));
}

void copyHit(const RecordCursor& header, const std::vector<CursorMark>& lines, RecordCursor& cursor,
             TextSearchResult& result) {
    MemTable& hits = result.hits();
    const QString number = header.asString(H::SZAMLASZAM).trimmed();
    hits.append();
    hits.setString(T1::SZAMLASZAM, number);
    hits.setString(T1::NEV, joined(header, {H::NEV, H::NEV1}));
    hits.setString(T1::CIM, joined(header, {H::IRSZAM, H::VAROS, H::CIM}));
    hits.setString(T1::FIZMOD, header.asString(H::FIZMOD));
    hits.setDate(T1::KIALLIT, header.asDate(H::KIALLIT));
    hits.setLogical(T1::FIZETVE, header.asLogical(H::FIZETVE));
    hits.setString(T1::UGYINTEZO, header.asString(H::UGYINTEZO));
    hits.setString(T1::MEGJEGYZES, header.asString(H::MEGJEGYZES));
    hits.setInteger(T1::FIZETENDO, floatToInteger(header.asFloat(H::FIZETENDO)));
    hits.post();
    MemTable& out = result.lines();
    for (const CursorMark& mark : lines) {
        cursor.gotoBookmark(mark);
        out.append();
        out.setString(T2::SZAMLASZAM, number);
        out.setFloat(T2::MENNYISEG, cursor.asFloat(L::MENNYISEG));
        out.setString(T2::EGYSEG, cursor.asString(L::EGYSEG));
        out.setFloat(T2::EGYSEGAR, cursor.asFloat(L::EGYSEGAR));
        out.setString(T2::ITJSZAM, cursor.asString(L::ITJSZAM));
        out.setString(T2::MEGNEVEZES, cursor.asString(L::MEGNEVEZES));
        out.setString(T2::MEGJEGYZES, cursor.asString(L::MEGJEGYZES));
        out.post();
    }
}

}  // namespace

int searchInvoices(const std::string& folder, const TextSearchRequest& request, TextSearchResult& result,
                   const Progress& progress) {
    result.clear();
    const SearchPlaces& at = request.places;
    if (request.text.isEmpty() || !(at.customer || at.comment || at.lineNames || at.lineComments)) return 0;
    const auto [from, to] = searchPeriod(request.from, request.to);
    int found = 0;
    SalesSelection(folder, QStringLiteral("B"), from, to,
                   {L::MEGNEVEZES, L::MEGJEGYZES, L::MENNYISEG, L::EGYSEG, L::EGYSEGAR, L::ITJSZAM})
        .alsoHeaderFields({H::NEV1, H::IRSZAM, H::VAROS, H::CIM, H::FIZETVE, H::UGYINTEZO, H::MEGJEGYZES})
        .visit(
            [&](const RecordCursor& header, const std::vector<CursorMark>& lines, RecordCursor& cursor) {
                if (!isHit(header, lines, cursor, request)) return;
                copyHit(header, lines, cursor, result);
                ++found;
            },
            progress);
    // The selection visits by document number already; the sort keeps each invoice's lines in order.
    result.hits().sort({{T1::SZAMLASZAM}});
    result.lines().sort({{T2::SZAMLASZAM}});
    return found;
}

}  // namespace kavina::reports
