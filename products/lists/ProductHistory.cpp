#include "products/lists/ProductHistory.h"

#include <map>

#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/SzamSzov.h"

namespace kavina::products {

namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;

struct Line {
    double quantity;
    QString unit;
};

// The product's lines by document number, in the lines' order.
std::multimap<QString, Line> linesOf(TDataModule1& data, double productCode) {
    TableHandle lines(data.dataFolder(), catalogue::table(TableId::Szamla2).fileName);
    lines.open();
    lines.setOrder(L::ANYAGSZAM);
    std::multimap<QString, Line> found;
    const int64_t code = KerekitRound(productCode);
    if (!lines.findKey(QString::number(code).toStdString())) return found;
    for (; !lines.eof() && KerekitRound(lines.asFloat(L::ANYAGSZAM)) == code; lines.next())
        found.emplace(lines.asString(L::SZAMLASZAM), Line{lines.asFloat(L::MENNYISEG), lines.asString(L::EGYSEG)});
    return found;
}

}  // namespace

bool movesInHistory(const QString& documentType) {
    static const QStringList kTypes{"B", "F", "1", "3", "4", "5"};
    return kTypes.contains(documentType.trimmed());
}

std::vector<HistoryRow> productHistory(TDataModule1& data, double productCode) {
    const std::multimap<QString, Line> lines = linesOf(data, productCode);
    std::vector<HistoryRow> rows;
    if (lines.empty()) return rows;
    TableHandle headers(data.dataFolder(), catalogue::table(TableId::Szamla).fileName);
    headers.open();
    for (headers.first(); !headers.eof(); headers.next()) {
        const QString type = headers.asString(H::SZAMLATIP);
        if (!movesInHistory(type)) continue;
        const auto [from, to] = lines.equal_range(headers.asString(H::SZAMLASZAM));
        for (auto it = from; it != to; ++it)
            rows.push_back({headers.asString(H::SZAMLASZAM), headers.asString(H::NEV), headers.asString(H::TELJESCIM),
                            headers.asDate(H::KIALLIT), it->second.quantity, it->second.unit,
                            headers.asString(H::UGYINTEZO), type.trimmed() == QLatin1String("3")});
    }
    return rows;
}

}  // namespace kavina::products
