#include "foundation/Setup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cmath>
#include <stdexcept>

#include "foundation/SettingsRecord.h"
#include "foundation/StorableText.h"

namespace kavina {
namespace {

const QString kCaption = QStringLiteral("Figyelem !");

// The entry of the list with that name (exact spelling first, then ignoring case), else the
// first entry.
QString located(const QStringList& list, const QString& name) {
    if (list.contains(name)) return name;
    for (const QString& entry : list)
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return entry;
    return list.value(0);
}

// The warning for the first text that Windows-1250, the code page of the tables, cannot hold.
std::optional<QString> unstorableText(const SetupRecord& record) {
    for (const auto& f : setupTextFields())
        if (std::optional<QString> message = unstorableTextMessage(record.*f.member)) return message;
    return std::nullopt;
}

}  // namespace

const std::vector<SetupField<QString>>& setupTextFields() {
    using F = UserField;
    using R = SetupRecord;
    static const std::vector<SetupField<QString>> fields = {
        {&R::USER1, F::USER1},
        {&R::USER2, F::USER2},
        {&R::CIM, F::CIM},
        {&R::TELEFON, F::TELEFON},
        {&R::EMAIL, F::EMAIL},
        {&R::WEBLAP, F::WEBLAP},
        {&R::ADOSZAM, F::ADOSZAM},
        {&R::SZAMLASZAM, F::SZAMLASZAM},
        {&R::VALLALK_IG, F::VALLALK_IG},
        {&R::LABLEC1, F::LABLEC1},
        {&R::SELO, F::SELO},
        {&R::SUTO, F::SUTO},
        {&R::AELO, F::AELO},
        {&R::AUTO, F::AUTO},
        {&R::GELO, F::GELO},
        {&R::GUTO, F::GUTO},
        {&R::MELO, F::MELO},
        {&R::MUTO, F::MUTO},
        {&R::FELO, F::FELO},
        {&R::FUTO, F::FUTO},
        {&R::MEGJEGYZES, F::MEGJEGYZES},
        {&R::LABSZAMLA, F::LABSZAMLA},
        {&R::LABAJANLAT, F::LABAJANLAT},
        {&R::LABGARANC, F::LABGARANC},
        {&R::LABMUNKA, F::LABMUNKA},
        {&R::LABSZALL, F::LABSZALL},
        {&R::LABPARTNER, F::LABPARTNER},
        {&R::LABARLISTA, F::LABARLISTA},
        {&R::LAPLABLEC, F::LAPLABLEC},
        {&R::LOGOKEP, F::LOGOKEP},
    };
    return fields;
}

const std::vector<SetupField<int>>& setupIntegerFields() {
    using F = UserField;
    using R = SetupRecord;
    static const std::vector<SetupField<int>> fields = {
        {&R::PRNSZAMLA, F::PRNSZAMLA}, {&R::PRNAJANLAT, F::PRNAJANLAT}, {&R::PRNGARANC, F::PRNGARANC},
        {&R::PRNMUNKA, F::PRNMUNKA},   {&R::PRNSZL, F::PRNSZL},         {&R::SELOTAG, F::SELOTAG},
    };
    return fields;
}

const std::vector<SetupField<double>>& setupNumberFields() {
    static const std::vector<SetupField<double>> fields = {{&SetupRecord::SZORZO1, UserField::SZORZO1},
                                                           {&SetupRecord::SZORZO2, UserField::SZORZO2},
                                                           {&SetupRecord::SZORZO3, UserField::SZORZO3}};
    return fields;
}

QString affixWarning() {
    return QStringLiteral("Bizonylat elő vagy utótagokat kötelező kitölteni! ") + QStringLiteral("\n\r") +
           QStringLiteral("Erre azért van szükség, hogy a bizonylatszámok ne ismétlődjenek.") + QStringLiteral("\n\r") +
           QStringLiteral("Az elő és utótagokat a \"számlázás\" lapon tudja beállítani.");
}

bool affixPairMissing(const SetupRecord& r) {
    const auto empty = [](const QString& prefix, const QString& suffix) {
        return prefix.trimmed().isEmpty() && suffix.trimmed().isEmpty();
    };
    return empty(r.SELO, r.SUTO) || empty(r.AELO, r.AUTO) || empty(r.GELO, r.GUTO) || empty(r.MELO, r.MUTO) ||
           empty(r.FELO, r.FUTO);
}

QSize logoDisplaySize(const QSize& picture) {
    const double factor = std::max(picture.width() / 105.0, picture.height() / 100.0);
    if (factor <= 0) return {};
    return QSize(int(std::lround(picture.width() / factor)), int(std::lround(picture.height() / factor)));
}

QString copyLogoIntoDataFolder(const QString& picture, const QString& dataFolder) {
    const QFileInfo source(picture);
    const QString name = source.fileName();
    const QFileInfo target(QDir(dataFolder).filePath(name));
    // Copying a file onto itself would empty it.
    if (target.exists() && target.canonicalFilePath() == source.canonicalFilePath()) return name;
    QFile in(picture);
    if (!in.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("A kép nem olvasható: %1").arg(picture).toStdString());
    const QByteArray bytes = in.readAll();
    QSaveFile out(target.filePath());
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        throw std::runtime_error(
            QStringLiteral("A kép nem másolható az adatbázis könyvtárába: %1").arg(target.filePath()).toStdString());
    return name;
}

SetupLogic::SetupLogic(SetupData& data, IniSettings& settings, IniFile& ini, Prompt& prompt, QStringList printers)
    : m_data(data), m_settings(settings), m_ini(ini), m_prompt(prompt), m_printers(std::move(printers)) {}

SetupValues SetupLogic::open() {
    SetupValues v;
    v.record = m_data.readRecord();
    if (v.record.MEGJEGYZES.trimmed().isEmpty()) {
        v.record.MEGJEGYZES = QStringLiteral("2");
        m_data.writeRecord(v.record);
    }
    v.cashCopies = cashSaleCopiesOf(v.record.MEGJEGYZES);
    v.useLogo = !v.record.LOGOKEP.trimmed().isEmpty();
    v.settings = m_settings;
    v.printers = m_printers;
    v.vatGroups = m_data.vatGroups();
    v.settings.afakulcs = located(v.vatGroups, m_settings.afakulcs);
    v.paymentMethods = m_data.paymentMethods();
    v.settings.fizmod = located(v.paymentMethods, m_settings.fizmod);
    return v;
}

SetupLogic::Outcome SetupLogic::accept(const SetupValues& values) {
    if (affixPairMissing(values.record)) {
        m_prompt.warning(kCaption, affixWarning());
        return Outcome::ShowDocumentsPage;
    }
    if (const std::optional<QString> message = unstorableText(values.record)) {
        m_prompt.warning(QStringLiteral("Figyelem!"), *message);
        return Outcome::StayOpen;
    }
    m_data.rereadCategories();
    SetupRecord record = values.record;
    if (!values.useLogo) record.LOGOKEP.clear();
    record.MEGJEGYZES = QString::number(values.cashCopies);
    m_data.writeRecord(record);

    IniSettings next = m_settings;
    copySetupKeys(values.settings, next);
    try {
        writeSetupKeys(m_ini, next);
    } catch (const IniError& error) {
        m_prompt.error(QStringLiteral("Figyelem!"), QString::fromStdString(error.what()));
        return Outcome::StayOpen;
    }
    m_settings = next;
    return Outcome::Closed;
}

SetupLogic::Outcome SetupLogic::leave() {
    if (!affixPairMissing(m_data.readRecord())) return Outcome::Closed;
    m_prompt.warning(kCaption, affixWarning());
    return Outcome::ShowDocumentsPage;
}

bool SetupLogic::chooseLogo(SetupValues& values) {
    FileChoice choice;
    choice.caption = QStringLiteral("Logó választása");
    choice.filter = QStringLiteral("Képek (*.bmp *.jpg *.jpeg *.png *.gif)");
    const std::optional<QString> picture = m_prompt.chooseFile(choice);
    if (!picture) return false;
    const QString name = QFileInfo(*picture).fileName();
    if (const int width = fieldWidth(UserField::LOGOKEP); width > 0 && name.size() > width) {
        m_prompt.error(QStringLiteral("Figyelem!"),
                       QStringLiteral("A kép fájlneve legfeljebb %1 karakter lehet: %2").arg(width).arg(name));
        return false;
    }
    try {
        values.record.LOGOKEP = copyLogoIntoDataFolder(*picture, m_data.dataFolder());
    } catch (const std::runtime_error& error) {
        m_prompt.error(QStringLiteral("Figyelem!"), QString::fromStdString(error.what()));
        return false;
    }
    values.useLogo = true;
    return true;
}

void SetupLogic::logoTicked(SetupValues& values) {
    values.useLogo = true;
    if (values.record.LOGOKEP.trimmed().isEmpty() && !chooseLogo(values)) values.useLogo = false;
}

void SetupLogic::chooseBackupFolder(SetupValues& values) {
    const FolderChoice choice{QStringLiteral("Válasszon mappát"), values.settings.savepath};
    if (const std::optional<QString> folder = m_prompt.chooseFolder(choice)) values.settings.savepath = *folder;
}

QString SetupLogic::logoPath(const SetupValues& values) const {
    if (!values.useLogo || values.record.LOGOKEP.trimmed().isEmpty()) return {};
    return QDir(m_data.dataFolder()).filePath(values.record.LOGOKEP.trimmed());
}

}  // namespace kavina
