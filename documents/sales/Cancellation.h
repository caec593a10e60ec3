#pragma once
// Cancelling a stored sales document in place: storno (its type becomes the cancelled one and
// its stock comes back) and spoiling (the same, and the paper is recorded as spoiled). A
// document is never edited or deleted to cancel it.
//
// A cancellation is one engine transaction: the header is locked and read again, checked,
// the stock of every line comes back and the type changes, or nothing happens. So a document
// is cancelled once, even when two workstations cancel it at the same moment. The copies with
// the storno or spoiled mark are printed after the commit.

#include <QChar>
#include <QString>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "dbase/Transaction.h"
#include "documents/sales/DocumentSummary.h"
#include "foundation/Prompt.h"
#include "foundation/TableHandle.h"

namespace kavina {
class TDataModule1;
}

namespace kavina::documents {

class StockRule;
}  // namespace kavina::documents

namespace kavina::nav {
class InvoiceDataBuilder;
}

namespace kavina::documents {

// What a dialog cancels: invoices and corrective invoices, delivery notes, or cash-register
// sales.
enum class CancelMode { Invoice = 0, DeliveryNote = 1, CashSale = 2 };
enum class CancelKind { Storno, Spoil };

inline const QString kCancelCaption = QStringLiteral("Figyelem!");
inline const QString kAlreadyCancelled = QStringLiteral("A bizonylat már stornózva van!");
inline const QString kCannotStorno = QStringLiteral("A bizonylatot nem lehet stornózni!");
inline const QString kCannotSpoil = QStringLiteral("A bizonylatot nem lehet rontani!");
inline const QString kDeliveryNoteCancelled = QStringLiteral("A szállítólevél már stornózva van!");
inline const QString kDeliveryNoteInvoiced = QStringLiteral("A kiszámlázott szállítólevél nem stornózható!");
inline const QString kNoInvoiceDataQueueForCancel = QStringLiteral(
    "Az adatbázisból hiányzik az online számla adatok táblája (NavQueue.dbf). A számla stornózásához "
    "előbb frissíteni kell az adatbázist.");
inline const QString kNoSuchDocument = QStringLiteral("Ilyen számú bizonylat nem készült, kérem ellenőrizze!");

// The dialog mode the register opens for a document of the type; none when the kind cannot
// cancel it (a proforma is cancelled by storno in the invoice mode).
std::optional<CancelMode> cancelModeOf(QChar type, CancelKind kind);

// The document a cancellation acts on, as the dialog shows it.
using CancelTarget = DocumentSummary;

// Prints one copy of a cancelled document (its header now holds the cancelled type) with the
// storno or spoiled mark and the label given. Throws what the printer throws.
class CancelCopyPrinter {
public:
    virtual ~CancelCopyPrinter() = default;
    virtual void printCopy(const CancelTarget& document, CancelMode mode, CancelKind kind,
                           const QString& copyLabel) = 0;
};

class DocumentCancellation {
public:
    // dataFolder ends in a path separator. lockPatience: how long a stock movement waits for a
    // product another workstation holds.
    DocumentCancellation(TDataModule1& data, std::chrono::milliseconds lockPatience = std::chrono::milliseconds(5000),
                         dbase::TransactionOptions commit = {});
    ~DocumentCancellation();

    // The document of that number, when there is one.
    std::optional<CancelTarget> find(const QString& number);

    // Why the document cannot be cancelled in the mode, or nothing. A proforma counts as a
    // document of the invoice mode. A delivery note already cancelled or already invoiced is
    // refused: its goods would come back into stock a second time.
    static std::optional<QString> refusal(QChar type, const QString& state, CancelMode mode, CancelKind kind);

    // The whole "&Rendben": the cancellation, then the copies (the copies dialog with the
    // settings' document copies, each copy "Másolati példány"; a spoiled cash-register sale
    // prints none). False when it was refused (the clerk has been told); the engine's error
    // when it failed (nothing changed then).
    bool run(const CancelTarget& document, CancelMode mode, CancelKind kind, Prompt& prompt,
             CancelCopyPrinter& printer);

    // The cancellation alone, in one transaction. Throws RuleError when the document is
    // refused as it stands now, the engine's error when a step fails; nothing changes then.
    void cancel(const CancelTarget& document, CancelMode mode, CancelKind kind);

private:
    void open();
    void returnStock(const QString& number);

    TDataModule1& m_data;
    std::chrono::milliseconds m_patience;
    dbase::TransactionOptions m_commit;
    std::unique_ptr<TableHandle> m_headers;
    std::unique_ptr<TableHandle> m_lines;
    std::unique_ptr<StockRule> m_stock;
    std::unique_ptr<TableHandle> m_queue;
    std::unique_ptr<nav::InvoiceDataBuilder> m_invoiceData;
};

}  // namespace kavina::documents
