#include "invoicing/editor/InvoiceEditor.h"

#include <cmath>

#include "foundation/CatalogueFields.h"
#include "foundation/RecordEdit.h"
#include "foundation/SzamSzov.h"
#include "foundation/TableReader.h"
#include "invoicing/document/DocumentNumbering.h"
#include "invoicing/editor/LineCommands.h"
#include "invoicing/editor/TemporarySave.h"
#include "invoicing/print/TSzamlar.h"

namespace kavina::invoicing {

namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace P = fields::Partner;
namespace A = fields::Anyag;

const QString kWarning = QStringLiteral("Figyelem!");
const QString kQuestion = QStringLiteral("Figyelem !");
// Dates before this one are the empty date masks of the boxes.
const QDate kFirstDay(2000, 1, 1);

bool unset(const QDate& date) {
    return !date.isValid() || date < kFirstDay;
}

double r4(long double x) {
    return double(Kerekit(-1, x));
}

void copyText(const RecordCursor& from, const Field& source, RecordCursor& to, const Field& target) {
    to.setString(target, from.asString(source));
}

SalesMode salesMode(EditorMode mode) {
    switch (mode) {
        case EditorMode::Invoice: return SalesMode::Invoice;
        case EditorMode::CashSale: return SalesMode::CashSale;
        case EditorMode::Scrap: return SalesMode::Scrap;
        case EditorMode::Corrective: return SalesMode::Corrective;
        case EditorMode::Proforma: return SalesMode::Proforma;
    }
    return SalesMode::Invoice;
}

}  // namespace

InvoiceEditor::InvoiceEditor(TDataModule1& data, MemoryDocument& document, Prompt& prompt, EditorWindows& windows,
                             const InvoiceEditorOptions& options)
    : m_data(data),
      m_doc(document),
      m_prompt(prompt),
      m_windows(windows),
      m_options(options),
      m_source(options.source) {}

bool InvoiceEditor::open() {
    m_saved = false;
    m_data.PartnerTable().refresh();
    TableHandle& settings = m_data.UserTable();
    settings.refresh();
    settings.first();
    if (m_source != SourceKind::None && !acceptSource()) return false;
    m_sourceNumber = m_source == SourceKind::None ? QString() : m_data.SzamlaTable().asString(H::SZAMLASZAM).trimmed();
    m_doc.emptyAll();
    if (m_options.mode == EditorMode::CashSale) ensureCounterSet(settings, fields::User::DEFUSER);
    const QDate today = m_options.today();
    {
        RecordEdit header = RecordEdit::append(m_doc.mszamla);
        if (m_source != SourceKind::None) copySource();
        m_doc.mszamla.setString(H::SZAMLASZAM, composeNumber(modeNumberKind(m_options.mode), settings, today));
        m_doc.mszamla.setString(H::SZAMLATIP, modeTypeCode(m_options.mode));
        m_doc.mszamla.setString(H::UGYINTEZO, m_options.currentUser);
        m_doc.mszamla.setLogical(H::FIZETVE, false);
        for (const Field& date : {H::KIALLIT, H::TELJESIT, H::FIZHAT}) m_doc.mszamla.setDate(date, today);
        if (m_options.mode == EditorMode::Proforma) m_doc.mszamla.setString(H::FIZMOD, kTransfer);
        m_doc.mszamla.setInteger(H::ARCSOPORT, 4);
        header.post();
    }
    if (m_source != SourceKind::None) copySourceLines(m_data.SzamlaTable().asString(H::SZAMLASZAM));
    m_handedOver = 0;
    recalculate();
    return true;
}

