#pragma once
// The tax authority's codes the lookup tables map to: units of measure and payment methods.
// A new data folder and the upgrade of an older one fill the mapping from the names the clerk
// sees; the clerk may change it afterwards in the lookup tables.

#include <QString>
#include <QStringList>

namespace kavina {

// The authority's unit for a unit name ("db" PIECE, "kg" KILOGRAM, "óra" HOUR...), ignoring
// case and a closing dot; OWN for a name it has no unit for.
QString navUnitOf(const QString& unitName);

// The authority's payment method for a payment method's name ("Átutalás" TRANSFER, "Készpénz"
// CASH, "Bankkártya" CARD, "Utalvány" VOUCHER); OTHER for any other name.
QString navPaymentOf(const QString& methodName);

// Every value of the authority's unit enumeration, OWN included.
const QStringList& navUnits();
// TRANSFER, CASH, CARD, VOUCHER and OTHER.
const QStringList& navPaymentMethods();

}  // namespace kavina
