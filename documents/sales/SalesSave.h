#pragma once
// Storing a sales document made in the invoice editor: an invoice, a corrective invoice, a
// proforma, a cash-register sale or a scrap record. The editor's print command (F10) runs it.
//
// The run checks the document, asks for the number of copies, and then stores everything in
// one engine transaction: the number taken from the settings record, the header, the lines,
// the stock log, the paid flag, the stock movements, the source document's "számlázva" and, for
// an invoice or a corrective invoice, its row in the queue of the tax authority's invoice data.
// A failure at any step stores nothing, so the editor stays open with its document and the
// clerk can save again. The copies are printed after the commit: a printer that fails leaves
// a complete document, which the register can print again.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "dbase/Transaction.h"
#include "foundation/IniFile.h"
#include "foundation/IniSettings.h"
#include "foundation/Prompt.h"
#include "foundation/TableHandle.h"
#include "invoicing/document/DocumentKinds.h"
#include "invoicing/document/MemoryDocument.h"
#include "invoicing/editor/EditorMode.h"
#include "invoicing/print/TSzamlar.h"

namespace kavina {
class TDataModule1;
}

namespace kavina::documents {

class StockRule;

// Where the editor's document came from: nothing, another document used as a template (it
// moves the full stock), or a document it replaces (a delivery note, whose stock it moves only
// by the difference, or the invoice a corrective invoice corrects).
using invoicing::SourceKind;

struct SalesSource {
    SourceKind kind = SourceKind::None;
    QString number;  // SZAMLASZAM of the source document
};

// The box the editor puts the focus on when the document is refused.
enum class SaveFocus { IssueDate, PaymentMethod, PartnerName };

struct SaveRefusal {
    QString message;
    SaveFocus focus;
};

// What a save needs of the workstation.
struct SalesSaveContext {
    TDataModule1& data;
    IniFile& ini;           // the workstation's ini: the last invoice and proforma dates
    IniSettings& settings;  // the settings in force, which hold the same dates
    QString user;           // the logged-in user, written into the stock log
    bool serviceMenuVisible = false;
    // The moment of a save: the log's date and time, the paid date, the number's year.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    // How long a stock movement waits for a product another workstation holds.
    std::chrono::milliseconds lockPatience = std::chrono::milliseconds(5000);
    // How the save's transaction commits: synced, unless measured without the disk.
    dbase::TransactionOptions commit;
};

inline const QString kSaveCaption = QStringLiteral("Figyelem!");
inline const QString kDateBeforeLastInvoice = QStringLiteral("A számla dátuma nem lehet korábbi az utolsó számlánál!");
inline const QString kWrongDueDate = QStringLiteral("Hibás a fizetési határidő!");
inline const QString kNoPaymentMethod = QStringLiteral("Kérem, válasszon fizetési módot!");
inline const QString kNoPartner = QStringLiteral("Kérem, válasszon partnert!");
inline const QString kNoStockLog = QStringLiteral(
    "Az adatbázisból hiányzik a készletmozgások táblája (tranzakcio.dbf). A bizonylat mentéséhez "
    "előbb frissíteni kell az adatbázist.");
inline const QString kNoInvoiceDataQueue = QStringLiteral(
    "Az adatbázisból hiányzik az online számla adatok táblája (NavQueue.dbf). A számla mentéséhez "
    "előbb frissíteni kell az adatbázist.");
inline const QString kSourceAlreadyInvoiced = QStringLiteral("A szállítólevél már ki van számlázva!");

// The checks before anything is asked or written, in their order; the first that fails.
// lastInvoice: the date no invoice may be issued before (SalesStore::lastInvoiceDate).
std::optional<SaveRefusal> validateSale(const MemoryDocument& document, SalesMode mode, bool serviceMenuVisible,
                                        const QDate& lastInvoice);

// The copies the dialog offers: the settings' document copies, or for cash-register sales the
// copies of cash-register sales.
int initialCopies(SalesMode mode, const RecordCursor& settings);

// Takes the next number of the kind from the settings record (locked until the transaction
// running ends), skipping a number the documents already hold. Throws RuleError when the number
// does not fit the documents' number field or no free one is found.
// Requires: headers is ordered by SZAMLASZAM and read afresh.
QString takeFreeNumber(invoicing::NumberKind kind, TableHandle& headers, TableHandle& settings, const QDate& today);

// Appends one stored line of the document number from an in-memory line: the line fields a
// save keeps and the line's profit (haszon).
void appendDocumentLine(const RecordCursor& from, TableHandle& lines, const QString& number);

// The note after a save whose lines' products could not be found: their stock did not move.
void tellLinesWithoutStock(const QStringList& lines, Prompt& prompt);

// The buyer's tax data a document keeps as it was issued (BUYERTAX, BUYEREU, BUYERSTAT).
struct BuyerTaxData {
    QString taxNumber;
    QString euNumber;
    QString status;
};

// A stored document.
struct StoredSale {
    QString number;
    uint32_t headerRecNo = 0;
    // "name (code)" of the lines whose stock could not be moved: their product was renamed or
    // deleted since the pick.
    QStringList linesWithoutStock;
};

// Prints one copy of a stored document with the label given (PRINT already holds the copy's
// serial); copies is how many the run prints. Throws what the printer throws.
class SalesCopyPrinter {
public:
    virtual ~SalesCopyPrinter() = default;
    virtual void printCopy(const StoredSale& sale, SalesMode mode, const QString& copyLabel, int copies) = 0;
};

// The save of one workstation: its own handles on the document tables, so the shared handles
// the windows show are never moved by a save.
class SalesStore {
public:
    explicit SalesStore(SalesSaveContext context);
    ~SalesStore();

