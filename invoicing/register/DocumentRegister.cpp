#include "invoicing/register/DocumentRegister.h"

#include "dbase/Transaction.h"
#include "foundation/Catalogue.h"
#include "foundation/CatalogueFields.h"
#include "foundation/FieldFilter.h"
#include "foundation/MemTable.h"
#include "foundation/OpenedRecord.h"
#include "foundation/RecordEdit.h"
#include "foundation/TextFormat.h"
#include "invoicing/document/DocumentKinds.h"
#include "invoicing/print/TSzamlar.h"
#include "invoicing/register/RegisterList.h"

namespace kavina::invoicing {

namespace {

namespace H = fields::Szamla;

const QString kWarning = QStringLiteral("Figyelem!");

// The caller's filter goes; the document the clerk ended on stays current.
void removeFilterKeeping(TableHandle& documents) {
    const CursorMark mark = documents.bookmark();
    const bool onRecord = !documents.isEmpty();
    filter::removeRestriction(documents);
    if (!onRecord || !documents.gotoBookmark(mark)) documents.first();
}

}  // namespace

void copyHeaderWithSerial(const RecordCursor& from, MemTable& to, int64_t serial) {
    to.copyStructure(from);
    to.append();
    for (int i = 0; i < int(from.fields().size()); ++i)
        if (!from.isNull(i)) to.setString(i, from.asString(i));
    to.setInteger(H::PRINT, serial);
    to.post();
}

namespace {

// The smallest date whose text ("2008.03.15") begins with the prefix; none when no date does.
std::optional<QDate> firstDateBeginning(const QString& prefix) {
    const QString shape = QStringLiteral("0000.00.00");
    if (prefix.size() > shape.size()) return std::nullopt;
    const QString filled = prefix + shape.mid(prefix.size());
    bool ok[3] = {false, false, false};
    const int year = filled.left(4).toInt(&ok[0]);
    const int month = std::max(1, filled.mid(5, 2).toInt(&ok[1]));
    const int day = std::max(1, filled.mid(8, 2).toInt(&ok[2]));
    if (!ok[0] || !ok[1] || !ok[2] || filled.at(4) != u'.' || filled.at(7) != u'.') return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid() || !dateText(date).startsWith(prefix)) return std::nullopt;
    return date;
}

OpenedRecordTexts agentRecordTexts() {
    OpenedRecordTexts texts;
    texts.gone = QStringLiteral("A bizonylatot közben egy másik munkaállomás törölte.");
    texts.changed = QStringLiteral("A bizonylatot közben egy másik munkaállomás módosította:");
    texts.labels = {{H::PNEV, QStringLiteral("Üzletkötő neve")},
                    {H::POSSZEG, QStringLiteral("Járadék")},
                    {H::TARGY, QStringLiteral("Megjegyzés")}};
    // Reprints and payments elsewhere do not touch what the dialog edits.
    texts.ignored = {H::PRINT, H::FIZETVE, H::FIZDATUM};
    return texts;
}

}  // namespace

std::unique_ptr<TSzamlar> storedDocumentLayout(TDataModule1& data, const RegisterOptions& options, MemTable& header) {
    TableHandle& settings = data.UserTable();
    settings.refresh();
    if (!settings.isEmpty() && settings.eof()) settings.first();
    auto layout =
        std::make_unique<TSzamlar>(TSzamlarEnvironment{.settings = &settings,
                                                       .dataFolder = QString::fromStdString(data.dataFolder()),
                                                       .currentUser = options.currentUser,
                                                       .szlistmode = options.szlistmode,
                                                       .bfont = options.bfont});
    TableHandle& lines = data.Szamla2Table();
    lines.refresh();
    layout->useStoredDocument(header, lines);
    return layout;
}

RegisterLook registerLook(const RegisterRequest& request) {
    RegisterLook look;
    look.choose = request.selection;
    switch (request.kind) {
        case ListKind::Proformas:
            look.payment = false;
            look.spoil = false;
            break;
        case ListKind::CashSales:
            look.payment = false;
            look.unpaidLegend = false;
            look.buyerColumns = false;
            break;
        case ListKind::CashPayouts:
            look.payment = look.spoil = look.storno = look.preview = look.agent = look.copy = false;
            look.legend = look.unpaidLegend = look.lines = false;
            look.payoutColumns = true;
            look.sourceNumber = true;
            break;
        case ListKind::GoodsReceipts:
        case ListKind::Returns: look.sourceNumber = true; break;
        default: break;
    }
    return look;
}

