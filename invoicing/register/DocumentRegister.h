#pragma once
// What the document register window (TSzamlak) does, apart from drawing it: the list with its
// archive toggle, the search by the current sort key, sorting by the four titles, the row
// colours, which buttons and columns the list shows, choosing a document in selection mode,
// the agent data, the copy reprint, the preview and the printed list. It works on the shared
// documents handle as the caller filtered it; the lines follow it through their master link.
// Dialogs and printing come through DocumentWindows, messages through the Prompt.

#include <QDate>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "foundation/Field.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"
#include "invoicing/register/DocumentWindows.h"
#include "invoicing/register/StoredPrint.h"
#include "report/PreparedReport.h"

namespace kavina {
class MemTable;
class TSzamlar;
}  // namespace kavina

namespace kavina::invoicing {

struct RegisterOptions {
    std::function<QDate()> today;    // required
    std::function<QDateTime()> now;  // the printed list's time; today at midnight when empty
    QString currentUser;             // printed after "Készítette: "
    bool colourRows = true;          // the grid colour setting (colorgrid 1)
    int szlistmode = 1;              // how document lines print (TSzamlar)
    int bfont = 7;
    OverlayPictures overlays;  // over cancelled documents
};

// What the window shows of itself for a request.
struct RegisterLook {
    bool storno = true, spoil = true, payment = true, agent = true, copy = true, preview = true;
    bool choose = false;         // "&Választ"
    bool legend = true;          // "Jelmagyarázat:" with "Rontott"
    bool unpaidLegend = true;    // "Fizetetlen"
    bool lines = true;           // "Kiszámlázott tételek"
    bool buyerColumns = true;    // name, address, payment method, performance and due date
    bool payoutColumns = false;  // "Kifizetés" from szlnetto, no amounts
    bool sourceNumber = false;   // the number column shows AJANLSZAM
};
RegisterLook registerLook(const RegisterRequest& request);

// The caller's part: filters the documents (the handle's filter is the caller's), shows the
// register, and removes the filter again keeping the current record. True when a document
// was chosen; the documents handle stands on it.
bool openRegister(TDataModule1& data, DocumentWindows& windows, const RegisterRequest& request,
                  const std::string& filter);
// The same over the list of the request's kind, this year.
bool openRegister(TDataModule1& data, DocumentWindows& windows, const RegisterRequest& request, const QDate& today);

// The current header copied into the record set with PRINT set to the serial: the pages of a
// copy show the serial it will carry before that serial is stored.
void copyHeaderWithSerial(const RecordCursor& from, MemTable& to, int64_t serial);

// The print layout of the documents handle's current document: the header read from its copy
// (copyHeaderWithSerial), the lines from their handle, the settings record and the options'
// user and print settings. Not yet set up for a use.
std::unique_ptr<TSzamlar> storedDocumentLayout(TDataModule1& data, const RegisterOptions& options, MemTable& header);

class DocumentRegister {
public:
    DocumentRegister(TDataModule1& data, Prompt& prompt, DocumentWindows& windows, RegisterRequest request,
                     RegisterOptions options);

    const RegisterRequest& request() const { return m_request; }
    // The window's caption, and the header: the caption after eight blanks.
    QString caption() const;
    QString header() const { return QStringLiteral("        ") + caption(); }
    RegisterLook look() const { return registerLook(m_request); }

    // Opening: the archive toggle up, both tables read again, the first document's lines.
    void open();
    // Closing: the documents go back to number order, which the saves' number checks seek
    // in; the current document stays current. The filter is the caller's to remove.
    void close();

    bool archive() const { return m_archive; }
    // The toggle rewrites the filter: this year, or every earlier year when down.
    void setArchive(bool down);

    // Moves to the first document whose sort key begins with the text (case ignored); stays
    // when none does.
    void search(const QString& text);
    // The title click: "Számlaszám", "Fizető neve", "Cím" or "Határidő" orders by its index;
    // other fields are refused (false). The current document stays current.
    bool sortBy(const Field& field);
    const Field& sortField() const { return m_sortField; }

    bool listEmpty();
    DocumentTint tintOf(const RecordCursor& row) const;

    // "&Választ": says so when the list is empty; true when the window closes with the
    // current document chosen.
    bool choose();
    // A double click: chooses in selection mode (or when the caller lets it); false otherwise.
    bool doubleClick();
    // "Üzletkötő": the dialog on the current document; true when the data were stored.
    bool editAgent();
    // "&Másolat": the copy reprint of the current document. Asks first (but for cash-register
    // sales); a No, or a type that prints nothing, raises PRINT by one. A Yes prints one copy
    // with the serial raised by two (offers, invoices, corrective invoices and delivery notes;
    // by one for the others) and stores that serial once the copy went out; when the print
    // fails only the first raise is stored. Each change of PRINT is one transaction.
    void copy();
    // "Stornó", "Rontott" (spoil) and "Befizetve": the dialog over the current document. True
    // when the document changed; the list then shows it as it is now.
    bool cancelCurrent(bool spoil);
    bool payCurrent();
    // "&Nyomt.kép": the current document in the preview, PRINT untouched; nothing for a type
    // without a preview.
    void preview();
    // "Listázás": the printed list of what the register shows, in the preview.
    void printList();

    // The pages of the current document as set up for the use, printed with the serial.
    // Requires: a document current whose type has that use.
    report::PreparedReport prepareStored(StoredPrintUse use, int64_t serial);
    // The printed list's pages.
    report::PreparedReport prepareList();

private:
    TableHandle& documents() { return m_data.SzamlaTable(); }
    void applyFilter();
    void raiseSerial(int by);

    TDataModule1& m_data;
    Prompt& m_prompt;
    DocumentWindows& m_windows;
    RegisterRequest m_request;
    RegisterOptions m_options;
    bool m_archive = false;
    Field m_sortField;
};

}  // namespace kavina::invoicing