// A document whose effect is already undone or already replaced cannot be the source of one
// that undoes or replaces it again: the stock would move twice.
bool InvoiceEditor::acceptSource() {
    const TableHandle& stored = m_data.SzamlaTable();
    if (stored.isEmpty()) return false;
    const QString type = stored.asString(H::SZAMLATIP);
    const bool invoiced = stored.asString(H::ALLAPOT) == state::Invoiced;
    if (m_options.mode == EditorMode::Corrective) {
        if (type == QChar(type::Cancelled)) {
            m_prompt.warning(kWarning, QStringLiteral("Stornózott számlát nem lehet helyesbíteni!"));
            return false;
        }
        if (invoiced &&
            !m_prompt.askYesNo(kQuestion, QStringLiteral("Ebből a számlából már készült helyesbítő számla. "
                                                         "Biztosan újabb helyesbítő számlát készít belőle?")))
            return false;
    }
    if (m_options.mode == EditorMode::Invoice && m_source == SourceKind::Replacing) {
        if (type == QChar(type::DeliveryNoteCancelled)) m_source = SourceKind::Template;
        if (type == QChar(type::DeliveryNote) && invoiced) {
            m_prompt.warning(kWarning, QStringLiteral("A szállítólevél már ki van számlázva!"));
            return false;
        }
    }
    return true;
}

void InvoiceEditor::copySource() {
    const TableHandle& stored = m_data.SzamlaTable();
    for (const Field& f : {H::PARTNERKOD, H::NEV, H::NEV1, H::IRSZAM, H::VAROS, H::CIM, H::FIZMOD, H::TARGY, H::AFA,
                           H::ARCSOPORT, H::KEDVEZMENY})
        copyText(stored, f, m_doc.mszamla, f);
    if (m_options.mode == EditorMode::Corrective)
        m_doc.mszamla.setString(H::MEGJEGYZES, QStringLiteral("Készült a ") + stored.asString(H::SZAMLASZAM) +
                                                   QStringLiteral(" számla alapján. "));
    else
        copyText(stored, H::MEGJEGYZES, m_doc.mszamla, H::MEGJEGYZES);
}

void InvoiceEditor::copySourceLines(const QString& number) {
    const auto stored = readerOf(m_data.Szamla2Table(), ReaderView::Unfiltered);
    stored->setOrder(L::SZAMLASZAM);
    const auto products = readerOf(m_data.AnyagTable(), ReaderView::Unfiltered);
    products->setOrder(A::ANYAGKOD);
    const bool reversed = m_options.mode == EditorMode::Corrective;
    const double sign = reversed ? -1 : 1;
    if (!stored->findKey(number.toStdString())) return;
    for (; !stored->eof() && stored->asString(L::SZAMLASZAM) == number; stored->next()) {
        RecordEdit line = RecordEdit::append(m_doc.mszamla2);
        for (const Field& f :
             {L::ANYAGSZAM, L::EGYSEG,     L::AR1,    L::AR2,       L::AR3,    L::ARE,       L::EGYSEGAR, L::begysegar,
              L::ITJSZAM,   L::MEGNEVEZES, L::AFA,    L::bar1,      L::bar2,   L::bar3,      L::bfixar,   L::bruttoar,
              L::cikkszam,  L::nbesz,      L::haszon, L::ARCSOPORT, L::TERMEK, L::MEGJEGYZES})
            copyText(*stored, f, m_doc.mszamla2, f);
        m_doc.mszamla2.setFloat(L::MENNYISEG, r4(sign * stored->asFloat(L::MENNYISEG)));
        for (const Field& f : {L::NETTOAR, L::AFAFT, L::OSSZESEN})
            m_doc.mszamla2.setFloat(f, sign * stored->asFloat(f));
        // Offers and re-issued delivery notes keep no gross unit price; without one the line
        // dialog would store a zero gross value and a negative VAT.
        const double net = stored->asFloat(L::EGYSEGAR);
        if (stored->asFloat(L::begysegar) == 0 && net != 0)
            m_doc.mszamla2.setFloat(L::begysegar, m_windows.grossOf(net, stored->asFloat(L::AFA)));
        if (stored->isNull(L::nbesz) &&
            products->findKey(QString::number(KerekitRound(stored->asFloat(L::ANYAGSZAM))).toStdString()))
            m_doc.mszamla2.setFloat(L::nbesz, products->asFloat(A::BESZERZAR));
        line.post();
        if (stored->asLogical(L::TERMEK)) continue;
        RecordEdit source = RecordEdit::append(m_doc.mData2);
        for (const Field& f :
             {L::ANYAGSZAM, L::MENNYISEG, L::EGYSEG, L::AR1, L::AR2, L::AR3, L::ARE, L::EGYSEGAR, L::ITJSZAM,
              L::MEGNEVEZES, L::NETTOAR, L::AFA, L::AFAFT, L::OSSZESEN, L::ARCSOPORT, L::TERMEK})
            copyText(*stored, f, m_doc.mData2, f);
        source.post();
    }
}

