#include "tools/generator/DocumentBuilder.h"

#include <stdexcept>

#include "foundation/CatalogueFields.h"
#include "foundation/NumberBox.h"
#include "foundation/RecordEdit.h"
#include "foundation/SzamSzov.h"
#include "invoicing/editor/DocumentTotals.h"
#include "products/pickers/PickerProtocol.h"

namespace kavina::generator {

namespace {

namespace A = fields::Anyag;
namespace H = fields::Szamla;
namespace L = fields::Szamla2;

[[noreturn]] void unexpected(const QString& caption, const QString& text) {
    throw std::runtime_error(("unexpected message: " + caption + ": " + text).toStdString());
}

}  // namespace

void SilentPrompt::message(const QString& caption, const QString& text, Icon) {
    unexpected(caption, text);
}

bool SilentPrompt::askYesNo(const QString& caption, const QString& question, Icon) {
    unexpected(caption, question);
}

std::optional<QString> SilentPrompt::askText(const QString& caption, const QString& prompt, const QString&) {
    unexpected(caption, prompt);
}

DocumentBuilder::DocumentBuilder(TableHandle& products, Prompt& prompt, QString user)
    : m_products(products), m_prompt(prompt), m_user(std::move(user)) {}

void DocumentBuilder::start(MemoryDocument& doc, const PartnerCard* partner, const QString& payment,
                            const QDate& issued, const QDate& due, int priceGroup) {
    doc.emptyAll();
    RecordEdit header = RecordEdit::append(doc.mszamla);
    MemTable& h = doc.mszamla;
    if (partner) {
        h.setInteger(H::PARTNERKOD, partner->code);
        h.setString(H::NEV, partner->name);
        h.setString(H::NEV1, partner->name2);
        h.setString(H::IRSZAM, partner->postcode);
        h.setString(H::VAROS, partner->town);
        h.setString(H::CIM, partner->street);
        h.setInteger(H::KEDVEZMENY, partner->discount);
    }
    h.setString(H::FIZMOD, payment);
    h.setString(H::UGYINTEZO, m_user);
    h.setLogical(H::FIZETVE, false);
    h.setDate(H::KIALLIT, issued);
    h.setDate(H::TELJESIT, issued);
    h.setDate(H::FIZHAT, due);
    h.setInteger(H::ARCSOPORT, priceGroup);
    header.post();
}

void DocumentBuilder::addLine(MemoryDocument& doc, double productCode, double quantity, products::LineEditor editor,
                              std::optional<double> purchaseNet) {
    if (!m_products.findKey(QString::number(KerekitRound(productCode)).toStdString()))
        throw std::runtime_error("no product of code " + std::to_string(KerekitRound(productCode)));
    const int priceGroup = int(doc.mszamla.asInteger(H::ARCSOPORT));
    {
        RecordEdit line = RecordEdit::append(doc.mszamla2);
        products::fillPickedLine(m_products, doc.mszamla2, priceGroup, std::nullopt);
        line.post();
    }
    const products::LineProduct product{m_products.asFloat(A::MENNYISEG), m_products.asLogical(A::TERMEK),
                                        m_products.asString(A::EGYSEG), m_products.asFloat(A::BESZERZAR),
                                        m_products.asFloat(A::bbesz)};
    products::LineDialogSetup setup;
    setup.editor = editor;
    setup.afterPick = true;
    setup.negativeStockAllowed = true;
    setup.pricesEnabled = true;
    products::LineDialog dialog(doc.mszamla2, product, m_prompt, setup);
    if (purchaseNet) dialog.typeNet(numberBoxText(*purchaseNet));
    dialog.typeQuantity(numberBoxText(quantity));
    if (!dialog.accept()) throw std::runtime_error("the line dialog refused a generated line");
}

void DocumentBuilder::copyStoredLines(MemoryDocument& doc, TableHandle& storedLines, const QString& number, double sign,
                                      bool intoSource, const std::vector<int>& only) {
    storedLines.refresh();
    if (!storedLines.findKey(number.toStdString())) return;
    for (int position = 0; !storedLines.eof() && storedLines.asString(L::SZAMLASZAM).trimmed() == number;
         storedLines.next(), ++position) {
        if (!only.empty() && std::find(only.begin(), only.end(), position) == only.end()) continue;
        RecordEdit line = RecordEdit::append(doc.mszamla2);
        for (const Field& f :
             {L::ANYAGSZAM, L::EGYSEG,     L::AR1,    L::AR2,       L::AR3,    L::ARE,       L::EGYSEGAR, L::begysegar,
              L::ITJSZAM,   L::MEGNEVEZES, L::AFA,    L::bar1,      L::bar2,   L::bar3,      L::bfixar,   L::bruttoar,
              L::cikkszam,  L::nbesz,      L::haszon, L::ARCSOPORT, L::TERMEK, L::MEGJEGYZES})
            doc.mszamla2.setString(f, storedLines.asString(f));
        doc.mszamla2.setFloat(L::MENNYISEG, double(Kerekit(-1, (long double)sign * storedLines.asFloat(L::MENNYISEG))));
        for (const Field& f : {L::NETTOAR, L::AFAFT, L::OSSZESEN})
            doc.mszamla2.setFloat(f, sign * storedLines.asFloat(f));
        line.post();
        if (!intoSource || storedLines.asLogical(L::TERMEK)) continue;
        RecordEdit source = RecordEdit::append(doc.mData2);
        for (const Field& f :
             {L::ANYAGSZAM, L::MENNYISEG, L::EGYSEG, L::AR1, L::AR2, L::AR3, L::ARE, L::EGYSEGAR, L::ITJSZAM,
              L::MEGNEVEZES, L::NETTOAR, L::AFA, L::AFAFT, L::OSSZESEN, L::ARCSOPORT, L::TERMEK})
            doc.mData2.setString(f, storedLines.asString(f));
        source.post();
    }
}

void DocumentBuilder::total(MemoryDocument& doc, invoicing::EditorMode mode, bool deliveryEditor) {
    doc.mszamla.first();
    const bool cashRounding =
        !deliveryEditor &&
        invoicing::invoiceCashRounding(doc.mszamla.asDate(H::KIALLIT), doc.mszamla.asString(H::FIZMOD).trimmed(), mode);
    invoicing::recalculateTotals(doc.mszamla, doc.mszamla2, cashRounding);
}

}  // namespace kavina::generator
