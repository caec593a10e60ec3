#pragma once
// The partner register's logic over the shared handles: the partner codes, the group tabs,
// new and changed partners, the lookup by partner code, group renames, the restriction of the
// documents to one partner's invoices, the address completion and the CSV export.
//
// Restrictions are filters over the stored text built by foundation/FieldFilter.h: values are
// quoted and matched whole, never as a prefix, so equal texts always match.

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "foundation/OpenedRecord.h"
#include "foundation/Prompt.h"
#include "foundation/TableHandle.h"

namespace kavina::documents {

// The partner code users type (and print as a barcode): PARTNERKOD + 4770148114995.
QString partnerCodeOf(int64_t partnerNumber);

// The first tab, all partners.
inline const QString kAllPartnersTab = QStringLiteral("Minden");

// "Minden", then the distinct non-empty partner groups (told apart without regard to case;
// the first one met in name order names the tab), in case-insensitive order. The handle keeps
// its filter and record.
QStringList groupTabs(TableHandle& partners);
// Sorts the texts in Hungarian alphabetical order, ignoring case (Áruház, Bolt, Cég, Ügynök).
void sortHungarian(QStringList& texts);
// The names of the partner groups (PCsoport.dbf), each once, in Hungarian alphabetical order;
// the handle keeps its filter and record.
QStringList groupNames(TableHandle& groups);
// The first tab shows every partner, any other only those whose group is exactly its caption.
void applyTab(TableHandle& partners, int tabIndex, const QString& caption);

// What the partner dialog edits.
struct PartnerFields {
    QString name, name2, contact, group;
    QString postcode, town, street;
    QString mailPostcode, mailTown, mailStreet;
    QString phone, fax, email;
    QString taxNumber, bankBranch, bankAccount;
    QString paymentMethod = QStringLiteral("Készpénz");
    int priceGroup = 4;    // 1-3 the product prices, 4 the fixed price
    int transferDays = 8;  // payment term of transfers
    int discount = 0;      // whole percent
    // The buyer's VAT status for the invoice data (a letter of fields::partnerVat) and its
    // community tax number.
    QString vatStatus = QStringLiteral("D");
    QString euTaxNumber;
};

// Why the dialog's tax data cannot be kept, in Hungarian: a tax number that is not of the
// 8-1-2 form or whose check digit is wrong, a domestic taxable buyer without a tax number, an
// EU buyer without a community tax number. Nothing when they can be kept.
std::optional<QString> partnerTaxProblem(const PartnerFields& fields);

PartnerFields loadPartner(const RecordCursor& partners);
// Takes the next partner number from the settings record, appends the partner and returns
// its number.
int64_t createPartner(TableHandle& partners, TableHandle& settings, const PartnerFields& fields);
// What the partner dialog's save says when the partner was deleted or changed on another
// workstation meanwhile, and the dialog's names of the fields.
OpenedRecordTexts partnerRecordTexts();
// Writes the fields into the partner the dialog was opened for (found again, asked about, see
// OpenedRecord::save); its number and code stay. False when the clerk kept the other
// workstation's change.
bool savePartner(OpenedRecord& opened, TableHandle& partners, Prompt& prompt, const PartnerFields& fields);

// Moves to the partner whose code (VONALKOD) is exactly the text; false when there is none.
bool findByPartnerCode(TableHandle& partners, const QString& code);

// Renames a group in every partner that has exactly the old name, whatever the handle shows;
// the handle's filter and record are kept.
void renameGroup(TableHandle& partners, const QString& from, const QString& to);

// Restricts the document headers to the invoices of the partner (same name and street),
// only the unpaid ones when asked; returns how many there are.
int restrictToInvoices(TableHandle& documents, const QString& name, const QString& street, bool unpaidOnly);
// Removes the restriction, keeping the current record.
void clearRestriction(TableHandle& documents);

// The completion of the partner dialog's addresses from the settlements table. A postcode of
// exactly 4 characters with the town still empty gives the town of the first settlement, in
// name order, whose postcode begins with it (case ignored); a town with the postcode still
// empty gives the postcode of the settlement of exactly that name. Nothing otherwise.
std::optional<QString> completeTown(TableHandle& settlements, const QString& postcode, const QString& town);
std::optional<QString> completePostcode(TableHandle& settlements, const QString& town, const QString& postcode);

// Writes the partners the handle shows, in its order, as the CSV file of the register
// (Windows-1250, ";" between fields, CR LF); through a temporary file, so a failure leaves no
// partial file. The handle returns to its record. Throws std::runtime_error on a write error.
void exportPartnersCsv(TableHandle& partners, const QString& path);

}  // namespace kavina::documents