bool openRegister(TDataModule1& data, DocumentWindows& windows, const RegisterRequest& request,
                  const std::string& filter) {
    TableHandle& documents = data.SzamlaTable();
    documents.refresh();
    filter::restrictExactly(documents, filter);
    documents.first();
    bool chosen = false;
    try {
        chosen = windows.showRegister(request);
    } catch (...) {
        removeFilterKeeping(documents);
        throw;
    }
    removeFilterKeeping(documents);
    return chosen;
}

bool openRegister(TDataModule1& data, DocumentWindows& windows, const RegisterRequest& request, const QDate& today) {
    return openRegister(data, windows, request, listFilter(request.kind, false, today, request.partner));
}

DocumentRegister::DocumentRegister(TDataModule1& data, Prompt& prompt, DocumentWindows& windows,
                                   RegisterRequest request, RegisterOptions options)
    : m_data(data),
      m_prompt(prompt),
      m_windows(windows),
      m_request(std::move(request)),
      m_options(std::move(options)),
      m_sortField(H::SZAMLASZAM) {}

QString DocumentRegister::caption() const {
    return m_request.caption.isEmpty() ? listCaption(m_request.kind, false) : m_request.caption;
}

void DocumentRegister::open() {
    m_archive = false;
    m_sortField = H::SZAMLASZAM;
    TableHandle& docs = documents();
    const CursorMark mark = docs.bookmark();
    docs.refresh();
    docs.setOrder(H::SZAMLASZAM);
    if (docs.isEmpty() || !docs.gotoBookmark(mark)) docs.first();
    m_data.Szamla2Table().refresh();
    m_data.Szamla2Table().first();
}

void DocumentRegister::close() {
    if (m_sortField.name == H::SZAMLASZAM.name) return;
    sortBy(H::SZAMLASZAM);
}

void DocumentRegister::setArchive(bool down) {
    m_archive = down;
    applyFilter();
}

void DocumentRegister::applyFilter() {
    TableHandle& docs = documents();
    filter::restrictExactly(docs, listFilter(m_request.kind, m_archive, m_options.today(), m_request.partner));
    docs.first();
}

void DocumentRegister::search(const QString& text) {
    if (text.isEmpty()) return;
    TableHandle& docs = documents();
    if (m_sortField.name != H::FIZHAT.name) {
        // A text longer than the field begins no value of it.
        const dbase::FieldDef* def = catalogue::table(TableId::Szamla).field(m_sortField.name);
        if (def && def->width > 0 && text.size() > def->width) return;
        docs.locate({{m_sortField, text}}, {.caseInsensitive = true, .partialKey = true});
        return;
    }
    // A due date is typed a few characters at a time: the first date that begins with them is
    // the nearest key at or after the smallest such date.
    const std::optional<QDate> from = firstDateBeginning(text);
    if (!from) return;
    const CursorMark at = docs.bookmark();
    if (docs.findNearest(dateText(*from).toStdString()) && docs.asString(H::FIZHAT).startsWith(text)) return;
    docs.gotoBookmark(at);
}

bool DocumentRegister::sortBy(const Field& field) {
    if (field.table != H::kTable) return false;
    bool known = false;
    for (const Field& f : {H::SZAMLASZAM, H::NEV, H::TELJESCIM, H::FIZHAT}) known = known || f.name == field.name;
    if (!known) return false;
    TableHandle& docs = documents();
    const CursorMark mark = docs.bookmark();
    const bool onRecord = !docs.isEmpty();
    docs.setOrder(field);
    if (onRecord) docs.gotoBookmark(mark);
    m_sortField = field;
    return true;
}

bool DocumentRegister::listEmpty() {
    return documents().isEmpty();
}

