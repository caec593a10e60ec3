#pragma once
// A stored document as the cancellation and payment dialogs show it under its number.
#include <QChar>
#include <QDate>
#include <QString>
#include <cstdint>

#include "foundation/RecordCursor.h"

namespace kavina::documents {

struct DocumentSummary {
    uint32_t recNo = 0;
    QString number;
    QChar type;
    QString state;       // ALLAPOT
    QString name;        // "Partner neve:"
    QString place;       // IRSZAM + " " + VAROS, the first line of "Partner címe:"
    QString street;      // CIM, its second line
    QDate issued;        // "Számla kelte:"
    double payable = 0;  // "Számla összege:"
    QDate due;
    bool paid = false;
    QDate paidOn;
};

// The summary of the header the cursor stands on.
DocumentSummary summaryOf(const RecordCursor& header, uint32_t recNo);

// "Számla összege:" as the dialogs print it: the amount and " Ft".
QString payableText(double payable);

}  // namespace kavina::documents
