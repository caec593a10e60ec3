#include "shell/startup/Startup.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

#include "dbase/DbError.h"
#include "dbase/File.h"
#include "dbase/Transaction.h"
#include "foundation/CatalogueFields.h"
#include "foundation/FieldFilter.h"
#include "foundation/NewDataFolder.h"
#include "foundation/PrinterList.h"
#include "foundation/Prompt.h"
#include "foundation/RecordEdit.h"
#include "maintenance/backup/RestoreSwap.h"
#include "maintenance/reindex/Reindex.h"
#include "maintenance/upgrade/TableRebuild.h"
#include "shell/startup/SessionState.h"
#include "shell/startup/SessionWindows.h"
#include "shell/users/Login.h"

namespace kavina::shell {

using maintenance::fullReindexNeeded;
using maintenance::hasIndexFile;
using maintenance::optionalIndexMissing;
using maintenance::rebuildTable;

namespace {

const QString kCaption = QStringLiteral("Figyelem!");

// The tables start-up opens after the sign-in, in this order; optional ones only when there.
const TableId kRemainingTables[] = {
    TableId::Partner,  TableId::Anyag,  TableId::Kategoria,  TableId::Raktar,    TableId::Vonalkod,
    TableId::PCsoport, TableId::Telep,  TableId::Fizmod,     TableId::Szamla,    TableId::Szamla2,
    TableId::AFA,      TableId::Egyseg, TableId::Garancia,   TableId::Garancia2, TableId::Arcsoport,
    TableId::Munkalap, TableId::Akcio,  TableId::Tranzakcio,
};

QString missingFolderText(const QString& folder) {
    return QStringLiteral(
               "A rendszer nem találja a megadott elérési utat!\n"
               "Az adatbázis nem található a(z) %1 könyvtárban!\n\n"
               "Lehetséges, hogy hálózati meghajtó nincs csatlakoztatva, vagy az elérési út hibásan van "
               "bejegyzezve a kavinaextra.ini fájlban. Kérem, ellenőrizze a \"database\" kulcshoz rendelt "
               "bejegyzést.")
        .arg(folder);
}

QString noTablesText(const QString& folder) {
    return QStringLiteral(
               "A(z) %1 könyvtárban nincs Kavina adatbázis!\n\n"
               "Létrehozza most ebben a könyvtárban a program új, üres adatbázisát?")
        .arg(folder);
}

QString missingSettingsTableText(const QString& folder) {
    return QStringLiteral(
               "A(z) %1 könyvtár nem Kavina adatbázis: hiányzik belőle a beállítások táblája (%2).\n\n"
               "Kérem, ellenőrizze a kavinaextra.ini fájlban a \"database\" kulcshoz rendelt bejegyzést.")
        .arg(folder, QString::fromStdString(catalogue::table(TableId::User).fileName));
}

// Whether the folder holds a file of that name, compared without regard to case as the engine
// matches table files.
bool holdsFile(const QDir& folder, const QString& name) {
    for (const QString& entry : folder.entryList(QDir::Files))
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

QString missingPrinterText() {
    return QStringLiteral(
        "A rendszer nem talál telepített nyomtatót!\n\n"
        "A program használatához mindenképpen szükség van nyomtatóra, ezért kérem csatlakoztassa és "
        "telepítse azt. ");
}

QString exclusiveUseText() {
    return QStringLiteral(
        "A program adatbázisa kizárólagos használatban van!\n\n"
        "Lehet, hogy a rendszergazda karbantartást végez a program adatbázisain.\n"
        "A belépéshez kérjen segítséget a rendszergazdától, vagy próbálkozzon később.");
}

}  // namespace

QString damagedJournalText(const QString& keptJournal) {
    return QStringLiteral(
               "Egy korábbi mentés félbeszakadt, és a visszaállításához szükséges napló sérült volt, ezért a program "
               "nem tudta teljes egészében visszaállítani az adatbázist.\n"
               "A naplót a program félretette: %1\n\n"
               "Kérje meg a rendszergazdát, hogy ellenőrizze az adatbázist és a legutóbb mentett bizonylatokat, majd "
               "törölje ezt a fájlt.")
        .arg(keptJournal);
}

QString crashBoxText() {
    return QStringLiteral(
        "Figyelem!\n\n"
        "A Kavina program a legutóbbi használat során szabálytalanul lett leállítva! \n"
        "Ennek oka számítógép lefagyás, vagy áramszünet lehet.\n"
        "Használat előtt a program frissíteni fogja az adatbázis indexeit.");
}

void writeNewIniFile(const QString& path, const QString& dataFolder) {
    QString folder = dataFolder;
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    QSaveFile file(path);
    const QByteArray text = QStringLiteral("[adatok]\ndatabase='%1'\n").arg(folder).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        throw IniError(QStringLiteral("A(z) %1 fájl nem írható: %2").arg(path, file.errorString()).toStdString());
}

Startup::Startup(SessionState& state, SessionWindows& windows, QStringList systemPrinters, QString systemDefaultPrinter)
    : m_state(state),
      m_windows(windows),
      m_systemPrinters(std::move(systemPrinters)),
      m_systemDefault(std::move(systemDefaultPrinter)) {}

StartupOutcome Startup::run() {
    if (!ensureIniFile()) return StartupOutcome::Exit;
    readIni();
    if (!checkDataFolder() || !checkPrinter()) return StartupOutcome::Exit;
    m_state.bindTables();
    finishInterruptedRestore();
    if (!openSettingsTable()) return StartupOutcome::Exit;
    reportDamagedJournal();
    openUserTables();
    if (!signIn()) return StartupOutcome::Exit;
    afterSignIn();
    markRunning();
    reindexWhereNeeded();
    openRemainingTables();
    fixCashSaleTypes();
    return StartupOutcome::Run;
}

// A first start makes the ini file through the folder dialog; it is not taken for a crash.
bool Startup::ensureIniFile() {
    if (QFileInfo::exists(m_state.iniPath())) return true;
    const std::optional<QString> folder = m_windows.chooseDataFolder();
    if (!folder) return false;
    writeNewIniFile(m_state.iniPath(), *folder);
    m_state.reloadIni();
    m_state.ini->writeInteger(QString::fromLatin1(kIniSection), QStringLiteral("kilepett"), 1);
    return true;
}

void Startup::readIni() {
    m_state.reloadIni();
    const int defaultPrinter = defaultPrinterIndex(m_systemPrinters, m_systemDefault);
    m_state.settings = loadIniSettings(*m_state.ini, m_state.programFolder, defaultPrinter);
    m_lastRunEndedCleanly = m_state.settings.kilepett != 0;
    m_autoindex = m_state.settings.autoindex == 1;
    m_state.session.dataFolder = m_state.settings.dataFolder(m_state.programFolder);
}

bool Startup::checkDataFolder() {
    const QString folder = m_state.session.dataFolder;
    if (!QFileInfo(folder).isDir()) {
        m_state.prompt.error(kCaption, missingFolderText(folder));
        return false;
    }
    return checkTablesInFolder(folder);
}

// A folder without the settings table is no data folder: the engine would only say that a
// table does not exist. A folder without any table is a new installation and may get a new,
// empty data folder; one holding other tables is left alone.
bool Startup::checkTablesInFolder(const QString& folder) {
    const QDir dir(folder);
    if (holdsFile(dir, QString::fromStdString(catalogue::table(TableId::User).fileName))) return true;
    if (!dir.entryList({QStringLiteral("*.dbf"), QStringLiteral("*.DBF")}, QDir::Files).isEmpty()) {
        m_state.prompt.error(kCaption, missingSettingsTableText(folder));
        return false;
    }
    if (!m_state.prompt.askYesNo(kCaption, noTablesText(folder), Icon::Question)) return false;
    createDataFolder(folder.toStdString(), {.today = m_state.clock().date()});
    return true;
}

// The program's PDF printer stands in for a missing system printer unless switched off.
bool Startup::checkPrinter() {
    const bool pdfPrinter =
        pdfPrinterSetting(m_state.ini->readString(QString::fromLatin1(kIniSection), QStringLiteral("pdfprinter")))
            .enabled;
    if (pdfPrinter || !m_systemPrinters.isEmpty()) return true;
    m_state.prompt.error(kCaption, missingPrinterText());
    return false;
}

// A reindex elsewhere holds user.dbf exclusively; any other failure is not ours to explain.
bool Startup::openSettingsTable() {
    try {
        m_state.data.openTable(TableId::User);
        return true;
    } catch (const dbase::DbError& e) {
        if (!e.contains(dbase::errtext::kTableBusy)) throw;
        m_state.prompt.warning(kCaption, exclusiveUseText());
        return false;
    }
}

// A restore that stopped during its swap is finished before any table is opened, so that no
// instance works on a mix of old and restored tables. While another instance restores, the
// settings table's open that follows turns this one away.
void Startup::finishInterruptedRestore() {
    // A table swap of an upgrade that died is finished too: until then its table may be missing.
    maintenance::recoverRebuilds(m_state.data.dataFolder());
    try {
        if (maintenance::finishInterruptedRestore(m_state.data.dataFolder()))
            m_state.prompt.information(kCaption, QStringLiteral("A legutóbbi adatvisszatöltés megszakadt. A program "
                                                                "most befejezte: az adatok a mentés szerintiek."));
    } catch (const dbase::DbError& e) {
        if (!e.contains(dbase::errtext::kTableBusy)) throw;
    }
}

// The first table opened rolled back what a dead save left. A journal that could not be
// rolled back in full is kept beside the tables, and every start says so until the
// administrator has looked at the folder and deleted it.
void Startup::reportDamagedJournal() {
    QStringList kept;
    for (const std::string& path : dbase::keptDamagedJournals(m_state.data.dataFolder()))
        kept << QString::fromStdString(path);
    if (!kept.isEmpty()) m_state.prompt.warning(kCaption, damagedJournalText(kept.join(QLatin1Char('\n'))));
}

void Startup::openUserTables() {
    const std::string folder = m_state.data.dataFolder();
    if (!hasIndexFile(folder, TableId::Userlog)) rebuildTable(m_state.data, TableId::Userlog);
    m_state.data.openTable(TableId::Userlog);
    m_state.log->purgeStale();
    if (!hasIndexFile(folder, TableId::Jogok)) rebuildTable(m_state.data, TableId::Jogok);
    m_state.data.openTable(TableId::Jogok);
}

bool Startup::signIn() {
    Login login(m_state.data.JogTable(), *m_state.log, m_state.session, m_state.prompt, m_state.clock);
    if (login.signInAutomatically()) return true;
    return m_windows.login();
}

void Startup::afterSignIn() {
    TableHandle& users = m_state.data.JogTable();
    users.locate({{fields::Jogok::FELHASZNAL, m_state.session.currentUser}});
    Login(users, *m_state.log, m_state.session, m_state.prompt, m_state.clock).takeRights();
    if (m_state.settings.nologo != 1) m_windows.showSplash();
}

void Startup::markRunning() {
    m_state.ini->writeInteger(QString::fromLatin1(kIniSection), QStringLiteral("kilepett"), 0);
    m_state.settings.kilepett = 0;
    if (!m_lastRunEndedCleanly) m_state.prompt.information(kCaption, crashBoxText());
}

void Startup::reindexWhereNeeded() {
    const std::string folder = m_state.data.dataFolder();
    if (fullReindexNeeded(folder, m_lastRunEndedCleanly, m_autoindex)) m_windows.reindex();
    for (TableId id : {TableId::Raktar, TableId::Vonalkod})
        if (optionalIndexMissing(folder, id)) m_windows.reindex();
}

void Startup::openRemainingTables() {
    for (TableId id : kRemainingTables) m_state.data.openTable(id);
}

// Cash-register sales of older versions were stored with the invoice type. Their numbers all
// start with "PGÉ": only that stretch of the number tag is read, so that a start does not read
// every document header (a table without the tag is walked through the filter).
void Startup::fixCashSaleTypes() {
    TableHandle& headers = m_state.data.SzamlaTable();
    namespace D = fields::Szamla;
    const QString prefix = QStringLiteral("PGÉ");
    const std::vector<std::string> tags = headers.table().tagNames();
    if (std::find(tags.begin(), tags.end(), D::SZAMLASZAM.text()) != tags.end()) {
        const std::string order = headers.order();
        headers.setOrder(D::SZAMLASZAM);
        for (bool more = headers.findNearest(prefix.toStdString());
             more && !headers.eof() && headers.asString(D::SZAMLASZAM).startsWith(prefix); headers.next()) {
            if (headers.asString(D::SZAMLATIP) != QStringLiteral("S")) continue;
            RecordEdit change = RecordEdit::edit(headers);
            headers.setString(D::SZAMLATIP, QStringLiteral("2"));
            change.post();
        }
        headers.setOrder(order);
        return;
    }
    headers.setFilter(
        filter::allOf({filter::beginsWith(D::SZAMLASZAM, prefix), filter::equals(D::SZAMLATIP, QStringLiteral("S"))}));
    headers.setFiltered(true);
    // Each changed header leaves the filter, so the first one left is always the next to do.
    for (headers.first(); !headers.isEmpty() && !headers.eof(); headers.first()) {
        RecordEdit change = RecordEdit::edit(headers);
        headers.setString(D::SZAMLATIP, QStringLiteral("2"));
        change.post();
    }
    headers.setFiltered(false);
    headers.setFilter(std::string());
    headers.first();
}

}  // namespace kavina::shell
