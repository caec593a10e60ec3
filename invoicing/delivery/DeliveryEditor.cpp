#include "invoicing/delivery/DeliveryEditor.h"

#include <cmath>

#include "foundation/CatalogueFields.h"
#include "foundation/RecordEdit.h"
#include "foundation/SzamSzov.h"
#include "foundation/TableReader.h"
#include "invoicing/document/DocumentNumbering.h"
#include "invoicing/editor/DocumentTotals.h"
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
const QString kCash = QStringLiteral("Készpénz");
const QDate kFirstDay(2000, 1, 1);

bool unset(const QDate& date) {
    return !date.isValid() || date < kFirstDay;
}

double r4(long double x) {
    return double(Kerekit(-1, x));
}

void copyText(const RecordCursor& from, RecordCursor& to, const Field& field) {
    to.setString(field, from.asString(field));
}

// Every line field a re-issued delivery note keeps: the gross prices, the article number, the
// remark and the purchase price included, so that the line dialog, the stock log and the
// profit of the new note are those of the cancelled one.
const Field kReissuedLineFields[] = {
    L::ANYAGSZAM, L::MENNYISEG,  L::EGYSEG,     L::AR1,     L::AR2,  L::AR3,    L::ARE,      L::EGYSEGAR,  L::begysegar,
    L::ITJSZAM,   L::MEGNEVEZES, L::MEGJEGYZES, L::NETTOAR, L::AFA,  L::AFAFT,  L::OSSZESEN, L::ARCSOPORT, L::TERMEK,
    L::cikkszam,  L::nbesz,      L::bar1,       L::bar2,    L::bar3, L::bfixar, L::bruttoar};

// Everything a stored offer holds is carried into its next version: a modification saved
// unchanged stores what was there.
const Field kOfferHeaderFields[] = {
    H::AJANLSZAM, H::SZAMLASZAM, H::GARANCIASZ, H::SZAMLATIP, H::ALLAPOT, H::PARTNERKOD, H::NEV,
    H::NEV1,      H::IRSZAM,     H::VAROS,      H::CIM,       H::FIZMOD,  H::KIALLIT,    H::TELJESIT,
    H::FIZHAT,    H::TARGY,      H::AFAALAP,    H::AFA,       H::AFAFT,   H::FIZETENDO,  H::FIZETVE,
    H::FIZDATUM,  H::ARCSOPORT,  H::KEDVEZMENY, H::UGYINTEZO, H::PRINT,   H::MEGJEGYZES};

// The lines of a stored document, in their stored order.
template <typename Each>
void forEachStoredLine(TDataModule1& data, const QString& number, Each each) {
    const auto stored = readerOf(data.Szamla2Table(), ReaderView::Unfiltered);
    stored->setOrder(L::SZAMLASZAM);
    if (!stored->findKey(number.toStdString())) return;
    for (; !stored->eof() && stored->asString(L::SZAMLASZAM).trimmed() == number; stored->next()) each(*stored);
}

}  // namespace

DeliveryEditor::DeliveryEditor(TDataModule1& data, MemoryDocument& document, Prompt& prompt, DeliveryWindows& windows,
                               const DeliveryEditorOptions& options)
    : m_data(data), m_doc(document), m_prompt(prompt), m_windows(windows), m_options(options) {}

void DeliveryEditor::open() {
    m_saved = false;
    m_data.PartnerTable().refresh();
    TableHandle& settings = m_data.UserTable();
    settings.refresh();
    settings.first();
    m_doc.emptyAll();
    {
        RecordEdit header = RecordEdit::append(m_doc.mszamla);
        header.post();
    }
    m_replaced.reset();
    if (m_options.kind == DeliveryKind::Offer && m_options.reissue) {
        copyOffer();
        recalculate();
        return;
    }
    if (m_options.reissue) copyReissued();
    // An empty receipt counter would number the first receipt 00000.
    ensureCounterSet(settings, fields::User::DEFUSERN);
    const QDate today = m_options.today();
    setHeader([&](RecordCursor& h) {
        h.setString(H::UGYINTEZO, m_options.currentUser);
        const DeliveryKind kind = m_options.kind;
        if (kind != DeliveryKind::SupplierOrder && kind != DeliveryKind::CashPayout)
            h.setString(H::SZAMLATIP, deliveryTypeCode(kind));
        h.setLogical(H::FIZETVE, false);
        for (const Field& date : {H::KIALLIT, H::TELJESIT, H::FIZHAT}) h.setDate(date, today);
        h.setString(H::FIZMOD, kCash);
        h.setInteger(H::ARCSOPORT, 4);
        if (kind == DeliveryKind::Offer) h.setInteger(H::AFA, 25);
    });
    showNumber();
    recalculate();
}

