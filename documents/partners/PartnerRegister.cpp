#include "documents/partners/PartnerRegister.h"

#include "invoicing/navdata/TaxNumber.h"

#include <QCollator>
#include <QLocale>

#include <QFile>
#include <QSaveFile>
#include <QStringEncoder>
#include <map>
#include <stdexcept>

#include "foundation/CatalogueFields.h"
#include "foundation/FieldFilter.h"
#include "foundation/RecordEdit.h"
#include "foundation/SettingsRecord.h"
#include "invoicing/register/DocumentList.h"

namespace kavina::documents {

namespace P = fields::Partner;
namespace D = fields::Szamla;
namespace T = fields::Telep;

namespace {

constexpr int64_t kPartnerCodeBase = 4770148114995;

// The handle's order, filter and record, put back when the walk is over.
class KeepView {
public:
    explicit KeepView(TableHandle& handle)
        : m_handle(handle),
          m_order(handle.order()),
          m_filter(handle.filter()),
          m_filtered(handle.filtered()),
          m_options(handle.table().filterOptions()),
          m_mark(handle.bookmark()) {}
    ~KeepView() {
        try {
            m_handle.setFilterOptions(m_options);
            m_handle.setFilter(m_filter);
            m_handle.setFiltered(m_filtered);
            if (m_handle.order() != m_order) m_handle.setOrder(m_order);
            if (!m_handle.gotoBookmark(m_mark)) m_handle.first();
        } catch (...) {
            // The view could not be restored (the table went away): nothing more to do here.
        }
    }
    KeepView(const KeepView&) = delete;
    KeepView& operator=(const KeepView&) = delete;

private:
    TableHandle& m_handle;
    std::string m_order;
    std::string m_filter;
    bool m_filtered;
    dbase::FilterOptions m_options;
    CursorMark m_mark;
};

void writeFields(RecordCursor& partners, const PartnerFields& f) {
    const std::pair<Field, const QString*> texts[] = {{P::NEV, &f.name},
                                                      {P::NEV2, &f.name2},
                                                      {P::KAPCSNEV, &f.contact},
                                                      {P::PCSOPORT, &f.group},
                                                      {P::IRSZAM, &f.postcode},
                                                      {P::VAROS, &f.town},
                                                      {P::UTCA, &f.street},
                                                      {P::LEVIR, &f.mailPostcode},
                                                      {P::LEVVAROS, &f.mailTown},
                                                      {P::LEVUTCA, &f.mailStreet},
                                                      {P::TELEFON, &f.phone},
                                                      {P::FAX, &f.fax},
                                                      {P::EMAIL, &f.email},
                                                      {P::ADOSZAM, &f.taxNumber},
                                                      {P::BANKFIOK, &f.bankBranch},
                                                      {P::BANKSZAMLA, &f.bankAccount},
                                                      {P::FIZMOD, &f.paymentMethod}};
    for (const auto& [field, value] : texts) partners.setString(field, *value);
    partners.setString(P::TELJESCIM, f.town + QLatin1Char(' ') + f.street);
    // A folder before its upgrade has no place for the VAT status yet.
    if (partners.has(P::VATSTATUS)) {
        partners.setString(P::VATSTATUS, f.vatStatus);
        partners.setString(P::EUVATNUM, f.euTaxNumber.trimmed().toUpper());
    }
    partners.setInteger(P::ARCSOPORT, f.priceGroup);
    partners.setInteger(P::OSSZESBIZF, f.transferDays);
    partners.setInteger(P::OSSZESBIZM, f.discount);
}

}  // namespace

std::optional<QString> partnerTaxProblem(const PartnerFields& f) {
    if (const auto problem = nav::taxNumberProblem(f.taxNumber)) return problem;
    if (f.vatStatus == QChar(fields::partnerVat::Domestic) && f.taxNumber.trimmed().isEmpty())
        return QStringLiteral("Belföldi adóalany partnernek meg kell adni az adószámát.");
    if (f.vatStatus == QChar(fields::partnerVat::Eu) && !nav::communityVatNumber(f.euTaxNumber))
        return QStringLiteral(
            "Közösségi adóalany partnernek meg kell adni a közösségi adószámát (például "
            "ATU12345678).");
    if (!f.euTaxNumber.trimmed().isEmpty() && !nav::communityVatNumber(f.euTaxNumber))
        return QStringLiteral("A közösségi adószám két betűs országkóddal kezdődik (például ATU12345678).");
    return std::nullopt;
}

QString partnerCodeOf(int64_t partnerNumber) {
    return QString::number(partnerNumber + kPartnerCodeBase);
}

QStringList groupTabs(TableHandle& partners) {
    std::map<QString, QString> byFolded;  // folded name -> the first spelling met
    {
        KeepView keep(partners);
        filter::removeRestriction(partners);
        partners.setOrder(P::NEV);
        for (partners.first(); !partners.eof(); partners.next()) {
            const QString group = partners.asString(P::PCSOPORT).trimmed();
            if (!group.isEmpty()) byFolded.try_emplace(group.toCaseFolded(), group);
        }
    }
    QStringList tabs;
    for (const auto& [folded, spelling] : byFolded) tabs << spelling;
    sortHungarian(tabs);
    tabs.prepend(kAllPartnersTab);
    return tabs;
}

void sortHungarian(QStringList& texts) {
    QCollator collator{QLocale(QLocale::Hungarian, QLocale::Hungary)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(texts.begin(), texts.end(),
                     [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
}

QStringList groupNames(TableHandle& groups) {
    QStringList names;
    {
        KeepView keep(groups);
        filter::removeRestriction(groups);
        for (groups.first(); !groups.eof(); groups.next()) {
            const QString name = groups.asString(fields::PCsoport::PCSOPORT).trimmed();
            if (!name.isEmpty() && !names.contains(name, Qt::CaseInsensitive)) names << name;
        }
    }
    sortHungarian(names);
    return names;
}

void applyTab(TableHandle& partners, int tabIndex, const QString& caption) {
    if (tabIndex <= 0) {
        filter::removeRestriction(partners);
        partners.first();
        return;
    }
    filter::restrictExactly(partners, filter::equals(P::PCSOPORT, caption));
    partners.first();
}

PartnerFields loadPartner(const RecordCursor& p) {
    PartnerFields f;
    f.name = p.asString(P::NEV);
    f.name2 = p.asString(P::NEV2);
    f.contact = p.asString(P::KAPCSNEV);
    f.group = p.asString(P::PCSOPORT);
    f.postcode = p.asString(P::IRSZAM);
    f.town = p.asString(P::VAROS);
    f.street = p.asString(P::UTCA);
    f.mailPostcode = p.asString(P::LEVIR);
    f.mailTown = p.asString(P::LEVVAROS);
    f.mailStreet = p.asString(P::LEVUTCA);
    f.phone = p.asString(P::TELEFON);
    f.fax = p.asString(P::FAX);
    f.email = p.asString(P::EMAIL);
    f.taxNumber = p.asString(P::ADOSZAM);
    f.bankBranch = p.asString(P::BANKFIOK);
    f.bankAccount = p.asString(P::BANKSZAMLA);
    f.paymentMethod = p.asString(P::FIZMOD);
    f.priceGroup = int(p.asInteger(P::ARCSOPORT));
    f.transferDays = int(p.asInteger(P::OSSZESBIZF));
    f.discount = int(p.asInteger(P::OSSZESBIZM));
    const QString status = p.has(P::VATSTATUS) ? p.asString(P::VATSTATUS).trimmed() : QString();
    if (!status.isEmpty())
        f.vatStatus = status;
    else
        f.vatStatus = f.taxNumber.trimmed().isEmpty() ? QStringLiteral("P") : QStringLiteral("D");
    f.euTaxNumber = p.has(P::EUVATNUM) ? p.asString(P::EUVATNUM).trimmed() : QString();
    return f;
}

int64_t createPartner(TableHandle& partners, TableHandle& settings, const PartnerFields& fields) {
    const int64_t number = takeCode(settings, fields::User::PARTNERKOD);
    RecordEdit change = RecordEdit::append(partners);
    partners.setInteger(P::PARTNERKOD, number);
    writeFields(partners, fields);
    partners.setString(P::VONALKOD, partnerCodeOf(number));
    change.post();
    return number;
}

OpenedRecordTexts partnerRecordTexts() {
    OpenedRecordTexts texts;
    texts.gone = QStringLiteral("A partnert közben egy másik munkaállomás törölte.");
    texts.changed = QStringLiteral("A partnert közben egy másik munkaállomás módosította:");
    texts.labels = {{P::PARTNERKOD, QStringLiteral("Partnerszám")},
                    {P::NEV, QStringLiteral("Partner neve")},
                    {P::NEV2, QStringLiteral("Partner neve (2. sor)")},
                    {P::KAPCSNEV, QStringLiteral("Ügyintéző")},
                    {P::PCSOPORT, QStringLiteral("Partner csoport")},
                    {P::IRSZAM, QStringLiteral("Irányítószám")},
                    {P::VAROS, QStringLiteral("Település")},
                    {P::UTCA, QStringLiteral("Cím")},
                    {P::TELJESCIM, QStringLiteral("Teljes cím")},
                    {P::LEVIR, QStringLiteral("Levélcím irányítószáma")},
                    {P::LEVVAROS, QStringLiteral("Levélcím települése")},
                    {P::LEVUTCA, QStringLiteral("Levélcím")},
                    {P::TELEFON, QStringLiteral("Telefon")},
                    {P::FAX, QStringLiteral("FAX")},
                    {P::EMAIL, QStringLiteral("E-mail")},
                    {P::ADOSZAM, QStringLiteral("Adószám")},
                    {P::BANKFIOK, QStringLiteral("Bankfiók")},
                    {P::BANKSZAMLA, QStringLiteral("Számlaszám")},
                    {P::FIZMOD, QStringLiteral("Fizetési mód")},
                    {P::ARCSOPORT, QStringLiteral("Ár csoport")},
                    {P::OSSZESBIZF, QStringLiteral("Átutalás határideje")},
                    {P::OSSZESBIZM, QStringLiteral("Kedvezmény (%)")},
                    {P::VONALKOD, QStringLiteral("Partnerkód")}};
    return texts;
}

bool savePartner(OpenedRecord& opened, TableHandle& partners, Prompt& prompt, const PartnerFields& fields) {
    return opened.save(prompt, [&] { writeFields(partners, fields); });
}

bool findByPartnerCode(TableHandle& partners, const QString& code) {
    if (code.isEmpty()) return false;
    partners.refresh();
    return partners.locate({{P::VONALKOD, code}});
}

void renameGroup(TableHandle& partners, const QString& from, const QString& to) {
    KeepView keep(partners);
    filter::restrictExactly(partners, filter::equals(P::PCSOPORT, from));
    // Each renamed partner leaves the filter, so the walk always takes the first one left.
    for (partners.first(); !partners.eof(); partners.first()) {
        RecordEdit change = RecordEdit::edit(partners);
        partners.setString(P::PCSOPORT, to);
        change.post();
    }
}

int restrictToInvoices(TableHandle& documents, const QString& name, const QString& street, bool unpaidOnly) {
    using namespace filter;
    // Documents keep the name and street cut to their own widths.
    const invoicing::PartnerKey stored = invoicing::documentPartnerKey(name, street);
    std::string expression =
        allOf({equals(D::NEV, stored.name), equals(D::CIM, stored.street), equals(D::SZAMLATIP, QStringLiteral("B"))});
    if (unpaidOnly) expression = allOf({expression, isFalse(D::FIZETVE)});
    restrictExactly(documents, expression);
    documents.first();
    return int(documents.recordCount());
}

void clearRestriction(TableHandle& documents) {
    const CursorMark mark = documents.bookmark();
    filter::removeRestriction(documents);
    if (!documents.gotoBookmark(mark)) documents.first();
}

std::optional<QString> completeTown(TableHandle& settlements, const QString& postcode, const QString& town) {
    if (postcode.size() != 4 || !town.isEmpty()) return std::nullopt;
    KeepView keep(settlements);
    filter::removeRestriction(settlements);
    settlements.setOrder(T::TELEPULES);
    if (!settlements.locate({{T::IRSZAM, postcode}}, {.caseInsensitive = true, .partialKey = true}))
        return std::nullopt;
    return settlements.asString(T::TELEPULES);
}

std::optional<QString> completePostcode(TableHandle& settlements, const QString& town, const QString& postcode) {
    if (town.isEmpty() || !postcode.isEmpty()) return std::nullopt;
    KeepView keep(settlements);
    filter::removeRestriction(settlements);
    settlements.setOrder(T::TELEPULES);
    if (!settlements.locate({{T::TELEPULES, town}})) return std::nullopt;
    return settlements.asString(T::IRSZAM);
}

namespace {

const char* const kCsvHeader =
    "\"NÉV\";\"NÉV 2\";\"IRSZ.\";\"TELEPÜLÉS\";\"CÍM\";\"TELEFON\";\"FAX\";\"EMAIL\";\"KAPCSOLATTARTÓ\";"
    "\"LEV.IRSZ.\";\"LEV.TELEPÜLÉS\";\"LEV.UTCA\";\"ADÓSZÁM\";\"BANKFIÓK\";\"BANKSZÁMLA\";\"FIZ.MÓD\";\"ÁRCSOPORT\"";

QString csvLine(const RecordCursor& p) {
    QStringList fields;
    for (const Field& field : {P::NEV, P::NEV2, P::IRSZAM, P::VAROS, P::UTCA, P::TELEFON, P::FAX, P::EMAIL, P::KAPCSNEV,
                               P::LEVIR, P::LEVVAROS, P::LEVUTCA, P::ADOSZAM, P::BANKFIOK, P::BANKSZAMLA, P::FIZMOD})
        fields << p.asString(field);
    fields << QString::number(p.asInteger(P::ARCSOPORT));
    return fields.join(QLatin1Char(';'));
}

}  // namespace

void exportPartnersCsv(TableHandle& partners, const QString& path) {
    QString text = QString::fromUtf8(kCsvHeader) + QStringLiteral("\r\n");
    {
        const CursorMark mark = partners.bookmark();
        for (partners.first(); !partners.eof(); partners.next()) text += csvLine(partners) + QStringLiteral("\r\n");
        if (!partners.gotoBookmark(mark)) partners.first();
    }
    QStringEncoder toWindows1250("windows-1250");
    const QByteArray bytes = toWindows1250.encode(text);
    if (toWindows1250.hasError()) throw std::runtime_error("the partners' texts do not fit the Windows-1250 code page");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error(("the file " + path + " cannot be written: " + file.errorString()).toStdString());
}

}  // namespace kavina::documents
