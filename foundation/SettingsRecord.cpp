#include "foundation/SettingsRecord.h"

#include <cmath>

#include "foundation/Catalogue.h"
#include "foundation/RecordEdit.h"
#include "foundation/SzamSzov.h"

namespace kavina {

int fieldWidth(const Field& field) {
    const dbase::FieldDef* def = catalogue::table(TableId::User).field(field.name);
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

bool SettingsRecord::has(const Field& field) const {
    return m_table.has(field);
}

QString SettingsRecord::text(const Field& field) const {
    return has(field) ? m_table.asString(field) : QString();
}

int64_t SettingsRecord::integer(const Field& field) const {
    return has(field) ? m_table.asInteger(field) : 0;
}

double SettingsRecord::number(const Field& field) const {
    return has(field) ? m_table.asFloat(field) : 0.0;
}

void SettingsRecord::setText(const Field& field, const QString& value) {
    m_table.setString(field, value);
}

void SettingsRecord::setInteger(const Field& field, int64_t value) {
    m_table.setInteger(field, value);
}

void SettingsRecord::setNumber(const Field& field, double value) {
    m_table.setFloat(field, value);
}

bool fillEmptyCashSaleCopies(TableHandle& userTable) {
    if (!userTable.isOpen()) return false;
    SettingsRecord record(userTable);
    record.reread();
    if (!record.exists() || !record.text(fields::User::MEGJEGYZES).isEmpty()) return false;
    RecordEdit change = RecordEdit::edit(userTable);
    record.setText(fields::User::MEGJEGYZES, QStringLiteral("2"));
    change.post();
    return true;
}

void appendDefaultSettingsRecord(TableHandle& userTable, const QDate& today) {
    namespace F = fields::User;
    SettingsRecord record(userTable);
    RecordEdit added = RecordEdit::append(userTable);
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
    for (const Field& counter : {F::SZAMLASZ, F::AJANLATSZ, F::MUNKASZ, F::GARLEVSZAM, F::SZLEVSZ})
        record.setInteger(counter, 1);
    record.setInteger(F::SELOTAG, 1);
    record.setInteger(F::SUTOTAG, today.year());
    for (const Field& copies : {F::PRNSZAMLA, F::PRNAJANLAT, F::PRNMUNKA, F::PRNGARANC, F::PRNSZL})
        record.setInteger(copies, 2);
    record.setText(F::AELO, QStringLiteral("ARA"));
    record.setText(F::GELO, QStringLiteral("GAR"));
    record.setText(F::FELO, QStringLiteral("SZL"));
    record.setText(F::MELO, QStringLiteral("MUN"));
    record.setText(F::SELO, QStringLiteral("SZA"));
    added.post();
}

int64_t takeCode(TableHandle& userTable, const Field& counterField) {
    userTable.refresh();
    userTable.first();
    RecordEdit locked = RecordEdit::edit(userTable);
    const int64_t code = (userTable.isNull(counterField) ? 0 : userTable.asInteger(counterField)) + 1;
    userTable.setInteger(counterField, code);
    locked.post();
    return code;
}

}  // namespace kavina