// The number shown is provisional (the save takes it again); a payout shows none.
void DeliveryEditor::showNumber() {
    if (m_options.kind == DeliveryKind::CashPayout) return;
    TableHandle& settings = m_data.UserTable();
    settings.refresh();
    settings.first();
    const QString number = composeNumber(deliveryNumberKind(m_options.kind), settings, m_options.today());
    setHeader([&](RecordCursor& h) { h.setString(H::SZAMLASZAM, number); });
}

void DeliveryEditor::copyReissued() {
    const TableHandle& stored = m_data.SzamlaTable();
    setHeader([&](RecordCursor& h) {
        for (const Field& f :
             {H::PARTNERKOD, H::NEV, H::NEV1, H::IRSZAM, H::VAROS, H::CIM, H::FIZMOD, H::TARGY, H::AFA, H::ARCSOPORT})
            copyText(stored, h, f);
        h.setInteger(H::KEDVEZMENY, KerekitRound(stored.asFloat(H::KEDVEZMENY)));
        h.setFloat(H::szlnetto, double(KerekitRound(stored.asFloat(H::szlnetto))));
        h.setFloat(H::szlbrutto, double(KerekitRound(stored.asFloat(H::szlbrutto))));
    });
    forEachStoredLine(m_data, stored.asString(H::SZAMLASZAM).trimmed(), [&](const RecordCursor& line) {
        RecordEdit added = RecordEdit::append(m_doc.mszamla2);
        for (const Field& f : kReissuedLineFields) copyText(line, m_doc.mszamla2, f);
        added.post();
    });
    m_doc.mszamla2.first();
}

// The offer the documents handle stands on, to be replaced under its number by the save.
void DeliveryEditor::copyOffer() {
    const TableHandle& stored = m_data.SzamlaTable();
    setHeader([&](RecordCursor& h) {
        for (const Field& f : kOfferHeaderFields) copyText(stored, h, f);
    });
    const QString number = stored.asString(H::SZAMLASZAM).trimmed();
    m_replaced = ReplacedOffer{number, stored.asString(H::GARANCIASZ), stored.asDate(H::KIALLIT)};
    forEachStoredLine(m_data, number, [&](const RecordCursor& line) {
        RecordEdit added = RecordEdit::append(m_doc.mszamla2);
        for (const Field& f : kReissuedLineFields) copyText(line, m_doc.mszamla2, f);
        added.post();
    });
    m_doc.mszamla2.first();
}

void DeliveryEditor::setHeader(const std::function<void(RecordCursor&)>& change) {
    RecordEdit edit = RecordEdit::edit(m_doc.mszamla);
    change(m_doc.mszamla);
    edit.post();
}

// ---- the partner ----

bool DeliveryEditor::pickPartner() {
    if (!m_windows.pickPartner()) return false;
    if (m_data.PartnerTable().asString(P::NEV).trimmed().isEmpty()) return false;
    takePartner(m_data.PartnerTable());
    return true;
}

bool DeliveryEditor::partnerCodeLeft(const QString& code) {
    if (code.trimmed().isEmpty()) return true;
    if (!m_windows.findPartnerByCode(code.trimmed())) return false;
    takePartner(m_data.PartnerTable());
    return true;
}

void DeliveryEditor::takePartner(const RecordCursor& partner) {
    setHeader([&](RecordCursor& h) {
        for (const auto& [from, to] : {std::pair{P::NEV, H::NEV},
                                       {P::NEV2, H::NEV1},
                                       {P::IRSZAM, H::IRSZAM},
                                       {P::VAROS, H::VAROS},
                                       {P::UTCA, H::CIM},
                                       {P::PARTNERKOD, H::PARTNERKOD},
                                       {P::FIZMOD, H::FIZMOD},
                                       {P::ARCSOPORT, H::ARCSOPORT}})
            h.setString(to, partner.asString(from));
    });
    issueDateLeft(m_doc.mszamla.asDate(H::KIALLIT));
    if (m_doc.mszamla.asInteger(H::KEDVEZMENY) == 0) setDiscount(int(KerekitRound(partner.asFloat(P::OSSZESBIZM))));
}

double DeliveryEditor::partnerTerm() const {
    const QString code = m_doc.mszamla.asString(H::PARTNERKOD).trimmed();
    if (code.isEmpty()) return 0;
    const auto partners = readerOf(m_data.PartnerTable(), ReaderView::Unfiltered);
    partners->setOrder(P::PARTNERKOD);
    return partners->findKey(code.toStdString()) ? partners->asFloat(P::OSSZESBIZF) : 0;
}

