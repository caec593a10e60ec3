#include "documents/partners/PartnerRegister.h"

#include <QFile>
#include <QSaveFile>
#include <QStringEncoder>
#include <map>
#include <stdexcept>

#include "invoicing/document/DocumentNumbering.h"

namespace kavina::documents {

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

// Whole-text matching: a trailing "*" of a value is a character, not a prefix mark.
void filterExactly(TableHandle& handle, const std::string& expression) {
    handle.setFilterOptions({.caseInsensitive = false, .noPrefixMatching = true});
    handle.setFilter(expression);
    handle.setFiltered(true);
}

void unfilter(TableHandle& handle) {
    handle.setFiltered(false);
    handle.setFilter(std::string());
}

void writeFields(RecordCursor& partners, const PartnerFields& f) {
    const std::pair<const char*, const QString*> texts[] = {{"NEV", &f.name},
                                                            {"NEV2", &f.name2},
                                                            {"KAPCSNEV", &f.contact},
                                                            {"PCSOPORT", &f.group},
                                                            {"IRSZAM", &f.postcode},
                                                            {"VAROS", &f.town},
                                                            {"UTCA", &f.street},
                                                            {"LEVIR", &f.mailPostcode},
                                                            {"LEVVAROS", &f.mailTown},
                                                            {"LEVUTCA", &f.mailStreet},
                                                            {"TELEFON", &f.phone},
                                                            {"FAX", &f.fax},
                                                            {"EMAIL", &f.email},
                                                            {"ADOSZAM", &f.taxNumber},
                                                            {"BANKFIOK", &f.bankBranch},
                                                            {"BANKSZAMLA", &f.bankAccount},
                                                            {"FIZMOD", &f.paymentMethod}};
    for (const auto& [field, value] : texts) partners.setString(field, *value);
    partners.setString("TELJESCIM", f.town + QLatin1Char(' ') + f.street);
    partners.setInteger("ARCSOPORT", f.priceGroup);
    partners.setInteger("OSSZESBIZF", f.transferDays);
    partners.setInteger("OSSZESBIZM", f.discount);
}

}  // namespace

QString partnerCodeOf(int64_t partnerNumber) {
    return QString::number(partnerNumber + kPartnerCodeBase);
}

std::string filterConstant(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return ("'" + quoted + "'").toStdString();
}

