#include "products/register/ProductFields.h"

#include <QStringList>

#include "foundation/CatalogueFields.h"
#include "foundation/NumberBox.h"
#include "foundation/SzamSzov.h"
#include "foundation/TableReader.h"

namespace kavina::products {

namespace {

namespace A = fields::Anyag;
namespace V = fields::AFA;

const Field* const kNetPrices[4] = {&A::AR1, &A::AR2, &A::AR3, &A::FIXAR};
const Field* const kGrossPrices[4] = {&A::bar1, &A::bar2, &A::bar3, &A::bfixar};

}  // namespace

ProductFields readProductFields(const RecordCursor& p, TableHandle& vatGroups) {
    ProductFields f;
    f.service = p.asLogical(A::TERMEK);
    f.name = p.asString(A::MEGNEVEZES);
    f.category = p.asString(A::KATEGORIA);
    f.statNumber = p.asString(A::ITJSZAM);
    f.articleNumber = p.asString(A::CIKKSZAM);
    f.unit = p.asString(A::EGYSEG);
    f.onPriceList = p.asLogical(A::LISTA);
    f.vatGroup = vatGroupOfRate(vatGroups, p.asFloat(A::AFAKULCS));
    if (f.vatGroup.isEmpty()) {
        f.ungroupedRate = p.asFloat(A::AFAKULCS);
        f.vatGroup = ungroupedVatText(*f.ungroupedRate);
    }
    if (f.service) {
        for (size_t i = 0; i < 4; ++i) f.prices[i] = p.asFloat(*kNetPrices[i]);
    } else {
        f.warehouse = p.asString(A::MEGJEGYZES);
        f.barcode = p.asString(A::VONALKOD);
        f.minimum = p.asFloat(A::MINMENNY);
        f.warranty = int(p.asInteger(A::szavatossag));
        f.picture = p.asString(A::KEP);
    }
    return f;
}

void writeProductFields(RecordCursor& p, const ProductFields& f, double vatRate) {
    p.setLogical(A::LISTA, f.onPriceList);
    p.setString(A::MEGNEVEZES, f.name);
    p.setString(A::KATEGORIA, f.category);
    p.setString(A::ITJSZAM, f.statNumber);
    p.setString(A::CIKKSZAM, f.articleNumber);
    p.setString(A::EGYSEG, f.unit);
    p.setFloat(A::AFAKULCS, vatRate);
    if (f.service) {
        for (size_t i = 0; i < 4; ++i) p.setFloat(*kNetPrices[i], f.prices[i]);
        return;
    }
    p.setString(A::MEGJEGYZES, f.warehouse);
    p.setString(A::VONALKOD, f.barcode);
    // A minimum of 0 is no minimum: the field stays empty and the list shows nothing.
    if (f.minimum == 0)
        p.setNull(A::MINMENNY);
    else
        p.setFloat(A::MINMENNY, f.minimum);
    p.setInteger(A::szavatossag, f.warranty);
    p.setString(A::KEP, f.picture);
}

void rederivePrices(RecordCursor& p) {
    const long double factor = 1 + (long double)p.asFloat(A::AFAKULCS) / 100;
    const Field* const net[5] = {&A::BESZERZAR, &A::AR1, &A::AR2, &A::AR3, &A::FIXAR};
    const Field* const gross[5] = {&A::bbesz, &A::bar1, &A::bar2, &A::bar3, &A::bfixar};
    for (size_t i = 0; i < 5; ++i) p.setFloat(*gross[i], double(Kerekit(1, p.asFloat(*net[i]) * factor)));
    for (size_t i = 0; i < 5; ++i) p.setFloat(*net[i], double(Kerekit(-1, p.asFloat(*gross[i]) / factor)));
}

void writeServiceGrossPrices(RecordCursor& p, double vatRate) {
    for (size_t i = 0; i < 4; ++i) p.setFloat(*kGrossPrices[i], p.asFloat(*kNetPrices[i]) * (vatRate + 100) / 100);
}

std::optional<double> vatRateOfGroup(TableHandle& vatGroups, const QString& name) {
    if (!vatGroups.isOpen() || name.trimmed().isEmpty()) return std::nullopt;
    const auto reader = readerOf(vatGroups, ReaderView::Unfiltered);
    for (reader->first(); !reader->eof(); reader->next())
        if (reader->asString(V::MEGNEVEZES).trimmed().compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return reader->asFloat(V::AFA);
    return std::nullopt;
}

QString vatGroupOfRate(TableHandle& vatGroups, double rate) {
    if (!vatGroups.isOpen()) return {};
    const auto reader = readerOf(vatGroups, ReaderView::Unfiltered);
    reader->setOrder(V::AFA);
    for (reader->first(); !reader->eof(); reader->next())
        if (reader->asFloat(V::AFA) == double(floatToInteger(rate))) return reader->asString(V::MEGNEVEZES).trimmed();
    return {};
}

QString ungroupedVatText(double rate) {
    return numberBoxText(rate) + QStringLiteral(" % (nincs csoport)");
}

std::optional<double> vatRateOf(TableHandle& vatGroups, const QString& boxText, std::optional<double> ungroupedRate) {
    if (const std::optional<double> rate = vatRateOfGroup(vatGroups, boxText)) return rate;
    if (ungroupedRate && boxText.trimmed() == ungroupedVatText(*ungroupedRate)) return ungroupedRate;
    return std::nullopt;
}

QStringList vatGroupNames(TableHandle& vatGroups) {
    QStringList names;
    if (!vatGroups.isOpen()) return names;
    const auto reader = readerOf(vatGroups, ReaderView::Unfiltered);
    reader->setOrder(V::AFA);
    for (reader->first(); !reader->eof(); reader->next()) names << reader->asString(V::MEGNEVEZES).trimmed();
    return names;
}

}  // namespace kavina::products