// ---- header boxes ----

// The due date of an offer: the days of the header's payment method, none when it is unknown.
double DeliveryEditor::paymentTerm() const {
    const QString method = m_doc.mszamla.asString(H::FIZMOD).trimmed();
    const auto methods = readerOf(m_data.FizmodTable(), ReaderView::Unfiltered);
    for (methods->first(); !methods->eof(); methods->next())
        if (methods->asString(fields::Fizmod::FIZMOD).trimmed() == method)
            return methods->asFloat(fields::Fizmod::HATARIDO);
    return 0;
}

bool DeliveryEditor::issueDateLeft(const QDate& issued) {
    setHeader([&](RecordCursor& h) { h.setDate(H::KIALLIT, issued); });
    if (m_options.kind == DeliveryKind::Offer) {
        // An offer's date is not checked; an unset one gives no due date.
        setHeader([&](RecordCursor& h) {
            if (unset(h.asDate(H::TELJESIT))) h.setDate(H::TELJESIT, issued);
            if (issued.isValid()) h.setDate(H::FIZHAT, issued.addDays(qint64(KerekitRound(paymentTerm()))));
        });
        return true;
    }
    if (unset(issued)) {
        m_prompt.warning(kWarning, kNoIssueDate);
        return false;
    }
    const QDate due = issued.addDays(qint64(KerekitRound(partnerTerm())));
    setHeader([&](RecordCursor& h) {
        if (unset(h.asDate(H::TELJESIT))) h.setDate(H::TELJESIT, issued);
        h.setDate(H::FIZHAT, due);
    });
    return true;
}

void DeliveryEditor::setDiscount(int percent) {
    setHeader([&](RecordCursor& h) { h.setInteger(H::KEDVEZMENY, percent); });
    recalculate();
}

void DeliveryEditor::setPriceGroup(int group) {
    setHeader([&](RecordCursor& h) { h.setInteger(H::ARCSOPORT, group); });
}

void DeliveryEditor::setPartnerNumber(const QString& number) {
    setHeader([&](RecordCursor& h) { h.setString(H::AJANLSZAM, number); });
}

void DeliveryEditor::setSupplierNet(double amount) {
    setHeader([&](RecordCursor& h) { h.setFloat(H::szlnetto, amount); });
    recalculate();
}

void DeliveryEditor::setSupplierGross(double amount) {
    setHeader([&](RecordCursor& h) { h.setFloat(H::szlbrutto, amount); });
    recalculate();
}

// ---- lines ----

void DeliveryEditor::addLine() {
    addPickedLines(
        m_doc.mszamla, m_doc.mszamla2, [this](int group) { return m_windows.pickLine(group); },
        m_options.settings->tsorrend == 2, [this] { recalculate(); });
}

void DeliveryEditor::changeLine() {
    if (m_doc.mszamla2.isEmpty()) return;
    m_windows.editLine();
    recalculate();
}

void DeliveryEditor::deleteLine() {
    deleteCurrentLine(m_doc.mszamla2, m_prompt);
    recalculate();
}

void DeliveryEditor::editLineRemark() {
    if (m_doc.mszamla2.isEmpty()) return;
    const std::optional<QString> remark = m_windows.editRemark(m_doc.mszamla2.asString(L::MEGJEGYZES));
    if (!remark) return;
    RecordEdit edit = RecordEdit::edit(m_doc.mszamla2);
    m_doc.mszamla2.setString(L::MEGJEGYZES, *remark);
    edit.post();
}

void DeliveryEditor::editRemark() {
    const std::optional<QString> remark = m_windows.editRemark(m_doc.mszamla.asString(H::MEGJEGYZES));
    if (remark) setHeader([&](RecordCursor& h) { h.setString(H::MEGJEGYZES, *remark); });
}

// ---- supplier order ----