QStringList groupTabs(TableHandle& partners) {
    std::map<QString, QString> byFolded;  // folded name -> the first spelling met
    {
        KeepView keep(partners);
        unfilter(partners);
        partners.setOrder("NEV");
        for (partners.first(); !partners.eof(); partners.next()) {
            const QString group = partners.asString("PCSOPORT").trimmed();
            if (!group.isEmpty()) byFolded.try_emplace(group.toCaseFolded(), group);
        }
    }
    QStringList tabs;
    for (const auto& [folded, spelling] : byFolded) tabs << spelling;
    std::stable_sort(tabs.begin(), tabs.end(),
                     [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    tabs.prepend(kAllPartnersTab);
    return tabs;
}

void applyTab(TableHandle& partners, int tabIndex, const QString& caption) {
    if (tabIndex <= 0) {
        unfilter(partners);
        partners.first();
        return;
    }
    filterExactly(partners, "PCSOPORT = " + filterConstant(caption));
    partners.first();
}

PartnerFields loadPartner(const RecordCursor& p) {
    PartnerFields f;
    f.name = p.asString("NEV");
    f.name2 = p.asString("NEV2");
    f.contact = p.asString("KAPCSNEV");
    f.group = p.asString("PCSOPORT");
    f.postcode = p.asString("IRSZAM");
    f.town = p.asString("VAROS");
    f.street = p.asString("UTCA");
    f.mailPostcode = p.asString("LEVIR");
    f.mailTown = p.asString("LEVVAROS");
    f.mailStreet = p.asString("LEVUTCA");
    f.phone = p.asString("TELEFON");
    f.fax = p.asString("FAX");
    f.email = p.asString("EMAIL");
    f.taxNumber = p.asString("ADOSZAM");
    f.bankBranch = p.asString("BANKFIOK");
    f.bankAccount = p.asString("BANKSZAMLA");
    f.paymentMethod = p.asString("FIZMOD");
    f.priceGroup = int(p.asInteger("ARCSOPORT"));
    f.transferDays = int(p.asInteger("OSSZESBIZF"));
    f.discount = int(p.asInteger("OSSZESBIZM"));
    return f;
}

int64_t createPartner(TableHandle& partners, TableHandle& settings, const PartnerFields& fields) {
    const int64_t number = invoicing::takeCode(settings, "PARTNERKOD");
    partners.append();
    try {
        partners.setInteger("PARTNERKOD", number);
        writeFields(partners, fields);
        partners.setString("VONALKOD", partnerCodeOf(number));
        partners.post();
    } catch (...) {
        partners.cancel();
        throw;
    }
    return number;
}

void modifyPartner(TableHandle& partners, const PartnerFields& fields) {
    partners.edit();
    try {
        writeFields(partners, fields);
        partners.post();
    } catch (...) {
        partners.cancel();
        throw;
    }
}

bool findByPartnerCode(TableHandle& partners, const QString& code) {
    if (code.isEmpty()) return false;
    partners.refresh();
    return partners.locate({{"VONALKOD", code}});
}

void renameGroup(TableHandle& partners, const QString& from, const QString& to) {
    KeepView keep(partners);
    filterExactly(partners, "PCSOPORT = " + filterConstant(from));
    // Each renamed partner leaves the filter, so the walk always takes the first one left.
    for (partners.first(); !partners.eof(); partners.first()) {
        partners.edit();
        partners.setString("PCSOPORT", to);
        partners.post();
    }
}

int restrictToInvoices(TableHandle& documents, const QString& name, const QString& street, bool unpaidOnly) {
    std::string expression =
        "NEV = " + filterConstant(name) + " AND CIM = " + filterConstant(street) + " AND SZAMLATIP = 'B'";
    if (unpaidOnly) expression += " AND NOT FIZETVE";
    filterExactly(documents, expression);
    documents.first();
    return int(documents.recordCount());
}

void clearRestriction(TableHandle& documents) {
    const CursorMark mark = documents.bookmark();
    unfilter(documents);
    if (!documents.gotoBookmark(mark)) documents.first();
}

std::optional<QString> completeTown(TableHandle& settlements, const QString& postcode, const QString& town) {
    if (postcode.size() != 4 || !town.isEmpty()) return std::nullopt;
    KeepView keep(settlements);
    unfilter(settlements);
    settlements.setOrder("TELEPULES");
    if (!settlements.locate({{"IRSZAM", postcode}}, {.caseInsensitive = true, .partialKey = true})) return std::nullopt;
    return settlements.asString("TELEPULES");
}

std::optional<QString> completePostcode(TableHandle& settlements, const QString& town, const QString& postcode) {
    if (town.isEmpty() || !postcode.isEmpty()) return std::nullopt;
    KeepView keep(settlements);
    unfilter(settlements);
    settlements.setOrder("TELEPULES");
    if (!settlements.locate({{"TELEPULES", town}})) return std::nullopt;
    return settlements.asString("IRSZAM");
}

namespace {

const char* const kCsvHeader =
    "\"NÉV\";\"NÉV 2\";\"IRSZ.\";\"TELEPÜLÉS\";\"CÍM\";\"TELEFON\";\"FAX\";\"EMAIL\";\"KAPCSOLATTARTÓ\";"
    "\"LEV.IRSZ.\";\"LEV.TELEPÜLÉS\";\"LEV.UTCA\";\"ADÓSZÁM\";\"BANKFIÓK\";\"BANKSZÁMLA\";\"FIZ.MÓD\";\"ÁRCSOPORT\"";

QString csvLine(const RecordCursor& p) {
    QStringList fields;
    for (const char* field : {"NEV", "NEV2", "IRSZAM", "VAROS", "UTCA", "TELEFON", "FAX", "EMAIL", "KAPCSNEV", "LEVIR",
                              "LEVVAROS", "LEVUTCA", "ADOSZAM", "BANKFIOK", "BANKSZAMLA", "FIZMOD"})
        fields << p.asString(field);
    fields << QString::number(p.asInteger("ARCSOPORT"));
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