void InvoiceEditor::setHeader(const std::function<void(RecordCursor&)>& change) {
    RecordEdit edit = RecordEdit::edit(m_doc.mszamla);
    change(m_doc.mszamla);
    edit.post();
}

// ---- the buyer ----

bool InvoiceEditor::pickPartner() {
    if (!m_windows.pickPartner()) return false;
    takePartner();
    return true;
}

bool InvoiceEditor::partnerCodeLeft(const QString& code) {
    if (code.trimmed().isEmpty()) return true;
    if (!m_windows.findPartnerByCode(code.trimmed())) return false;
    takePartner();
    return true;
}

void InvoiceEditor::takePartner() {
    const TableHandle& partner = m_data.PartnerTable();
    setHeader([&](RecordCursor& h) {
        for (const auto& [from, to] : {std::pair{P::NEV, H::NEV},
                                       {P::IRSZAM, H::IRSZAM},
                                       {P::VAROS, H::VAROS},
                                       {P::PARTNERKOD, H::PARTNERKOD},
                                       {P::FIZMOD, H::FIZMOD},
                                       {P::ARCSOPORT, H::ARCSOPORT},
                                       {P::NEV2, H::NEV1},
                                       {P::UTCA, H::CIM}})
            copyText(partner, from, h, to);
    });
    issueDateLeft(m_doc.mszamla.asDate(H::KIALLIT));
    // Only the first buyer's discount is taken: a discount already set stays.
    if (m_doc.mszamla.asInteger(H::KEDVEZMENY) == 0) setDiscount(int(KerekitRound(partner.asFloat(P::OSSZESBIZM))));
}

double InvoiceEditor::partnerTerm() const {
    const QString code = m_doc.mszamla.asString(H::PARTNERKOD).trimmed();
    if (code.isEmpty()) return 0;
    const auto partners = readerOf(m_data.PartnerTable(), ReaderView::Unfiltered);
    partners->setOrder(P::PARTNERKOD);
    return partners->findKey(code.toStdString()) ? partners->asFloat(P::OSSZESBIZF) : 0;
}

// ---- dates, payment, discount, price group ----

bool InvoiceEditor::issueDateLeft(const QDate& issued) {
    setHeader([&](RecordCursor& h) { h.setDate(H::KIALLIT, issued); });
    if (unset(issued)) {
        m_prompt.warning(kWarning, QStringLiteral("Kérem, állítsa ki a bizonylat keltét!"));
        return false;
    }
    if (unset(m_doc.mszamla.asDate(H::TELJESIT))) setHeader([&](RecordCursor& h) { h.setDate(H::TELJESIT, issued); });
    applyDueDateRule();
    return true;
}

void InvoiceEditor::applyDueDateRule() {
    const QDate issued = m_doc.mszamla.asDate(H::KIALLIT);
    const bool transfer = m_doc.mszamla.asString(H::FIZMOD) == kTransfer;
    const QDate due = transfer ? issued.addDays(qint64(KerekitRound(partnerTerm()))) : issued;
    setHeader([&](RecordCursor& h) { h.setDate(H::FIZHAT, due); });
    recalculate();
}

bool InvoiceEditor::deliveryDateLeft(const QDate& delivered) {
    setHeader([&](RecordCursor& h) { h.setDate(H::TELJESIT, delivered); });
    if (!unset(delivered)) return true;
    m_prompt.warning(kWarning, QStringLiteral("Kérem, állítsa ki a teljesítés idejét!"));
    return false;
}

bool InvoiceEditor::dueDateLeft(const QDate& due) {
    setHeader([&](RecordCursor& h) { h.setDate(H::FIZHAT, due); });
    const QDate issued = m_doc.mszamla.asDate(H::KIALLIT);
    if (!issued.isValid() || !due.isValid() || issued <= due) return true;
    m_prompt.warning(kWarning, QStringLiteral("Kérem, állítsa ki helyesen a fizetési határidőt!"));
    return false;
}