bool DeliveryEditor::loadSupplierOrder() {
    if (!m_windows.chooseSupplierOrder()) return false;
    const TableHandle& order = m_data.SzamlaTable();
    const QString number = order.asString(H::SZAMLASZAM).trimmed();
    const QString partnerCode = order.asString(H::PARTNERKOD).trimmed();
    // The order's partner becomes the receipt's, as a pick would make it: the save asks for a
    // partner, and the clerk sees it in the name box already.
    const auto partners = readerOf(m_data.PartnerTable(), ReaderView::Unfiltered);
    partners->setOrder(P::PARTNERKOD);
    if (!partnerCode.isEmpty() && partners->findKey(partnerCode.toStdString())) takePartner(*partners);
    const auto products = readerOf(m_data.AnyagTable(), ReaderView::Unfiltered);
    products->setOrder(A::ANYAGKOD);
    m_doc.mszamla2.emptyTable();
    forEachStoredLine(m_data, number, [&](const RecordCursor& line) {
        RecordEdit added = RecordEdit::append(m_doc.mszamla2);
        for (const Field& f : {L::ANYAGSZAM, L::EGYSEG, L::ITJSZAM, L::MEGNEVEZES, L::AFA, L::ARCSOPORT, L::TERMEK,
                               L::MEGJEGYZES, L::cikkszam})
            copyText(line, m_doc.mszamla2, f);
        // Whole quantities, halves to the even number, as suppliers are ordered from.
        const double quantity = std::nearbyint(line.asFloat(L::MENNYISEG));
        m_doc.mszamla2.setFloat(L::MENNYISEG, quantity);
        const QString code = QString::number(KerekitRound(line.asFloat(L::ANYAGSZAM)));
        if (products->findKey(code.toStdString())) {
            const double net = products->asFloat(A::BESZERZAR);
            const double gross = r4(products->asFloat(A::bbesz));
            for (const Field& f : {L::AR1, L::AR2, L::AR3, L::ARE, L::EGYSEGAR}) m_doc.mszamla2.setFloat(f, net);
            const double netValue = r4((long double)net * quantity);
            const double grossValue = r4((long double)gross * quantity);
            m_doc.mszamla2.setFloat(L::NETTOAR, netValue);
            m_doc.mszamla2.setFloat(L::begysegar, gross);
            m_doc.mszamla2.setFloat(L::OSSZESEN, grossValue);
            m_doc.mszamla2.setFloat(L::AFAFT, r4((long double)grossValue - netValue));
        }
        added.post();
    });
    m_doc.mszamla2.first();
    recalculate();
    return true;
}

// ---- temporary save, totals, preview, save, closing ----

void DeliveryEditor::temporarySave() {
    saveTemporary(m_doc, m_prompt, QString::fromStdString(m_data.dataFolder()));
}

// The kind decides what the save stores: a reloaded file of another kind takes this editor's
// type code and number.
void DeliveryEditor::reload() {
    if (!reloadTemporary(m_doc, m_prompt, QString::fromStdString(m_data.dataFolder()))) return;
    setHeader([&](RecordCursor& h) {
        h.setString(H::SZAMLATIP, deliveryTypeCode(m_options.kind));
        if (m_options.kind == DeliveryKind::CashPayout) h.setString(H::SZAMLASZAM, QString());
    });
    showNumber();
    recalculate();
}

void DeliveryEditor::sortLinesBy(const Field& column) {
    m_sortColumn = column;
    m_doc.mszamla2.sort({{column}});
    m_doc.mszamla2.first();
}

void DeliveryEditor::recalculate() {
    recalculateTotals(m_doc.mszamla, m_doc.mszamla2, false);
}

void DeliveryEditor::preview(const RecordCursor& settingsRecord) {
    m_doc.sortLinesForPrint();
    recalculate();
    setHeader([&](RecordCursor& h) { h.setString(H::SZAMLATIP, deliveryTypeCode(m_options.kind)); });
    TSzamlar layout({.settings = &settingsRecord,
                     .dataFolder = QString::fromStdString(m_data.dataFolder()),
                     .currentUser = m_options.currentUser,
                     .szlistmode = m_options.settings->szlistmode,
                     .bfont = m_options.settings->bfont});
    layout.useMemoryDocument(m_doc);
    setUpDeliveryLayout(layout, m_options.kind);
    layout.setCopyMarksHidden(false);
    layout.setCopyLabel(QStringLiteral("Előnézet"));
    m_windows.preview(layout.prepare());
}

bool DeliveryEditor::save(EditorFocus& focus) {
    focus = EditorFocus::None;
    recalculate();
    if (!m_windows.saveDocument(m_options.kind, focus, m_replaced)) return false;
    m_saved = true;
    return true;
}

bool DeliveryEditor::close() {
    QString question = kLeaveUnsaved;
    if (m_options.kind == DeliveryKind::Offer) question = m_replaced ? kLeaveModifiedOffer : kLeaveNewOffer;
    if (!m_saved && !m_prompt.askYesNo(kQuestion, question, Icon::Warning)) return false;
    m_doc.empty();
    return true;
}

}  // namespace kavina::invoicing
