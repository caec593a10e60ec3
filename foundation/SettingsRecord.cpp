#include "foundation/SettingsRecord.h"

#include <cmath>

#include "foundation/Catalogue.h"
#include "foundation/SzamSzov.h"

namespace kavina {
namespace {

const char* const kNames[] = {
    "USER1",      "USER2",      "CIM",        "TELEFON",    "ADOSZAM",    "SZAMLASZAM", "VALLALK_IG", "WEBLAP",
    "EMAIL",      "LABLEC1",    "LABLEC2",    "LABSZAMLA",  "LABAJANLAT", "LABSZALL",   "LABGARANC",  "LABMUNKA",
    "LABARLISTA", "LABPARTNER", "LAPLABLEC",  "LOGOKEP",    "MEGJEGYZES", "HATARIDO",   "SZORZO1",    "SZORZO2",
    "SZORZO3",    "PARTNERKOD", "ANYAGKOD",   "SZAMLASZ",   "AJANLATSZ",  "MUNKASZ",    "GARLEVSZAM", "SZLEVSZ",
    "VISSZA",     "SELEJT",     "MEGRENDELO", "IDEIGLENES", "ELOLEG",     "PROFORMA",   "PKIF",       "JOVAIR",
    "DEFUSER",    "DEFUSERN",   "SELOTAG",    "SUTOTAG",    "SELO",       "SUTO",       "AELO",       "AUTO",
    "FELO",       "FUTO",       "GELO",       "GUTO",       "MELO",       "MUTO",       "PRNSZAMLA",  "PRNAJANLAT",
    "PRNMUNKA",   "PRNGARANC",  "PRNSZL",
};
static_assert(std::size(kNames) == size_t(UserField::PRNSZL) + 1);

}  // namespace

const char* fieldName(UserField field) {
    return kNames[size_t(field)];
}

int fieldWidth(UserField field) {
    const dbase::FieldDef* def = catalogue::table(TableId::User).field(fieldName(field));
    return def && def->type == dbase::FieldType::Character ? def->width : 0;
}

int cashSaleCopiesOf(const QString& text) {
    bool ok = false;
    const double value = QString(text).trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0 || value > 9999) return 2;
    return int(floatToInteger(value));
}

void SettingsRecord::reread() {
    m_table.refresh();
    m_table.first();
}

bool SettingsRecord::has(UserField field) const {
    return m_table.fieldIndex(fieldName(field)) >= 0;
}

QString SettingsRecord::text(UserField field) const {
    return has(field) ? m_table.asString(fieldName(field)) : QString();
}

int64_t SettingsRecord::integer(UserField field) const {
    return has(field) ? m_table.asInteger(fieldName(field)) : 0;
}

double SettingsRecord::number(UserField field) const {
    return has(field) ? m_table.asFloat(fieldName(field)) : 0.0;
}

void SettingsRecord::setText(UserField field, const QString& value) {
    m_table.setString(fieldName(field), value);
}

void SettingsRecord::setInteger(UserField field, int64_t value) {
    m_table.setInteger(fieldName(field), value);
}

void SettingsRecord::setNumber(UserField field, double value) {
    m_table.setFloat(fieldName(field), value);
}

void appendDefaultSettingsRecord(TableHandle& userTable, const QDate& today) {
    using F = UserField;
    SettingsRecord record(userTable);
    userTable.append();
    record.setText(F::USER1, QStringLiteral("Cég neve"));
    record.setText(F::CIM, QStringLiteral("1234 Város, Utca hsz."));
    record.setText(F::TELEFON, QStringLiteral("Tel.: (42)123-456  FAX: (42)999-999"));
    record.setText(F::ADOSZAM, QStringLiteral("Adószám: 00000000-0-00"));
    record.setText(F::SZAMLASZAM, QStringLiteral("OTP Bankszámlaszám: 00000000-00000000"));
    record.setText(F::VALLALK_IG, QStringLiteral("Cégjegyzék szám:"));
    record.setText(F::WEBLAP, QStringLiteral("Honlap: www.example.hu"));
    record.setText(F::EMAIL, QStringLiteral("E-mail: info@example.hu"));
    record.setInteger(F::HATARIDO, 8);
    record.setText(F::LABLEC1, QStringLiteral("Köz asz.: 00000000"));
    record.setText(F::LABLEC2, QStringLiteral("A fenti feltételeket elfogadom !"));
    record.setNumber(F::SZORZO1, 15);
    record.setNumber(F::SZORZO2, 20);
    record.setNumber(F::SZORZO3, 25);
    record.setInteger(F::PARTNERKOD, 0);
    record.setInteger(F::ANYAGKOD, 0);
    for (F counter : {F::SZAMLASZ, F::AJANLATSZ, F::MUNKASZ, F::GARLEVSZAM, F::SZLEVSZ}) record.setInteger(counter, 1);
    record.setInteger(F::SELOTAG, 1);
    record.setInteger(F::SUTOTAG, today.year());
    for (F copies : {F::PRNSZAMLA, F::PRNAJANLAT, F::PRNMUNKA, F::PRNGARANC, F::PRNSZL}) record.setInteger(copies, 2);
    record.setText(F::AELO, QStringLiteral("ARA"));
    record.setText(F::GELO, QStringLiteral("GAR"));
    record.setText(F::FELO, QStringLiteral("SZL"));
    record.setText(F::MELO, QStringLiteral("MUN"));
    record.setText(F::SELO, QStringLiteral("SZA"));
    userTable.post();
}

}  // namespace kavina