DocumentTint DocumentRegister::tintOf(const RecordCursor& row) const {
    return m_options.colourRows ? documentTint(row) : DocumentTint::None;
}

bool DocumentRegister::choose() {
    if (documents().isEmpty()) {
        m_prompt.warning(kWarning, QStringLiteral("Nincs kiválasztott bizonylat!"));
        return false;
    }
    return true;
}

bool DocumentRegister::doubleClick() {
    if (!m_request.selection && !m_request.chooseOnDoubleClick) return false;
    return choose();
}

bool DocumentRegister::editAgent() {
    TableHandle& docs = documents();
    if (docs.isEmpty()) return false;
    OpenedRecord opened(docs, H::SZAMLASZAM, agentRecordTexts());
    const AgentData shown{docs.asString(H::PNEV), docs.asInteger(H::POSSZEG), docs.asString(H::TARGY)};
    const std::optional<AgentData> accepted = m_windows.editAgent(shown);
    if (!accepted) return false;
    return opened.save(m_prompt, [&] {
        docs.setString(H::PNEV, accepted->name);
        docs.setInteger(H::POSSZEG, accepted->fee);
        docs.setString(H::TARGY, accepted->remark);
    });
}

void DocumentRegister::raiseSerial(int by) {
    TableHandle& docs = documents();
    dbase::Transaction transaction(m_data.dataFolder());
    RecordEdit change = RecordEdit::edit(docs);
    docs.setInteger(H::PRINT, docs.asInteger(H::PRINT) + by);
    change.post();
    transaction.commit();
}

void DocumentRegister::copy() {
    TableHandle& docs = documents();
    if (docs.isEmpty()) return;
    docs.refresh();
    const QChar type = documentType(docs);
    const std::optional<QString> question = copyQuestion(type);
    const bool prints = question || type == type::CashSale;
    if (!prints || (question && !m_prompt.askYesNo(kWarning, *question))) {
        raiseSerial(1);
        return;
    }
    const int raise = copyRaisesSerialTwice(type) ? 2 : 1;
    const report::PreparedReport pages = prepareStored(StoredPrintUse::Copy, docs.asInteger(H::PRINT) + raise);
    const bool printed = m_windows.print(pages, docs.asString(H::SZAMLASZAM).trimmed());
    raiseSerial(printed ? raise : 1);
    m_windows.printingDone();
}

void DocumentRegister::preview() {
    TableHandle& docs = documents();
    if (docs.isEmpty()) return;
    docs.refresh();
    TSzamlar probe({});
    if (!setUpStoredPrint(probe, documentType(docs), docs.asString(H::ALLAPOT), StoredPrintUse::Preview,
                          m_options.overlays))
        return;
    const report::PreparedReport pages = prepareStored(StoredPrintUse::Preview, docs.asInteger(H::PRINT));
    m_windows.preview(pages, docs.asString(H::SZAMLASZAM).trimmed() + QStringLiteral(".pdf"));
}

report::PreparedReport DocumentRegister::prepareStored(StoredPrintUse use, int64_t serial) {
    TableHandle& docs = documents();
    MemTable header("Szamla");
    copyHeaderWithSerial(docs, header, serial);
    const std::unique_ptr<TSzamlar> layout = storedDocumentLayout(m_data, m_options, header);
    setUpStoredPrint(*layout, documentType(docs), docs.asString(H::ALLAPOT), use, m_options.overlays);
    return layout->prepare();
}

report::PreparedReport DocumentRegister::prepareList() {
    const QDateTime printed = m_options.now ? m_options.now() : QDateTime(m_options.today(), QTime(0, 0));
    const auto layout = registerListLayout(documents(), listCaption(m_request.kind, m_archive), printed);
    return layout->prepare();
}

bool DocumentRegister::cancelCurrent(bool spoil) {
    if (documents().isEmpty()) return false;
    return m_windows.cancelCurrent(spoil);
}

bool DocumentRegister::payCurrent() {
    if (documents().isEmpty()) return false;
    return m_windows.payCurrent();
}

void DocumentRegister::printList() {
    m_windows.preview(prepareList(), QStringLiteral("lista.pdf"));
}

}  // namespace kavina::invoicing
