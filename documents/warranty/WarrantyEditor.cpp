#include "documents/warranty/WarrantyEditor.h"

#include <algorithm>

#include "dbase/Transaction.h"
#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/FieldFilter.h"
#include "foundation/Prompt.h"
#include "foundation/RecordEdit.h"
#include "foundation/RuleError.h"
#include "foundation/Seged.h"
#include "foundation/SzamSzov.h"
#include "foundation/TextFormat.h"
#include "invoicing/document/DocumentNumbering.h"

namespace kavina::documents {

namespace {

namespace G = fields::Garancia;
namespace L = fields::Garancia2;
namespace A = fields::Anyag;
namespace H = fields::Szamla;
namespace I = fields::Szamla2;
namespace P = fields::Partner;
namespace U = fields::User;

const QString kCaption = QStringLiteral("Figyelem !");
const QDate kEarliest(2000, 1, 1);  // an earlier (or empty) date is filled in when opening

bool unset(const QDate& date) {
    return !date.isValid() || date < kEarliest;
}

// A handle of its own on a table, open for one piece of work.
struct OwnHandle {
    OwnHandle(TDataModule1& data, std::string_view table) : handle(data.dataFolder(), std::string(table)) {
        handle.open();
    }
    ~OwnHandle() { handle.close(); }
    TableHandle handle;
};

QDate statutoryEnd(const QDate& start, double grossPrice) {
    if (grossPrice > 250000) return start.addYears(3);
    if (grossPrice >= 100000) return start.addYears(2);
    return oneYearLater(start);  // from 10 000 Ft the law's one year, and the default below it
}

void copyLine(const RecordCursor& from, RecordCursor& to) {
    for (const Field& f : {L::SORSZAM, L::ANYAGKOD, L::MEGNEVEZES, L::GYARISZAM, L::MENNYISEG, L::EGYSEG, L::NETTO_AR})
        to.setString(to.fieldNumber(f.name), from.asString(from.fieldNumber(f.name)));
}

}  // namespace

QString leaveNewWarrantyQuestion() {
    return QStringLiteral("Biztos benne, hogy kilép mentés nélkül a garancialevél szerkesztéséből? ");
}

QString leaveWarrantyQuestion() {
    return QStringLiteral("Biztos benne, hogy kilép a garancialevél szerkesztéséből? ");
}

QString deleteWarrantyLineQuestion() {
    return QStringLiteral("Biztos benne, hogy  törli a kijelölt tételt? ");
}

WarrantyDocument::WarrantyDocument() {
    gari.setFields(catalogue::table(TableId::Garancia).fields);
    gari2.setFields(catalogue::table(TableId::Garancia2).fields);
}

std::string warrantyInvoiceFilter(const QDate& today) {
    using namespace filter;
    return "(" + equals(H::SZAMLATIP, QStringLiteral("B")) + " OR " + equals(H::SZAMLATIP, QStringLiteral("S")) +
           ") AND " + H::KIALLIT.text() + " > " + constant(dateText(QDate(today.year() - 1, 12, 31)));
}

bool loadWarranty(TDataModule1& data, const QString& number, WarrantyDocument& into) {
    OwnHandle headers(data, G::kTable);
    OwnHandle lines(data, L::kTable);
    if (!headers.handle.locate({{G::SORSZAM, number}})) return false;
    into.gari.emptyTable();
    into.gari2.emptyTable();
    into.gari.append();
    for (const auto& f : headers.handle.fields())
        into.gari.setString(into.gari.fieldNumber(f.name), headers.handle.asString(headers.handle.fieldNumber(f.name)));
    into.gari.post();
    for (lines.handle.first(); !lines.handle.eof(); lines.handle.next()) {
        if (lines.handle.asString(L::SORSZAM).trimmed() != number) continue;
        into.gari2.append();
        copyLine(lines.handle, into.gari2);
        into.gari2.post();
    }
    into.gari2.first();
    return true;
}

QDate suggestedWarrantyEnd(const QDate& start, TDataModule1& data, MemTable& lines) {
    QDate end = oneYearLater(start);
    if (lines.isEmpty()) return end;
    OwnHandle products(data, A::kTable);
    const CursorMark at = lines.bookmark();
    for (lines.first(); !lines.eof(); lines.next()) {
        if (!products.handle.locate({{A::ANYAGKOD, lines.asString(L::ANYAGKOD).trimmed()}})) continue;
        const int64_t days = products.handle.asInteger(A::szavatossag);
        const double gross = lines.asFloat(L::NETTO_AR) * (1 + products.handle.asFloat(A::AFAKULCS) / 100);
        end = std::max(end, days > 0 ? start.addDays(days) : statutoryEnd(start, gross));
    }
    lines.gotoBookmark(at);
    return end;
}

WarrantyEditor::WarrantyEditor(WarrantyContext context) : m_context(std::move(context)) {}

void WarrantyEditor::openNew() {
    TableHandle& settings = m_context.data.UserTable();
    settings.refresh();
    settings.first();
    m_doc.gari.emptyTable();
    m_doc.gari2.emptyTable();
    m_doc.gari.append();
    m_doc.gari.setString(G::SORSZAM,
                         invoicing::composeNumber(invoicing::NumberKind::Warranty, settings, m_context.today()));
    m_new = true;
    stampDefaults();
}

bool WarrantyEditor::openStored(const QString& number) {
    if (!loadWarranty(m_context.data, number, m_doc)) {
        m_context.prompt.warning(QStringLiteral("Figyelem!"),
                                 QStringLiteral("A(z) %1 számú garancialevelet közben törölték.").arg(number));
        return false;
    }
    OwnHandle headers(m_context.data, G::kTable);
    OwnHandle lines(m_context.data, L::kTable);
    headers.handle.locate({{G::SORSZAM, number}});
    m_openedState = storedState(headers.handle, lines.handle, number);
    m_new = false;
    stampDefaults();
    return true;
}

void WarrantyEditor::stampDefaults() {
    MemTable& h = m_doc.gari;
    const QDate today = m_context.today();
    if (h.state() == dbase::TableState::Browse) h.edit();
    h.setString(G::UGYINTEZO, m_context.currentUser);
    if (unset(h.asDate(G::VASARLAS))) h.setDate(G::VASARLAS, today);
    if (unset(h.asDate(G::GARKEZD))) h.setDate(G::GARKEZD, today);
    m_endSuggested = unset(h.asDate(G::GARLEJAR));
    if (m_endSuggested) h.setDate(G::GARLEJAR, oneYearLater(today));
    if (unset(h.asDate(G::TULJAV))) h.setDate(G::TULJAV, oneYearLater(today));
    h.post();
}

void WarrantyEditor::suggestEnd() {
    if (!m_endSuggested) return;
    MemTable& h = m_doc.gari;
    const QDate end = suggestedWarrantyEnd(h.asDate(G::GARKEZD), m_context.data, m_doc.gari2);
    h.edit();
    h.setDate(G::GARLEJAR, end);
    h.post();
}

bool WarrantyEditor::pickPartner() {
    if (!m_context.windows.pickPartner()) return false;
    const TableHandle& p = m_context.data.PartnerTable();
    MemTable& h = m_doc.gari;
    h.edit();
    h.setString(G::NEV, p.asString(P::NEV));
    h.setString(G::NEV1, p.asString(P::NEV2));
    h.setString(G::IRSZ, p.asString(P::IRSZAM));
    h.setString(G::VAROS, p.asString(P::VAROS));
    h.setString(G::CIM, p.asString(P::UTCA));
    h.post();
    return true;
}

bool WarrantyEditor::pickInvoice() {
    const std::optional<QString> number = m_context.windows.pickInvoice();
    if (!number) return false;
    fillFromInvoice(*number);
    return true;
}

void WarrantyEditor::fillFromInvoice(const QString& invoiceNumber) {
    OwnHandle headers(m_context.data, H::kTable);
    if (!headers.handle.locate({{H::SZAMLASZAM, invoiceNumber}}))
        throw RuleError(QStringLiteral("A(z) %1 számú számla nem található.").arg(invoiceNumber));
    MemTable& h = m_doc.gari;
    h.edit();
    h.setString(G::SZAMLASZAM, invoiceNumber);
    h.setString(G::NEV, headers.handle.asString(H::NEV));
    h.setString(G::NEV1, headers.handle.asString(H::NEV1));
    h.setString(G::IRSZ, headers.handle.asString(H::IRSZAM));
    h.setString(G::VAROS, headers.handle.asString(H::VAROS));
    h.setString(G::CIM, headers.handle.asString(H::CIM));
    h.post();
    OwnHandle lines(m_context.data, I::kTable);
    for (lines.handle.first(); !lines.handle.eof(); lines.handle.next()) {
        const RecordCursor& line = lines.handle;
        if (line.asString(I::SZAMLASZAM).trimmed() != invoiceNumber || line.asLogical(I::TERMEK)) continue;
        // One line per whole piece, halves to even, as the stored quantity converts.
        const int64_t pieces = floatToInteger(line.asFloat(I::MENNYISEG));
        for (int64_t i = 0; i < pieces; ++i) {
            m_doc.gari2.append();
            m_doc.gari2.setString(L::SORSZAM, h.asString(G::SORSZAM));
            m_doc.gari2.setFloat(L::ANYAGKOD, line.asFloat(I::ANYAGSZAM));
            m_doc.gari2.setString(L::MEGNEVEZES, line.asString(I::MEGNEVEZES));
            m_doc.gari2.setFloat(L::MENNYISEG, 1);
            m_doc.gari2.setString(L::EGYSEG, line.asString(I::EGYSEG));
            m_doc.gari2.setFloat(L::NETTO_AR, double(floatToInteger(line.asFloat(I::EGYSEGAR))));
            m_doc.gari2.post();
        }
    }
    m_doc.gari2.first();
    suggestEnd();
}

bool WarrantyEditor::pickLines() {
    if (!m_context.windows.pickLines(m_doc)) return false;
    suggestEnd();
    return true;
}

void WarrantyEditor::editSerial() {
    MemTable& lines = m_doc.gari2;
    if (lines.isEmpty()) return;
    const std::optional<QString> serial = m_context.prompt.askText(
        QStringLiteral("Szerkesztés"), QStringLiteral("Gyáriszám:"), lines.asString(L::GYARISZAM).trimmed());
    if (!serial || serial->isEmpty()) return;
    lines.edit();
    lines.setString(L::GYARISZAM, *serial);
    lines.post();
}

void WarrantyEditor::deleteLine() {
    MemTable& lines = m_doc.gari2;
    if (lines.isEmpty() || lines.eof()) return;
    if (m_context.prompt.askYesNo(kCaption, deleteWarrantyLineQuestion())) lines.deleteRecord();
}

void WarrantyEditor::preview() {
    m_context.windows.preview(m_doc);
}

bool WarrantyEditor::save() {
    TableHandle& settings = m_context.data.UserTable();
    settings.refresh();
    settings.first();
    const std::optional<int> copies = m_context.prompt.askCopies(int(settings.asInteger(U::PRNGARANC)));
    if (!copies) return false;
    try {
        if (m_new)
            storeNew();
        else if (!storeModification())
            return false;
    } catch (const RuleError& refused) {
        m_context.prompt.warning(refused.caption(), refused.message());
        return false;
    }
    m_saved = true;
    const QString number = m_doc.gari.asString(G::SORSZAM).trimmed();
    try {
        if (*copies > 0) m_context.windows.print(number, *copies);
    } catch (const std::exception&) {
        m_context.prompt.warning(QStringLiteral("Figyelem!"),
                                 QStringLiteral("A(z) %1 számú garancialevél el van mentve, de a nyomtatása nem "
                                                "sikerült. Kérem, nyomtassa ki újra a garancialevelek listájából.")
                                     .arg(number));
    }
    return true;
}

void WarrantyEditor::writeHeader(TableHandle& headers) const {
    const MemTable& h = m_doc.gari;
    for (const Field& f : {G::SZAMLASZAM, G::IRSZ, G::VAROS, G::CIM, G::NEV, G::NEV1, G::PARTNERKOD, G::UGYINTEZO})
        headers.setString(f, h.asString(f));
    for (const Field& f : {G::VASARLAS, G::GARKEZD, G::GARLEJAR, G::TULJAV}) headers.setDate(f, h.asDate(f));
}

void WarrantyEditor::appendLines(TableHandle& lines, const QString& number) const {
    MemTable& memory = const_cast<MemTable&>(m_doc.gari2);
    const CursorMark at = memory.bookmark();
    for (memory.first(); !memory.eof(); memory.next()) {
        RecordEdit line = RecordEdit::append(lines);
        copyLine(memory, lines);
        lines.setString(L::SORSZAM, number);
        line.post();
    }
    memory.gotoBookmark(at);
}

void WarrantyEditor::storeNew() {
    dbase::Transaction transaction(m_context.data.dataFolder());
    TableHandle& settings = m_context.data.UserTable();
    settings.refresh();
    settings.first();
    const QString number = invoicing::takeNumber(invoicing::NumberKind::Warranty, settings, m_context.today());
    OwnHandle headers(m_context.data, G::kTable);
    OwnHandle lines(m_context.data, L::kTable);
    RecordEdit header = RecordEdit::append(headers.handle);
    headers.handle.setString(G::SORSZAM, number);
    writeHeader(headers.handle);
    header.post();
    appendLines(lines.handle, number);
    transaction.commit();
    m_doc.gari.edit();
    m_doc.gari.setString(G::SORSZAM, number);
    m_doc.gari.post();
}

QStringList WarrantyEditor::storedState(TableHandle& headers, TableHandle& lines, const QString& number) const {
    QStringList state;
    for (const auto& f : headers.fields()) state << headers.asString(headers.fieldNumber(f.name));
    for (lines.first(); !lines.eof(); lines.next())
        if (lines.asString(L::SORSZAM).trimmed() == number)
            for (const auto& f : lines.fields()) state << lines.asString(lines.fieldNumber(f.name));
    return state;
}

bool WarrantyEditor::storeModification() {
    const QString number = m_doc.gari.asString(G::SORSZAM).trimmed();
    dbase::Transaction transaction(m_context.data.dataFolder());
    OwnHandle headers(m_context.data, G::kTable);
    OwnHandle lines(m_context.data, L::kTable);
    if (!headers.handle.locate({{G::SORSZAM, number}}))
        throw RuleError(QStringLiteral("A(z) %1 számú garancialevelet közben törölték.").arg(number));
    RecordEdit header = RecordEdit::edit(headers.handle);  // locked: no other save gets in between
    if (storedState(headers.handle, lines.handle, number) != m_openedState &&
        !m_context.prompt.askYesNo(QStringLiteral("Figyelem!"),
                                   QStringLiteral("A(z) %1 számú garancialevelet közben egy másik munkaállomás "
                                                  "módosította. Felülírja a változásait?")
                                       .arg(number),
                                   Icon::Warning))
        return false;
    std::vector<CursorMark> old;
    for (lines.handle.first(); !lines.handle.eof(); lines.handle.next())
        if (lines.handle.asString(L::SORSZAM).trimmed() == number) old.push_back(lines.handle.bookmark());
    appendLines(lines.handle, number);
    for (const CursorMark& mark : old)
        if (lines.handle.gotoBookmark(mark)) lines.handle.deleteRecord();
    writeHeader(headers.handle);
    header.post();
    transaction.commit();
    return true;
}

bool WarrantyEditor::leave() {
    if (m_saved) return true;
    return m_context.prompt.askYesNo(kCaption, m_new ? leaveNewWarrantyQuestion() : leaveWarrantyQuestion(),
                                     Icon::Warning);
}

}  // namespace kavina::documents
