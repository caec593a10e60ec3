#include "shell/startup/StartupTasks.h"

#include "foundation/CatalogueFields.h"
#include "foundation/Prompt.h"
#include "foundation/RecordEdit.h"
#include "foundation/SettingsRecord.h"
#include "foundation/SzamSzov.h"
#include "maintenance/upgrade/DatabaseUpgrade.h"
#include "shell/startup/SessionState.h"
#include "shell/startup/SessionWindows.h"
#include "shell/startup/ShellContext.h"

namespace kavina::shell {
namespace {

namespace F = fields::User;

const QString kCaption = QStringLiteral("Figyelem !");

// Counters set to 1 when a year opens; those an older folder lacks are left out.
const Field kYearCounters[] = {F::SZAMLASZ, F::AJANLATSZ, F::MUNKASZ, F::GARLEVSZAM, F::SZLEVSZ,
                               F::DEFUSER,  F::DEFUSERN,  F::VISSZA,  F::SELEJT,     F::MEGRENDELO,
                               F::ELOLEG,   F::PROFORMA,  F::PKIF,    F::JOVAIR,     F::IDEIGLENES};

const std::pair<Field, Field> kAffixPairs[] = {
    {F::SELO, F::SUTO}, {F::AELO, F::AUTO}, {F::GELO, F::GUTO}, {F::MELO, F::MUTO}, {F::FELO, F::FUTO}};

QString affixCheckText() {
    return QStringLiteral(
        "Bizonylat elő vagy utótagokat kötelező kitölteni! \n\r"
        "Erre azért van szükség, hogy a bizonylatszámok ne ismétlődjenek.\n\r"
        "Az elő és utótagokat a \"beállítások\" ablak \"számlázás\" lapján tudja beállítani.");
}

bool hasFields(const TableHandle& table, std::initializer_list<Field> fields) {
    for (const Field& field : fields)
        if (!table.has(field)) return false;
    return true;
}

}  // namespace

QString yearOpeningQuestion() {
    return QStringLiteral(
        "Az új év beköszöntével a programnak a bizonylatok sorszámait le kell nulláznia.\r\n"
        "A program most ezt automatikusan elvégzi, ha az \"Igen\" gombra kattint.\r\n"
        "Szeretne most új évet nyitni?");
}

StartupTasks::StartupTasks(SessionState& state, SessionWindows& windows, MainWindowControl& window)
    : m_state(state), m_windows(windows), m_window(window) {}

void StartupTasks::run() {
    m_window.applyMenusAndRights();
    m_state.data.JogTable().locate({{fields::Jogok::FELHASZNAL, m_state.session.currentUser}});
    checkSettingsRecord();
    m_window.refreshCaption();
    upgradeDatabase();
    fixVatGroups();
    runOneOffFixes();
}

bool StartupTasks::openYear() {
    SettingsRecord record(m_state.data.UserTable());
    record.reread();
    const int year = m_state.clock().date().year();
    if (record.integer(F::SUTOTAG) >= year) return false;
    if (!m_state.prompt.askYesNo(kCaption, yearOpeningQuestion(), Icon::Warning)) return false;
    RecordEdit change = RecordEdit::edit(m_state.data.UserTable());  // re-reads the record under its lock
    if (record.integer(F::SUTOTAG) >= year) return false;
    record.setInteger(F::SUTOTAG, year);
    for (const Field& counter : kYearCounters)
        if (record.has(counter)) record.setInteger(counter, 1);
    change.post();
    return true;
}

void StartupTasks::checkSettingsRecord() {
    SettingsRecord record(m_state.data.UserTable());
    record.reread();
    if (!record.exists()) {
        appendDefaultSettingsRecord(m_state.data.UserTable(), m_state.clock().date());
        showSettings(SettingsPage::Owner);
        return;
    }
    openYear();
    record.reread();
    if (record.text(F::USER1) == QStringLiteral("Cég neve")) showSettings(SettingsPage::Owner);
    checkAffixes();
}

void StartupTasks::showSettings(SettingsPage page) {
    if (m_windows.settings(page)) m_window.applySettings();
}

void StartupTasks::checkAffixes() {
    SettingsRecord record(m_state.data.UserTable());
    record.reread();
    for (const auto& [prefix, suffix] : kAffixPairs) {
        if (!record.text(prefix).isEmpty() || !record.text(suffix).isEmpty()) continue;
        m_state.prompt.warning(kCaption, affixCheckText());
        showSettings(SettingsPage::Documents);
        return;
    }
}

// The level is written as each step ends; the window's answer also covers a folder found
// current already, whose level the ini of a new workstation did not know yet.
void StartupTasks::upgradeDatabase() {
    IniSettings& settings = m_state.settings;
    if (settings.spack >= maintenance::kUpgradeLevel) return;
    // A new workstation on a current folder: nothing to do, no window.
    const int detected = maintenance::detectedLevel(m_state.data.dataFolder());
    const int reached =
        detected >= maintenance::kUpgradeLevel ? detected : m_windows.upgrade(std::max(settings.spack, detected));
    if (reached <= settings.spack) return;
    m_state.ini->writeInteger(QString::fromLatin1(kIniSection), QStringLiteral("spack"), reached);
    settings.spack = reached;
}

void StartupTasks::fixVatGroups() {
    TableHandle& groups = m_state.data.AFATable();
    if (!groups.locate({{fields::AFA::MEGNEVEZES, QStringLiteral("FAD")}})) {
        RecordEdit added = RecordEdit::append(groups);
        groups.setString(fields::AFA::MEGNEVEZES, QStringLiteral("FAD"));
        groups.setFloat(fields::AFA::AFA, 0);
        added.post();
    }
    for (const QString& name : {QStringLiteral("T.A.M."), QStringLiteral("TAM")})
        if (groups.locate({{fields::AFA::MEGNEVEZES, name}})) groups.deleteRecord();
    groups.first();
}

void StartupTasks::runOneOffFixes() {
    IniSettings& settings = m_state.settings;
    if (settings.pkod != 1 && copyPartnerCodes()) markDone("pkod", settings.pkod);
    if (settings.nszam != 1 && recomputeNetPrices()) markDone("nszam", settings.nszam);
    if (settings.rkod != 1 && fillWarehouseLabels()) markDone("rkod", settings.rkod);
}

void StartupTasks::markDone(const char* key, int& setting) {
    m_state.ini->writeInteger(QString::fromLatin1(kIniSection), QString::fromLatin1(key), 1);
    setting = 1;
}

// Documents of older versions carry the partner only by name and postcode.
bool StartupTasks::copyPartnerCodes() {
    namespace D = fields::Szamla;
    namespace P = fields::Partner;
    TableHandle& headers = m_state.data.SzamlaTable();
    TableHandle& partners = m_state.data.PartnerTable();
    if (!hasFields(headers, {D::PARTNERKOD, D::NEV, D::IRSZAM})) return false;
    for (headers.first(); !headers.eof(); headers.next()) {
        if (!partners.locate({{P::NEV, headers.asString(D::NEV)}, {P::IRSZAM, headers.asString(D::IRSZAM)}})) continue;
        const int64_t code = partners.asInteger(P::PARTNERKOD);
        if (headers.asInteger(D::PARTNERKOD) == code) continue;
        RecordEdit change = RecordEdit::edit(headers);
        headers.setInteger(D::PARTNERKOD, code);
        change.post();
    }
    headers.first();
    partners.first();
    return true;
}

// The gross prices are the ones entered; the net ones follow from them.
bool StartupTasks::recomputeNetPrices() {
    TableHandle& products = m_state.data.AnyagTable();
    namespace A = fields::Anyag;
    static const std::pair<Field, Field> prices[] = {
        {A::BESZERZAR, A::bbesz}, {A::AR1, A::bar1}, {A::AR2, A::bar2}, {A::AR3, A::bar3}, {A::FIXAR, A::bfixar}};
    if (!hasFields(products, {A::AFAKULCS, A::bbesz, A::bar1, A::bar2, A::bar3, A::bfixar})) return false;
    for (products.first(); !products.eof(); products.next()) {
        const long double divisor = 1 + products.asFloat(A::AFAKULCS) / 100.0L;
        RecordEdit change = RecordEdit::edit(products);
        for (const auto& [net, gross] : prices)
            products.setFloat(net, double(roundTo(4, products.asFloat(gross) / divisor)));
        change.post();
    }
    products.first();
    return true;
}

// Products without a warehouse belong to the first one.
bool StartupTasks::fillWarehouseLabels() {
    TableHandle& warehouses = m_state.data.raktar();
    TableHandle& products = m_state.data.AnyagTable();
    if (!warehouses.isOpen() || warehouses.isEmpty()) return false;
    warehouses.first();
    const QString label =
        (warehouses.asString(fields::Raktar::AZON) + QLatin1Char(' ') + warehouses.asString(fields::Raktar::MEGNEVEZES))
            .trimmed();
    for (products.first(); !products.eof(); products.next()) {
        if (!products.asString(fields::Anyag::MEGJEGYZES).isEmpty()) continue;
        RecordEdit change = RecordEdit::edit(products);
        products.setString(fields::Anyag::MEGJEGYZES, label);
        change.post();
    }
    products.first();
    return true;
}

}  // namespace kavina::shell