    // The whole print command: validation (message, then the focus named), the copies dialog,
    // the store, the printed copies and the closing notes. Returns the stored document, or
    // nothing when the run ended without storing (refused, cancelled or failed; the clerk has
    // been told). focus is set when a box should take the focus.
    std::optional<StoredSale> save(MemoryDocument& document, SalesMode mode, const SalesSource& source, Prompt& prompt,
                                   SalesCopyPrinter& printer, std::optional<SaveFocus>* focus = nullptr);

    // Stores the document in one transaction; the copies are not printed and PRINT holds 1.
    // Throws RuleError or the engine's error; nothing is stored then.
    StoredSale store(MemoryDocument& document, SalesMode mode, const SalesSource& source);

    // Prints the copies 1..copies of a stored document, raising PRINT before each further copy.
    // Throws what the printer throws; the copies printed before stay counted.
    void printCopies(const StoredSale& sale, SalesMode mode, int copies, SalesCopyPrinter& printer);

    // Why the tax authority's invoice data of the document could not be valid (the Hungarian
    // message names what is missing); nothing when it can be, or the document is not reported.
    // Throws RuleError when the folder lacks a table the save needs.
    std::optional<QString> invoiceDataRefusal(const MemoryDocument& document, SalesMode mode);

    // The later of the workstation's last invoice date and the newest issue date of this
    // year's stored invoices and corrective invoices: another workstation's invoice counts.
    QDate lastInvoiceDate();

private:
    struct Handles;
    void open();
    void checkReady(SalesMode mode);
    uint32_t appendHeader(const MemoryDocument& document, SalesMode mode, const QString& number);
    void appendLines(const MemoryDocument& document, SalesMode mode, const QString& number);
    void moveStock(const MemoryDocument& document, SalesMode mode, const SalesSource& source, StoredSale& sale);
    void markSourceInvoiced(SalesMode mode, const SalesSource& source);
    BuyerTaxData buyerAsIssued(const MemTable& header);
    QString baseInvoiceOf(const SalesSource& source);

    SalesSaveContext m_context;
    QDateTime m_now;  // of the save running
    QString m_base;   // of the corrective invoice being stored
    std::unique_ptr<Handles> m_handles;
    std::unique_ptr<StockRule> m_stock;
};

}  // namespace kavina::documents
