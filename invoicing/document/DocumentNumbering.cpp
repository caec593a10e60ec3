#include "invoicing/document/DocumentNumbering.h"

#include "foundation/RecordEdit.h"
#include "foundation/TextFormat.h"

namespace kavina::invoicing {

namespace {

QString settingText(const RecordCursor& settings, const Field* field) {
    return field ? settings.asString(*field).trimmed() : QString();
}

// Five digits at least; a longer counter is written whole.
QString counterText(const RecordCursor& settings, const Field& field) {
    const int64_t counter = settings.isNull(field) ? 0 : settings.asInteger(field);
    return QStringLiteral("%1").arg(counter, 5, 10, QLatin1Char('0'));
}

// Runs change on the settings record, read again from disk and put into edit (the edit locks
// it and reads it once more under the lock, so the change works on the current values), and
// stores it; a failure leaves it unchanged.
template <typename Change>
auto changeSettings(TableHandle& settings, Change change) {
    settings.refresh();
    settings.first();
    RecordEdit locked = RecordEdit::edit(settings);
    auto result = change();
    locked.post();
    return result;
}

bool setWhenEmpty(RecordCursor& settings, const Field& field) {
    if (!settings.isNull(field)) return false;
    settings.setInteger(field, 1);
    return true;
}

}  // namespace

QString composeNumber(NumberKind kind, const RecordCursor& settings, const QDate& today) {
    const NumberRule& rule = numberRule(kind);
    // The year of the day the number is made, not of the document's dates.
    const QString year = dateText(today).left(4);
    const QString prefix =
        rule.fixedPrefix ? QString::fromUtf8(rule.fixedPrefix) : settingText(settings, rule.prefixField);
    return prefix + year + QLatin1Char('/') + counterText(settings, rule.counterField) +
           settingText(settings, rule.suffixField);
}

QString takeNumber(NumberKind kind, TableHandle& settings, const QDate& today) {
    return changeSettings(settings, [&] {
        setWhenEmpty(settings, fields::User::DEFUSER);
        // An empty goods-receipt counter starts at 1 as the cash-sale one does, so that the
        // first receipt of a folder is not numbered 00000.
        if (kind == NumberKind::GoodsReceipt) setWhenEmpty(settings, fields::User::DEFUSERN);
        const Field& counter = numberRule(kind).counterField;
        const QString number = composeNumber(kind, settings, today);
        settings.setInteger(counter, settings.asInteger(counter) + 1);
        return number;
    });
}

void ensureCounterSet(TableHandle& settings, const Field& counterField) {
    settings.refresh();
    settings.first();
    if (!settings.isNull(counterField)) return;
    RecordEdit locked = RecordEdit::edit(settings);
    if (setWhenEmpty(settings, counterField)) locked.post();
}

void recordIssueDate(IniFile& ini, IniSettings& settings, NumberKind kind, const QDate& issued) {
    const bool invoice = kind == NumberKind::Invoice || kind == NumberKind::Corrective;
    if (!invoice && kind != NumberKind::Proforma) return;
    ini.writeDate(QStringLiteral("adatok"), invoice ? QStringLiteral("szamDate") : QStringLiteral("proDate"), issued);
    (invoice ? settings.szamDate : settings.proDate) = issued;
}

bool dateBeforeLastInvoice(const IniSettings& settings, const QDate& today) {
    return today < settings.szamDate;
}

}  // namespace kavina::invoicing
