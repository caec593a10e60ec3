#include "documents/worksheets/WorksheetEditor.h"

#include "dbase/Transaction.h"
#include "foundation/CatalogueFields.h"
#include "foundation/CommandBoundary.h"
#include "foundation/OpenedRecord.h"
#include "foundation/Prompt.h"
#include "foundation/RecordEdit.h"
#include "invoicing/document/DocumentNumbering.h"

namespace kavina::documents {

namespace {

namespace M = fields::Munkalap;
namespace P = fields::Partner;
namespace U = fields::User;

const QString kCaption = QStringLiteral("Figyelem !");

}  // namespace

QString leaveNewWorksheetQuestion() {
    return QStringLiteral("Biztos benne, hogy kilép mentés nélkül a munkalap szerkesztéséből? ");
}

QString leaveWorksheetQuestion() {
    return QStringLiteral("Biztos benne, hogy kilép a munkalap szerkesztéséből? ");
}

WorksheetValues readWorksheet(const RecordCursor& w) {
    WorksheetValues v;
    v.number = w.asString(M::SORSZAM).trimmed();
    v.printDate = w.asDate(M::DATUM);
    v.name = w.asString(M::NEV);
    v.name2 = w.asString(M::NEV1);
    v.postcode = w.asString(M::IRSZAM);
    v.town = w.asString(M::VAROS);
    v.address = w.asString(M::CIM);
    v.phone = w.asString(M::TEL);
    v.contact = w.asString(M::KAPCST);
    v.clerk = w.asString(M::UGYINT);
    v.started = w.asDate(M::ERKEZETT);
    v.finished = w.asDate(M::TAVOZOTT);
    v.hours = w.asFloat(M::MUNKAORA);
    v.travelHours = w.asFloat(M::UTIDO);
    v.kilometres = w.asFloat(M::KILOMETER);
    v.plate = w.asString(M::RENDSZAM);
    v.travelCost = w.asFloat(M::UTKOLTSEG);
    v.lodgingCost = w.asFloat(M::SZALLASKTS);
    v.lodging = w.asString(M::SZALLHELY);
    v.otherCost = w.asFloat(M::EGYEBKTS);
    v.other = w.asString(M::EGYEB);
    v.fault = w.asString(M::HIBA);
    v.work = w.asString(M::MUNKA);
    return v;
}

void writeWorksheet(RecordCursor& w, const WorksheetValues& v) {
    w.setString(M::SORSZAM, v.number);
    w.setDate(M::DATUM, v.printDate);
    w.setString(M::NEV, v.name);
    w.setString(M::NEV1, v.name2);
    w.setString(M::IRSZAM, v.postcode);
    w.setString(M::VAROS, v.town);
    w.setString(M::CIM, v.address);
    w.setString(M::TEL, v.phone);
    w.setString(M::KAPCST, v.contact);
    w.setString(M::UGYINT, v.clerk);
    w.setDate(M::ERKEZETT, v.started);
    w.setDate(M::TAVOZOTT, v.finished);
    w.setFloat(M::MUNKAORA, v.hours);
    w.setFloat(M::UTIDO, v.travelHours);
    w.setFloat(M::KILOMETER, v.kilometres);
    w.setString(M::RENDSZAM, v.plate);
    w.setFloat(M::UTKOLTSEG, v.travelCost);
    w.setFloat(M::SZALLASKTS, v.lodgingCost);
    w.setString(M::SZALLHELY, v.lodging);
    w.setFloat(M::EGYEBKTS, v.otherCost);
    w.setString(M::EGYEB, v.other);
    w.setString(M::HIBA, v.fault);
    w.setString(M::MUNKA, v.work);
}

WorksheetEditor::WorksheetEditor(WorksheetContext context) : m_context(std::move(context)) {}

WorksheetEditor::~WorksheetEditor() = default;

void WorksheetEditor::openNew() {
    TableHandle& worksheets = m_context.data.Munkalaptable();
    worksheets.refresh();
    RecordEdit append = RecordEdit::append(worksheets);
    worksheets.setDate(M::DATUM, m_context.today());
    worksheets.setString(M::UGYINT, m_context.currentUser);
    append.post();
    m_record = std::make_unique<OpenedRecord>(worksheets, std::nullopt);
    m_values = readWorksheet(worksheets);
    m_new = true;
}

void WorksheetEditor::openCurrent() {
    TableHandle& worksheets = m_context.data.Munkalaptable();
    m_record = std::make_unique<OpenedRecord>(worksheets, std::nullopt);
    m_values = readWorksheet(worksheets);
    m_values.printDate = m_context.today();
    m_values.clerk = m_context.currentUser;
    m_new = false;
}

QString WorksheetEditor::shownNumber() const {
    if (!m_values.number.isEmpty()) return m_values.number;
    TableHandle& settings = m_context.data.UserTable();
    settings.refresh();
    settings.first();
    return invoicing::composeNumber(invoicing::NumberKind::Worksheet, settings, m_context.today());
}

void WorksheetEditor::takePartner() {
    const TableHandle& partners = m_context.data.PartnerTable();
    m_values.name = partners.asString(P::NEV);
    m_values.name2 = partners.asString(P::NEV2);
    m_values.postcode = partners.asString(P::IRSZAM);
    m_values.town = partners.asString(P::VAROS);
    m_values.address = partners.asString(P::UTCA);
    m_lastPartner = m_values;
    storeInPlace();
}

bool WorksheetEditor::pickPartner() {
    if (!m_context.windows.pickPartner()) return false;
    takePartner();
    return true;
}

bool WorksheetEditor::addPartner() {
    if (!m_context.windows.addPartner()) return false;
    takePartner();
    return true;
}

bool WorksheetEditor::repeatLastPartner() {
    if (!m_lastPartner) return false;
    m_values.name = m_lastPartner->name;
    m_values.name2 = m_lastPartner->name2;
    m_values.postcode = m_lastPartner->postcode;
    m_values.town = m_lastPartner->town;
    m_values.address = m_lastPartner->address;
    storeInPlace();
    return true;
}

void WorksheetEditor::storeInPlace() {
    m_record->save(m_context.prompt, [this] { writeWorksheet(m_context.data.Munkalaptable(), m_values); });
}

bool WorksheetEditor::store() {
    dbase::Transaction transaction(m_context.data.dataFolder());
    WorksheetValues values = m_values;
    if (m_new) {
        TableHandle& settings = m_context.data.UserTable();
        settings.refresh();
        settings.first();
        values.number = invoicing::takeNumber(invoicing::NumberKind::Worksheet, settings, m_context.today());
    }
    TableHandle& worksheets = m_context.data.Munkalaptable();
    if (!m_record->save(m_context.prompt, [&] { writeWorksheet(worksheets, values); })) return false;
    transaction.commit();
    m_values = values;
    m_new = false;
    m_saved = true;
    return true;
}

bool WorksheetEditor::saveAndClose() {
    return store();
}

bool WorksheetEditor::printAndClose() {
    if (!store()) return false;
    TableHandle& settings = m_context.data.UserTable();
    settings.refresh();
    settings.first();
    const std::optional<int> copies = m_context.prompt.askCopies(int(settings.asInteger(U::PRNMUNKA)));
    if (!copies || *copies <= 0) return true;
    try {
        m_context.windows.print(m_values, *copies);
    } catch (const std::exception&) {
        m_context.prompt.warning(QStringLiteral("Figyelem!"),
                                 QStringLiteral("A(z) %1 számú munkalap el van mentve, de a nyomtatása nem "
                                                "sikerült. Kérem, nyomtassa ki újra a munkalapok listájából.")
                                     .arg(m_values.number));
    }
    return true;
}

void WorksheetEditor::preview() {
    WorksheetValues shown = m_values;
    shown.number = shownNumber();
    m_context.windows.preview(shown);
}

bool WorksheetEditor::leave() {
    if (m_saved) return true;
    if (!m_new) return m_context.prompt.askYesNo(kCaption, leaveWorksheetQuestion(), Icon::Warning);
    if (!m_context.prompt.askYesNo(kCaption, leaveNewWorksheetQuestion(), Icon::Warning)) return false;
    removeOwnRecord();
    return true;
}

void WorksheetEditor::removeOwnRecord() {
    // A handle of its own reaches the record whatever the shared handle's filter shows.
    TableHandle own(m_context.data.dataFolder(), std::string(M::kTable));
    own.open();
    if (own.gotoBookmark(m_record->mark()) && own.asString(M::SORSZAM).trimmed().isEmpty()) own.deleteRecord();
    own.close();
    m_context.data.Munkalaptable().refresh();
}

}  // namespace kavina::documents
