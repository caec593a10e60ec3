#pragma once
// TGaranciar, the printed warranty certificate: portrait A4, the seller and the buyer, the
// dates and the number, one row per line (name, serial number, quantity, unit, net unit
// price), the warranty conditions of the settings record, and the footer.

#include <QImage>
#include <QString>
#include <memory>

#include "documents/warranty/WarrantyEditor.h"
#include "report/Layout.h"

namespace kavina::documents {

struct WarrantySeller {
    QString name, name2, address, phone, bankAccount, taxNumber;
    QString conditions;  // LABGARANC
    QString pageFooter;  // LAPLABLEC
    QImage logo;
};

// The settings record's texts; the logo file (LOGOKEP) is looked up in the data folder.
WarrantySeller warrantySeller(const RecordCursor& settings, const QString& dataFolder);

// The layout over the certificate (its lines are the detail records); prepare() it.
std::unique_ptr<report::Layout> TGaranciar(WarrantyDocument& certificate, const WarrantySeller& seller,
                                           const QString& currentUser, const QString& webAddress);

}  // namespace kavina::documents
