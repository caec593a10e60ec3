#include "foundation/NavCodes.h"

#include <QHash>

namespace kavina {

namespace {

QString key(const QString& name) {
    QString k = name.trimmed().toLower();
    if (k.endsWith(QLatin1Char('.'))) k.chop(1);
    return k;
}

}  // namespace

QString navUnitOf(const QString& unitName) {
    static const QHash<QString, QString> units{
        {QStringLiteral("db"), QStringLiteral("PIECE")},       {QStringLiteral("darab"), QStringLiteral("PIECE")},
        {QStringLiteral("kg"), QStringLiteral("KILOGRAM")},    {QStringLiteral("t"), QStringLiteral("TON")},
        {QStringLiteral("tonna"), QStringLiteral("TON")},      {QStringLiteral("kwh"), QStringLiteral("KWH")},
        {QStringLiteral("nap"), QStringLiteral("DAY")},        {QStringLiteral("óra"), QStringLiteral("HOUR")},
        {QStringLiteral("perc"), QStringLiteral("MINUTE")},    {QStringLiteral("hó"), QStringLiteral("MONTH")},
        {QStringLiteral("hónap"), QStringLiteral("MONTH")},    {QStringLiteral("l"), QStringLiteral("LITER")},
        {QStringLiteral("liter"), QStringLiteral("LITER")},    {QStringLiteral("km"), QStringLiteral("KILOMETER")},
        {QStringLiteral("m3"), QStringLiteral("CUBIC_METER")}, {QStringLiteral("m³"), QStringLiteral("CUBIC_METER")},
        {QStringLiteral("m"), QStringLiteral("METER")},        {QStringLiteral("fm"), QStringLiteral("LINEAR_METER")},
        {QStringLiteral("karton"), QStringLiteral("CARTON")},  {QStringLiteral("csomag"), QStringLiteral("PACK")},
        {QStringLiteral("csom"), QStringLiteral("PACK")},
    };
    return units.value(key(unitName), QStringLiteral("OWN"));
}

QString navPaymentOf(const QString& methodName) {
    const QString k = key(methodName);
    if (k.startsWith(QStringLiteral("átutal"))) return QStringLiteral("TRANSFER");
    if (k.startsWith(QStringLiteral("készpénz"))) return QStringLiteral("CASH");
    if (k.contains(QStringLiteral("kártya"))) return QStringLiteral("CARD");
    if (k.startsWith(QStringLiteral("utalvány"))) return QStringLiteral("VOUCHER");
    return QStringLiteral("OTHER");
}

const QStringList& navUnits() {
    static const QStringList units{
        QStringLiteral("PIECE"),        QStringLiteral("KILOGRAM"),    QStringLiteral("TON"),
        QStringLiteral("KWH"),          QStringLiteral("DAY"),         QStringLiteral("HOUR"),
        QStringLiteral("MINUTE"),       QStringLiteral("MONTH"),       QStringLiteral("LITER"),
        QStringLiteral("KILOMETER"),    QStringLiteral("CUBIC_METER"), QStringLiteral("METER"),
        QStringLiteral("LINEAR_METER"), QStringLiteral("CARTON"),      QStringLiteral("PACK"),
        QStringLiteral("OWN")};
    return units;
}

const QStringList& navPaymentMethods() {
    static const QStringList methods{QStringLiteral("TRANSFER"), QStringLiteral("CASH"), QStringLiteral("CARD"),
                                     QStringLiteral("VOUCHER"), QStringLiteral("OTHER")};
    return methods;
}

}  // namespace kavina
