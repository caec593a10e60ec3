#pragma once
// The warranty certificate editor's logic ("Garancialevél készítése"). The certificate is built
// in memory (a header and its lines, with the fields of garancia.dbf and garancia2.DBF) and
// reaches the tables only when it is saved, in one transaction: a new one takes its number
// there; a modification replaces the stored one under the same number, found by that number,
// appending the new lines before it removes the old ones, so an interrupted save keeps the old
// version whole. A stored certificate another workstation changed since it was opened is only
// overwritten when the clerk says so. Printing follows the commit.

#include <QDate>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "foundation/MemTable.h"
#include "foundation/TDataModule1.h"

namespace kavina {
class Prompt;
}

namespace kavina::documents {

// The certificate being edited: gari (one header record) and gari2 (its lines), with the
// fields of the tables so the catalogue's constants name them.
struct WarrantyDocument {
    WarrantyDocument();
    MemTable gari{"garancia.dbf"};
    MemTable gari2{"garancia2.DBF"};
};

// What the editor opens and prints through.
class WarrantyWindows {
public:
    virtual ~WarrantyWindows() = default;
    // The partner picker; true when a partner was picked (the partner handle stands on it).
    virtual bool pickPartner() = 0;
    // This year's invoices in the register; the number of the one picked, or nothing.
    virtual std::optional<QString> pickInvoice() = 0;
    // The product picker in the warranty editor's mode: appends the lines of the pieces picked
    // to the document's lines. True when lines were added.
    virtual bool pickLines(WarrantyDocument& document) = 0;
    virtual void preview(const WarrantyDocument& document) = 0;
    // Prints the stored certificate of that number copies times. Throws when the printer fails.
    virtual void print(const QString& number, int copies) = 0;
};

struct WarrantyContext {
    TDataModule1& data;
    Prompt& prompt;
    WarrantyWindows& windows;
    QString currentUser;
    std::function<QDate()> today;
};

// The invoices a certificate is filled from: this year's (KIALLIT) invoices and stornos
// (SZAMLATIP "B" or "S").
std::string warrantyInvoiceFilter(const QDate& today);

// Reads the stored certificate of that number, header and lines; false when there is none.
bool loadWarranty(TDataModule1& data, const QString& number, WarrantyDocument& into);

// The end of the warranty suggested for certificate lines starting on a day: the longest of
// the lines' products' own warranty (szavatossag, days) where set, otherwise the statutory
// minimum for consumer durables by gross unit price (1 year from 10 000 Ft, 2 years from
// 100 000 Ft, 3 years above 250 000 Ft); one year when nothing else applies. A year from
// 29 February ends on 28 February.
QDate suggestedWarrantyEnd(const QDate& start, TDataModule1& data, MemTable& lines);

class WarrantyEditor {
public:
    explicit WarrantyEditor(WarrantyContext context);

    void openNew();
    // The stored certificate of that number; false (told) when there is none.
    bool openStored(const QString& number);

    bool isNew() const { return m_new; }
    WarrantyDocument& document() { return m_doc; }

    bool pickPartner();
    // Copies the picked invoice's customer and one line per whole piece of its goods.
    bool pickInvoice();
    // Copies the stored invoice of that number, as pickInvoice does.
    void fillFromInvoice(const QString& invoiceNumber);
    bool pickLines();
    // "Gyáriszám": the serial number of the current line through the text prompt.
    void editSerial();
    // "Törlés": the current line, after the question.
    void deleteLine();
    // The clerk changed the end date: later lines no longer move it.
    void endDateTyped() { m_endSuggested = false; }
    void preview();

    // "&Nyomtatás": the copies dialog, the save and the print. True when the editor closes;
    // leaving the copies dialog keeps it open with its certificate.
    bool save();
    // "&Kilépés" and Esc: true when the editor may close.
    bool leave();

private:
    void stampDefaults();
    void suggestEnd();
    void storeNew();
    bool storeModification();
    void writeHeader(TableHandle& headers) const;
    void appendLines(TableHandle& lines, const QString& number) const;
    // The stored certificate's header and lines as text, to notice another workstation's change.
    QStringList storedState(TableHandle& headers, TableHandle& lines, const QString& number) const;

    WarrantyContext m_context;
    WarrantyDocument m_doc;
    QStringList m_openedState;
    bool m_new = true;
    bool m_saved = false;
    bool m_endSuggested = true;
};

QString leaveNewWarrantyQuestion();
QString leaveWarrantyQuestion();
QString deleteWarrantyLineQuestion();

}  // namespace kavina::documents
