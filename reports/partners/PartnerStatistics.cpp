#include "reports/partners/PartnerStatistics.h"

#include "foundation/CatalogueFields.h"
#include "foundation/SzamSzov.h"
#include "reports/turnover/WorkingList.h"

namespace kavina::reports {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace P = fields::Partner;

namespace {

dbase::FieldDef integerField(const Field& f) {
    return {f.text(), dbase::FieldType::Integer, 0, 0};
}

int64_t partnerCodeOf(const RecordCursor& header) {
    return header.isNull(H::PARTNERKOD) ? 0 : header.asInteger(H::PARTNERKOD);
}

// The headers of the types issued to the partner in the period, each with its lines.
void visitPartnerDocuments(
    const std::string& folder, const QString& types, int64_t partnerCode, const QDate& from, const QDate& to,
    const std::function<void(const RecordCursor&, const std::vector<CursorMark>&, RecordCursor&)>& onHeader,
    const Progress& progress) {
    if (from > to) return;  // an empty period
    SalesSelection(folder, types, from, to)
        .alsoHeaderFields({H::NEV1, H::VAROS, H::CIM, H::FIZETVE})
        .visit(
            [&](const RecordCursor& header, const std::vector<CursorMark>& lines, RecordCursor& cursor) {
                if (partnerCodeOf(header) == partnerCode) onHeader(header, lines, cursor);
            },
            progress);
}

void keepFirst(MemTable& rows, int keep) {
    if (keep <= 0) return;
    int kept = 0;
    for (rows.first(); !rows.eof();) {
        if (kept++ < keep)
            rows.next();
        else
            rows.deleteRecord();
    }
}

}  // namespace

void collectCustomers(const std::string& folder, const QDate& from, const QDate& to, int keep, MemTable& rows,
                      const Progress& progress) {
    namespace C = customerlist;
    rows.setFields({textField(C::NEV, 50), textField(C::CIM, 50), integerField(C::FORGALOM)});
    const QDate last = to.isValid() && to >= QDate(1980, 1, 1) ? to : QDate(9999, 12, 31);
    KeyedRows byCustomer(rows);
    if (from > last) return;  // an empty period: the fields alone
    SalesSelection(folder, QStringLiteral("BJ"), from, last)
        .alsoHeaderFields({H::NEV1, H::VAROS, H::CIM})
        .visit(
            [&](const RecordCursor& header, const std::vector<CursorMark>&, RecordCursor&) {
                const QString name =
                    (header.asString(H::NEV).trimmed() + QLatin1Char(' ') + header.asString(H::NEV1).trimmed())
                        .left(50);
                const QString address =
                    (header.asString(H::VAROS).trimmed() + QLatin1Char(' ') + header.asString(H::CIM).trimmed())
                        .left(50);
                byCustomer.select(name + QChar(0) + address, [&] {
                    rows.setString(C::NEV, name);
                    rows.setString(C::CIM, address);
                    rows.setInteger(C::FORGALOM, 0);
                });
                rows.edit();
                rows.setInteger(C::FORGALOM, rows.asInteger(C::FORGALOM) + floatToInteger(header.asFloat(H::AFAALAP)));
                rows.post();
            },
            progress);
    rows.sort({{C::FORGALOM, true}});
    keepFirst(rows, keep);
    rows.first();
}

ChosenPartner chosenPartner(const RecordCursor& partners) {
    ChosenPartner p;
    if (partners.isEmpty()) return p;
    p.chosen = true;
    p.code = partners.isNull(P::PARTNERKOD) ? 0 : partners.asInteger(P::PARTNERKOD);
    p.name = partners.asString(P::NEV).trimmed();
    p.nev2 = partners.asString(P::NEV2).trimmed();
    p.postcode = partners.asString(P::IRSZAM).trimmed();
    p.town = partners.asString(P::VAROS).trimmed();
    p.street = partners.asString(P::UTCA).trimmed();
    return p;
}

bool partnerChosen(const ChosenPartner& partner, Prompt& prompt) {
    if (partner.chosen) return true;
    prompt.warning(QStringLiteral("Figyelem!"), QStringLiteral("Válasszon partnert!"));
    return false;
}

int64_t collectPartnerInvoices(const std::string& folder, int64_t partnerCode, const QDate& from, const QDate& to,
                               MemTable& rows, const Progress& progress) {
    namespace I = invoicelist;
    rows.setFields({textField(I::szamlaszam, 20),
                    {I::datum.text(), dbase::FieldType::Date, 0, 0},
                    integerField(I::netto),
                    {I::fizetve.text(), dbase::FieldType::Logical, 1, 0}});
    long double sum = 0;
    visitPartnerDocuments(
        folder, QStringLiteral("B"), partnerCode, from, to,
        [&](const RecordCursor& header, const std::vector<CursorMark>&, RecordCursor&) {
            const double net = header.asFloat(H::AFAALAP);
            rows.append();
            rows.setString(I::szamlaszam, header.asString(H::SZAMLASZAM));
            rows.setDate(I::datum, header.asDate(H::KIALLIT));
            rows.setInteger(I::netto, floatToInteger(net));
            rows.setLogical(I::fizetve, header.asLogical(H::FIZETVE));
            rows.post();
            sum += net;
        },
        progress);
    rows.sort({{I::datum}});
    rows.first();
    return floatToInteger(double(sum));
}

void collectPartnerProducts(const std::string& folder, int64_t partnerCode, const QDate& from, const QDate& to,
                            MemTable& rows, const Progress& progress) {
    namespace R = partnerproducts;
    rows.setFields({textField(R::termek, 100), textField(R::szj, 20), numberField(R::egysegar), textField(R::me, 20),
                    numberField(R::forgalom)});
    KeyedRows byName(rows);
    visitPartnerDocuments(
        folder, QStringLiteral("B"), partnerCode, from, to,
        [&](const RecordCursor&, const std::vector<CursorMark>& lines, RecordCursor& line) {
            for (const CursorMark& mark : lines) {
                line.gotoBookmark(mark);
                const QString name = line.asString(L::MEGNEVEZES).trimmed();
                byName.select(name, [&] {
                    rows.setString(R::termek, name);
                    rows.setString(R::szj, line.asString(L::ITJSZAM));
                    rows.setFloat(R::egysegar, line.asFloat(L::EGYSEGAR));
                    rows.setString(R::me, line.asString(L::EGYSEG));
                    rows.setFloat(R::forgalom, 0);
                });
                rows.edit();
                rows.setFloat(R::forgalom, rows.asFloat(R::forgalom) + line.asFloat(L::MENNYISEG));
                rows.post();
            }
        },
        progress);
    rows.sort({{R::termek}});
    rows.first();
}

double collectSupplierGoods(const std::string& folder, int64_t partnerCode, const QDate& from, const QDate& to,
                            MemTable& rows, const Progress& progress) {
    namespace R = suppliergoods;
    rows.setFields({textField(R::cikkszam, 30), textField(R::termek, 100), numberField(R::mennyiseg),
                    textField(R::me, 20), numberField(R::netto)});
    KeyedRows byName(rows);
    long double total = 0;
    visitPartnerDocuments(
        folder, QStringLiteral("3"), partnerCode, from, to,
        [&](const RecordCursor&, const std::vector<CursorMark>& lines, RecordCursor& line) {
            for (const CursorMark& mark : lines) {
                line.gotoBookmark(mark);
                const QString name = line.asString(L::MEGNEVEZES).trimmed();
                const double net = line.asFloat(L::NETTOAR);
                byName.select(name, [&] {
                    rows.setString(R::cikkszam, line.asString(L::cikkszam));
                    rows.setString(R::termek, name);
                    rows.setString(R::me, line.asString(L::EGYSEG));
                    rows.setFloat(R::mennyiseg, 0);
                    rows.setFloat(R::netto, 0);
                });
                rows.edit();
                rows.setFloat(R::mennyiseg, rows.asFloat(R::mennyiseg) + line.asFloat(L::MENNYISEG));
                rows.setFloat(R::netto, rows.asFloat(R::netto) + net);
                rows.post();
                total += net;
            }
        },
        progress);
    rows.sort({{R::termek}});
    rows.first();
    return double(total);
}

}  // namespace kavina::reports
