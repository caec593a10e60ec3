#pragma once
// TMunkalapr, the printed worksheet: one A4 page for the customer to sign, with the company
// block of the settings record, the customer, the times, the work and costs, the reported
// fault and the work done, and the signature lines.

#include <QImage>
#include <QString>
#include <memory>

#include "documents/worksheets/WorksheetEditor.h"
#include "report/Layout.h"

namespace kavina::documents {

// The company's texts and logo the page prints, read from the settings record.
struct WorksheetCompany {
    QString name, name2, address, phone;
    QString closingText;  // LABMUNKA
    QString pageFooter;   // LAPLABLEC
    QImage logo;
};

// The settings record's texts; the logo file (LOGOKEP) is looked up in the data folder.
WorksheetCompany worksheetCompany(const RecordCursor& settings, const QString& dataFolder);

std::unique_ptr<report::Layout> TMunkalapr(const WorksheetValues& worksheet, const WorksheetCompany& company,
                                           const QString& webAddress);

}  // namespace kavina::documents
