#include "maintenance/upgrade/DatabaseUpgrade.h"

#include <QStringLiteral>
#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "dbase/DbError.h"
#include "dbase/Table.h"
#include "foundation/CatalogueFields.h"
#include "foundation/DbErrorText.h"
#include "foundation/NavCodes.h"
#include "foundation/Prompt.h"
#include "foundation/SzamSzov.h"
#include "foundation/TDataModule1.h"
#include "maintenance/upgrade/TableRebuild.h"

namespace kavina::maintenance {
namespace {

namespace A = fields::Anyag;
namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace U = fields::User;
namespace J = fields::Jogok;
namespace P = fields::Partner;

const QString kCaption = QStringLiteral("Javítócsomag telepítése...");

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

std::string name(const Field& field) {
    return std::string(field.name);
}

const std::map<int, std::map<TableId, std::vector<Field>>>& stepFields() {
    static const std::map<int, std::map<TableId, std::vector<Field>>> added{
        {2, {{TableId::Szamla, {H::TELJESCIM}}}},
        {3,
         {{TableId::Anyag, {A::bar1, A::bar2, A::bar3, A::bfixar, A::bbesz}},
          {TableId::Szamla2, {L::bar1, L::bar2, L::bar3, L::bfixar, L::begysegar, L::bruttoar, L::cikkszam}}}},
        {4, {{TableId::User, {U::VISSZA, U::SELEJT}}}},
        {5,
         {{TableId::Szamla, {H::szlnetto, H::szlbrutto}},
          {TableId::Jogok, {J::JOGOK}},
          {TableId::User, {U::MEGRENDELO, U::IDEIGLENES, U::ELOLEG, U::PROFORMA, U::PKIF, U::JOVAIR}}}},
        {7, {{TableId::Anyag, {A::szavatossag}}}},
        {8, {{TableId::Partner, {P::VONALKOD}}, {TableId::Anyag, {A::VONALKOD}}}},
        {10, {{TableId::Szamla2, {L::nbesz, L::haszon}}}},
        {11,
         {{TableId::Partner, {P::VATSTATUS, P::EUVATNUM}},
          {TableId::Szamla, {H::BUYERTAX, H::BUYEREU, H::BUYERSTAT, H::BASEINV}},
          {TableId::AFA, {fields::AFA::VATKIND, fields::AFA::VATCASE, fields::AFA::VATREASON}},
          {TableId::Egyseg, {fields::Egyseg::NAVUNIT}},
          {TableId::Fizmod, {fields::Fizmod::NAVPAYMENT}}}},
    };
    return added;
}

// The step after which a catalogue field exists (0: it always did).
int stepOfField(TableId table, const std::string& field) {
    for (const auto& [step, tables] : stepFields()) {
        const auto it = tables.find(table);
        if (it == tables.end()) continue;
        for (const Field& f : it->second)
            if (lower(f.name) == lower(field)) return step;
    }
    return 0;
}

bool hasField(const std::string& folder, TableId table, const Field& field) {
    const TableDef& def = catalogue::table(table);
    if (!catalogue::existsIn(def, folder)) return false;
    dbase::Table t(folder, def.fileName);
    t.open({.readOnly = true});
    return t.fieldIndex(field.name) >= 0;
}

// The catalogue's fields a rebuild at this step gives the table: those of its level and any
// the file has already, in the catalogue's order, then the file's own fields the catalogue
// does not know.
std::vector<dbase::FieldDef> targetFields(const std::string& folder, TableId table, int step) {
    const TableDef& def = catalogue::table(table);
    const std::vector<dbase::FieldDef> existing = currentFields(folder, def.fileName);
    std::set<std::string> present;
    for (const dbase::FieldDef& f : existing) present.insert(lower(f.name));
    std::vector<dbase::FieldDef> fields;
    std::set<std::string> known;
    for (const dbase::FieldDef& f : def.fields) {
        known.insert(lower(f.name));
        if (stepOfField(table, f.name) <= step || present.count(lower(f.name))) fields.push_back(f);
    }
    for (const dbase::FieldDef& f : existing)
        if (!known.count(lower(f.name))) fields.push_back(f);
    return fields;
}

QString text(const dbase::Table& t, const Field& field) {
    return QString::fromStdString(t.asString(field.name));
}

double grossOf(double net, double rate, int rounding) {
    return static_cast<double>(Kerekit(rounding, static_cast<long double>(net) * (1.0L + rate / 100.0L)));
}

}  // namespace

int detectedLevel(const std::string& folder) {
    if (catalogue::existsIn(catalogue::table(TableId::NavQueue), folder)) return 11;
    if (hasField(folder, TableId::Szamla2, L::nbesz)) return 10;
    if (catalogue::existsIn(catalogue::table(TableId::Vonalkod), folder)) return 9;
    if (hasField(folder, TableId::Partner, P::VONALKOD)) return 8;
    if (hasField(folder, TableId::Anyag, A::szavatossag)) return 7;
    if (hasField(folder, TableId::Szamla, H::szlnetto)) return 5;
    if (hasField(folder, TableId::User, U::VISSZA)) return 4;
    if (hasField(folder, TableId::Anyag, A::bar1)) return 3;
    if (catalogue::existsIn(catalogue::table(TableId::Raktar), folder)) return 2;
    return 0;
}

std::vector<std::string> fieldsAddedBy(int step, TableId table) {
    std::vector<std::string> names;
    const auto it = stepFields().find(step);
    if (it == stepFields().end()) return names;
    const auto fieldsOf = it->second.find(table);
    if (fieldsOf != it->second.end())
        for (const Field& f : fieldsOf->second) names.push_back(name(f));
    return names;
}

std::vector<dbase::FieldDef> fieldsAtLevel(TableId table, int level) {
    std::vector<dbase::FieldDef> fields;
    for (const dbase::FieldDef& f : catalogue::table(table).fields)
        if (stepOfField(table, f.name) <= level) fields.push_back(f);
    return fields;
}

DatabaseUpgrade::DatabaseUpgrade(TDataModule1& data, Prompt& prompt, UpgradeHooks hooks)
    : m_data(data), m_prompt(prompt), m_hooks(std::move(hooks)) {}

void DatabaseUpgrade::log(const QString& line) {
    if (m_hooks.log) m_hooks.log(line);
}

int DatabaseUpgrade::run(int iniLevel) {
    recoverRebuilds(m_data.dataFolder());
    int level = std::max(iniLevel, detectedLevel(m_data.dataFolder()));
    if (level >= kUpgradeLevel) return level;
    log(QStringLiteral("Adatbázis mentése..."));
    switch (m_hooks.backup ? m_hooks.backup() : BackupOutcome::Done) {
        case BackupOutcome::Failed: return level;
        case BackupOutcome::Cancelled:
            if (!m_prompt.askYesNoDefaultNo(kCaption, QStringLiteral("Biztonsági mentés nélkül folytatja?"),
                                            Icon::Warning))
                return level;
            break;
        case BackupOutcome::Done: break;
    }
    for (int step = level + 1; step <= kUpgradeLevel; ++step) {
        try {
            runStep(step);
        } catch (const std::exception& e) {
            m_prompt.error(kCaption, QStringLiteral("A(z) %1. javítócsomag telepítése nem sikerült:\n").arg(step) +
                                         errorText(e) +
                                         QStringLiteral("\nA program a következő indításkor folytatja a telepítést."));
            return level;
        }
        level = step;
        if (m_hooks.recordLevel) m_hooks.recordLevel(level);
    }
    log(QStringLiteral(" - indexelés szükséges!"));
    if (m_hooks.reindex) m_hooks.reindex();
    log(QStringLiteral("Telepítés kész!"));
    return level;
}

void DatabaseUpgrade::runStep(int step) {
    switch (step) {
        case 1: step1(); break;
        case 2: step2(); break;
        case 3: step3(); break;
        case 4:
            log(QStringLiteral("Rendszer tábla frissítése..."));
            if (lacksFieldsOf(4, TableId::User)) rebuild(TableId::User, 4);
            break;
        case 5: step5(); break;
        case 6: step6(); break;
        case 7:
            log(QStringLiteral("Szavatosság mező létrehozása..."));
            if (lacksFieldsOf(7, TableId::Anyag)) rebuild(TableId::Anyag, 7);
            createIfMissing(TableId::Akcio);
            createIfMissing(TableId::Tranzakcio);
            break;
        case 8: step8(); break;
        case 9:
            log(QStringLiteral("Vonalkód-könyv létrehozása..."));
            createIfMissing(TableId::Vonalkod);
            break;
        case 10:
            log(QStringLiteral("Szamla2.dbf frissítése..."));
            if (lacksFieldsOf(10, TableId::Szamla2)) rebuild(TableId::Szamla2, 10);
            log(QStringLiteral(" - ideiglenes adatok törlése"));
            break;
        default: step11(); break;
    }
}

bool DatabaseUpgrade::lacksFieldsOf(int step, TableId table) {
    const std::vector<dbase::FieldDef> existing = currentFields(m_data.dataFolder(), catalogue::table(table).fileName);
    for (const std::string& added : fieldsAddedBy(step, table)) {
        const bool present = std::any_of(existing.begin(), existing.end(),
                                         [&](const dbase::FieldDef& f) { return lower(f.name) == lower(added); });
        if (!present) return true;
    }
    return false;
}

void DatabaseUpgrade::rebuild(TableId table, int step, std::function<void(const dbase::Table&, dbase::Table&)> fill,
                              std::function<std::vector<uint32_t>(dbase::Table&)> order) {
    log(QStringLiteral(" - adatok beolvasása"));
    RebuildSpec spec{table, targetFields(m_data.dataFolder(), table, step), std::move(fill), std::move(order)};
    log(QStringLiteral(" - struktúra módosítás"));
    log(QStringLiteral(" - adatok visszaírása"));
    rebuildBeside(m_data, spec, m_hooks.progress);
}

void DatabaseUpgrade::createIfMissing(TableId table) {
    const TableDef& def = catalogue::table(table);
    if (catalogue::existsIn(def, m_data.dataFolder())) return;
    catalogue::createTable(def, m_data.dataFolder());
    m_data.openTable(table);
}

// A change to every record of a table the upgrade holds alone. A run stopped halfway is
// repeated in full by the next start, which gives the same values.
void DatabaseUpgrade::updateAll(TableId table, const std::function<void(dbase::Table&)>& change) {
    const TableDef& def = catalogue::table(table);
    m_data.closeTable(table);
    try {
        dbase::Table t(m_data.dataFolder(), def.fileName);
        t.open({.exclusive = true});
        for (t.first(); !t.eof(); t.next()) {
            t.edit();
            change(t);
            t.post();
        }
    } catch (...) {
        m_data.openTable(table);
        throw;
    }
    m_data.reopen(table);
}

void DatabaseUpgrade::step1() {
    log(QStringLiteral("1. javítócsomag telepítése..."));
    updateAll(TableId::User, [](dbase::Table& t) { t.setString(U::LABLEC1.name, "Köz. asz.:"); });
    log(QStringLiteral(" - rendezés"));
    // The lines grouped by document number, product lines before service lines.
    rebuild(TableId::Szamla2, 1, {}, [](dbase::Table& from) {
        std::vector<std::tuple<std::string, bool, uint32_t>> keys;
        const int number = from.fieldNumber(L::SZAMLASZAM.name);
        const int product = from.fieldNumber(L::TERMEK.name);
        for (from.first(); !from.eof(); from.next())
            keys.emplace_back(from.asString(number), !from.asLogical(product), from.recNo());
        std::stable_sort(keys.begin(), keys.end());
        std::vector<uint32_t> records;
        for (const auto& key : keys) records.push_back(std::get<2>(key));
        return records;
    });
}

void DatabaseUpgrade::step2() {
    log(QStringLiteral("2. javítócsomag telepítése..."));
    if (lacksFieldsOf(2, TableId::Szamla))
        rebuild(TableId::Szamla, 2, [](const dbase::Table& from, dbase::Table& to) {
            to.setString(H::TELJESCIM.name, (text(from, H::VAROS) + " " + text(from, H::CIM)).toStdString());
        });
    if (catalogue::existsIn(catalogue::table(TableId::Raktar), m_data.dataFolder())) return;
    createIfMissing(TableId::Raktar);
    TableHandle& stores = m_data.raktar();
    stores.append();
    stores.setString(fields::Raktar::MEGNEVEZES, QStringLiteral("Törzsraktár"));
    stores.post();
    updateAll(TableId::Anyag, [](dbase::Table& t) { t.setString(A::MEGJEGYZES.name, "Törzsraktár"); });
}

void DatabaseUpgrade::step3() {
    log(QStringLiteral("3. javítócsomag telepítése..."));
    log(QStringLiteral("Anyagtörzs frissítése..."));
    if (lacksFieldsOf(3, TableId::Anyag)) {
        TableHandle& settings = m_data.UserTable();
        settings.first();
        const int rounding = settings.isEmpty() ? 0 : static_cast<int>(settings.asInteger(U::SELOTAG));
        rebuild(TableId::Anyag, 3, [rounding](const dbase::Table& from, dbase::Table& to) {
            const double rate = from.asFloat(A::AFAKULCS.name);
            const std::pair<Field, Field> prices[] = {{A::bar1, A::AR1},
                                                      {A::bar2, A::AR2},
                                                      {A::bar3, A::AR3},
                                                      {A::bfixar, A::FIXAR},
                                                      {A::bbesz, A::BESZERZAR}};
            for (const auto& [gross, net] : prices)
                to.setFloat(gross.name, grossOf(from.asFloat(net.name), rate, rounding));
        });
    }
    log(QString());
    log(QStringLiteral("Számlatörzs frissítése..."));
    if (lacksFieldsOf(3, TableId::Szamla2))
        rebuild(TableId::Szamla2, 3, [](const dbase::Table& from, dbase::Table& to) {
            const double factor = 1.0 + from.asFloat(L::AFA.name) / 100.0;
            const std::pair<Field, Field> prices[] = {{L::bar1, L::AR1},           {L::bar2, L::AR2},
                                                      {L::bar3, L::AR3},           {L::bfixar, L::ARE},
                                                      {L::begysegar, L::EGYSEGAR}, {L::bruttoar, L::NETTOAR}};
            for (const auto& [gross, net] : prices) to.setFloat(gross.name, from.asFloat(net.name) * factor);
        });
}

void DatabaseUpgrade::step5() {
    log(QStringLiteral("Számla tábla frissítése..."));
    const bool headersLacked = lacksFieldsOf(5, TableId::Szamla);
    if (headersLacked)
        rebuild(TableId::Szamla, 5, [](const dbase::Table& from, dbase::Table& to) {
            const QString number = text(from, H::SZAMLASZAM);
            if (number.startsWith(QStringLiteral("BSZ"))) to.setString(H::SZAMLATIP.name, "3");
            if (number.startsWith(QStringLiteral("VIS"))) to.setString(H::SZAMLATIP.name, "4");
        });
    log(QStringLiteral("Jogosultságok frissítése..."));
    if (lacksFieldsOf(5, TableId::Jogok))
        rebuild(TableId::Jogok, 5, [](const dbase::Table& from, dbase::Table& to) {
            const auto right = [&from](const Field& f) { return from.asLogical(f.name); };
            std::string rights;
            if (right(J::ajanlat)) rights += "A";
            if (right(J::szamla)) rights += "B";
            if (right(J::arlista)) rights += "F";
            if (right(J::szamla)) rights += "MP1";
            if (right(J::partner)) rights += "9";
            if (right(J::anyag)) rights += "TUVW345";
            if (right(J::garancia)) rights += "G";
            if (right(J::szerviz)) rights += "H";
            to.setString(J::JOGOK.name, rights);
        });
    log(QStringLiteral("Rendszer tábla frissítése..."));
    if (lacksFieldsOf(5, TableId::User))
        rebuild(TableId::User, 5, [](const dbase::Table&, dbase::Table& to) {
            for (const Field& counter : {U::MEGRENDELO, U::IDEIGLENES, U::ELOLEG, U::PROFORMA, U::PKIF, U::JOVAIR})
                to.setInteger(counter.name, 1);
        });
    if (headersLacked)
        updateAll(TableId::Partner, [](dbase::Table& t) {
            t.setString(P::TELJESCIM.name, (text(t, P::VAROS) + " " + text(t, P::UTCA)).toStdString());
        });
}

void DatabaseUpgrade::step6() {
    log(QStringLiteral("Számla2 tábla bruttó ár rendezés!"));
    std::set<std::string> documents;
    {
        dbase::Table headers(m_data.dataFolder(), catalogue::table(TableId::Szamla).fileName);
        headers.open({.readOnly = true});
        for (headers.first(); !headers.eof(); headers.next()) documents.insert(headers.asString(H::SZAMLASZAM.name));
    }
    updateAll(TableId::Szamla2, [&documents](dbase::Table& t) {
        if (!documents.count(t.asString(L::SZAMLASZAM.name))) return;
        const long double rate = t.asFloat(L::AFA.name);
        const std::pair<Field, Field> prices[] = {{L::bar1, L::AR1},           {L::bar2, L::AR2},
                                                  {L::bar3, L::AR3},           {L::bfixar, L::ARE},
                                                  {L::begysegar, L::EGYSEGAR}, {L::bruttoar, L::NETTOAR}};
        for (const auto& [gross, net] : prices)
            t.setFloat(gross.name, static_cast<double>(Kerekit(0, (rate + 100) * t.asFloat(net.name) / 100)));
    });
}

void DatabaseUpgrade::step8() {
    log(QStringLiteral("Partnertörzs kiegészítése vonalkódokkal..."));
    if (lacksFieldsOf(8, TableId::Partner))
        rebuild(TableId::Partner, 8, [](const dbase::Table& from, dbase::Table& to) {
            to.setString(P::VONALKOD.name, std::to_string(4770148114995LL + from.asInteger(P::PARTNERKOD.name)));
        });
    log(QStringLiteral("Terméktörzs kiegészítése vonalkódokkal..."));
    if (lacksFieldsOf(8, TableId::Anyag)) rebuild(TableId::Anyag, 8);
}

// The data of the tax authority's invoice reporting. Partners get the VAT status their tax
// number suggests, VAT groups above 0 % are percentages (a 0 % group keeps no case until the
// clerk gives it one), and the usual units and payment methods get their mapping. The queue
// table comes last: its presence marks the step as done.
void DatabaseUpgrade::step11() {
    log(QStringLiteral("Online számla adatok létrehozása..."));
    if (lacksFieldsOf(11, TableId::Partner))
        rebuild(TableId::Partner, 11, [](const dbase::Table& from, dbase::Table& to) {
            const bool taxed = !text(from, P::ADOSZAM).trimmed().isEmpty();
            to.setString(P::VATSTATUS.name,
                         std::string(1, taxed ? fields::partnerVat::Domestic : fields::partnerVat::PrivatePerson));
        });
    if (lacksFieldsOf(11, TableId::Szamla)) rebuild(TableId::Szamla, 11);
    if (lacksFieldsOf(11, TableId::AFA))
        rebuild(TableId::AFA, 11, [](const dbase::Table& from, dbase::Table& to) {
            if (from.asFloat(fields::AFA::AFA.name) > 0) to.setString(fields::AFA::VATKIND.name, "P");
        });
    if (lacksFieldsOf(11, TableId::Egyseg))
        rebuild(TableId::Egyseg, 11, [](const dbase::Table& from, dbase::Table& to) {
            to.setString(fields::Egyseg::NAVUNIT.name, navUnitOf(text(from, fields::Egyseg::EGYSEG)).toStdString());
        });
    if (lacksFieldsOf(11, TableId::Fizmod))
        rebuild(TableId::Fizmod, 11, [](const dbase::Table& from, dbase::Table& to) {
            to.setString(fields::Fizmod::NAVPAYMENT.name,
                         navPaymentOf(text(from, fields::Fizmod::FIZMOD)).toStdString());
        });
    createIfMissing(TableId::NavQueue);
}

}  // namespace kavina::maintenance