void InvoiceEditor::setPaymentMethod(const QString& method) {
    setHeader([&](RecordCursor& h) { h.setString(H::FIZMOD, method); });
    applyDueDateRule();
}

void InvoiceEditor::setDiscount(int percent) {
    setHeader([&](RecordCursor& h) { h.setInteger(H::KEDVEZMENY, percent); });
    recalculate();
}

void InvoiceEditor::setPriceGroup(int group) {
    setHeader([&](RecordCursor& h) { h.setInteger(H::ARCSOPORT, group); });
}

// ---- lines ----

void InvoiceEditor::addLine() {
    addPickedLines(
        m_doc.mszamla, m_doc.mszamla2, [this](int group) { return m_windows.pickLine(group); },
        m_options.settings->tsorrend == 2, [this] { recalculate(); });
}

void InvoiceEditor::changeLine() {
    if (m_doc.mszamla2.isEmpty()) return;
    m_windows.editLine();
    recalculate();
}

void InvoiceEditor::deleteLine() {
    deleteCurrentLine(m_doc.mszamla2, m_prompt);
    recalculate();
}

// ---- totals, change, remark, preview, closing ----

DocumentTotals InvoiceEditor::recalculate() {
    const bool cash =
        invoiceCashRounding(m_doc.mszamla.asDate(H::KIALLIT), m_doc.mszamla.asString(H::FIZMOD), m_options.mode);
    return recalculateTotals(m_doc.mszamla, m_doc.mszamla2, cash);
}

int64_t InvoiceEditor::payable() const {
    return KerekitRound(m_doc.mszamla.asFloat(H::FIZETENDO));
}

void InvoiceEditor::editRemark() {
    const std::optional<QString> remark = m_windows.editRemark(m_doc.mszamla.asString(H::MEGJEGYZES));
    if (remark) setHeader([&](RecordCursor& h) { h.setString(H::MEGJEGYZES, *remark); });
}

void InvoiceEditor::temporarySave() {
    saveTemporary(m_doc, m_prompt, QString::fromStdString(m_data.dataFolder()));
}

void InvoiceEditor::reload() {
    if (!reloadTemporary(m_doc, m_prompt, QString::fromStdString(m_data.dataFolder()))) return;
    TableHandle& settings = m_data.UserTable();
    settings.refresh();
    settings.first();
    setHeader([&](RecordCursor& h) {
        h.setString(H::SZAMLATIP, modeTypeCode(m_options.mode));
        h.setString(H::SZAMLASZAM, composeNumber(modeNumberKind(m_options.mode), settings, m_options.today()));
    });
    recalculate();
}

bool InvoiceEditor::save(EditorFocus& focus) {
    focus = EditorFocus::None;
    recalculate();
    if (!m_windows.saveDocument(salesMode(m_options.mode), m_source, m_sourceNumber, focus)) return false;
    m_saved = true;
    return true;
}

void InvoiceEditor::preview(const RecordCursor& settingsRecord) {
    m_doc.sortLinesForPrint();
    recalculate();
    TSzamlar layout({.settings = &settingsRecord,
                     .dataFolder = QString::fromStdString(m_data.dataFolder()),
                     .currentUser = m_options.currentUser,
                     .szlistmode = m_options.settings->szlistmode,
                     .bfont = m_options.settings->bfont});
    layout.useMemoryDocument(m_doc);
    layout.setUp(salesMode(m_options.mode));
    layout.setCopyLabel(QStringLiteral("Előnézet"));
    m_windows.preview(layout.prepare());
}

bool InvoiceEditor::close() {
    if (!m_saved && !m_prompt.askYesNo(kQuestion,
                                       QStringLiteral("Biztos benne, hogy kilép mentés nélkül a számla "
                                                      "szerkesztéséből? "),
                                       Icon::Warning))
        return false;
    m_doc.empty();
    return true;
}

}  // namespace kavina::invoicing
