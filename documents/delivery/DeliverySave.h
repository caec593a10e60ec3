#pragma once
// Storing a document made in the delivery-note editor: a delivery note, a goods receipt, a
// return, a supplier order, a cash payout or a price offer. The editor's F10 runs it.
//
// As the sales save does, it checks the document, asks for the copies (a payout prints none),
// and stores everything in one engine transaction: the number from the kind's counter, the
// header, the lines with their stock log rows, and the stock (out for delivery notes and
// returns; in, with the purchase prices, for goods receipts; nothing for orders). A failure
// stores nothing and leaves the editor open. The copies are printed after the commit.

#include <QDateTime>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "dbase/Transaction.h"
#include "documents/sales/SalesSave.h"
#include "foundation/Prompt.h"
#include "invoicing/delivery/DeliveryKind.h"
#include "invoicing/document/MemoryDocument.h"

namespace kavina {
class TDataModule1;
}

namespace kavina::documents {

using invoicing::DeliveryKind;
using invoicing::ReplacedOffer;

inline const QString kOfferChangedCaption = QStringLiteral("Figyelem !");
// Asked before a modified offer replaces a stored version another workstation saved (or
// deleted) since this editor opened it.
QString offerChangedQuestion(const QString& number);

struct DeliverySaveContext {
    TDataModule1& data;
    QString user;  // the logged-in user, written into the stock log
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    std::chrono::milliseconds lockPatience = std::chrono::milliseconds(5000);
    dbase::TransactionOptions commit;
    // Runs inside the save's transaction once the new records are appended and before a
    // replaced offer's old ones are deleted: where the tests interrupt a save.
    std::function<void()> afterAppending;
};

// Prints the copies of a stored document of the kind. Throws what the printer throws.
class DeliveryCopyPrinter {
public:
    virtual ~DeliveryCopyPrinter() = default;
    virtual void printCopies(const StoredSale& document, DeliveryKind kind, int copies) = 0;
};

class DeliveryStore {
public:
    explicit DeliveryStore(DeliverySaveContext context);
    ~DeliveryStore();

    // The whole F10: the partner check (focus on the name box; an offer needs no partner), the
    // question when the offer being replaced changed meanwhile, the copies dialog preset with
    // the settings' PRNSZL (PRNAJANLAT for an offer, none for a payout), the store, the copies.
    // The stored document, or nothing when the run ended without storing (the clerk has been
    // told).
    std::optional<StoredSale> save(MemoryDocument& document, DeliveryKind kind, Prompt& prompt,
                                   DeliveryCopyPrinter& printer, std::optional<SaveFocus>* focus = nullptr,
                                   const std::optional<ReplacedOffer>& replaced = std::nullopt);

    // Stores the document in one transaction; the type code is the kind's whatever the header
    // holds. A modified offer keeps its number and counter: the new version is appended first
    // and every record stored under the number before is deleted after it, so an interrupted
    // save leaves the old version whole. Throws RuleError or the engine's error; nothing is
    // stored then.
    StoredSale store(MemoryDocument& document, DeliveryKind kind,
                     const std::optional<ReplacedOffer>& replaced = std::nullopt);

    // Whether the stored offer differs from what the editor opened: another save time or date,
    // or no longer stored.
    bool offerChanged(const ReplacedOffer& replaced);

private:
    struct Handles;
    void open(DeliveryKind kind);
    uint32_t appendHeader(const MemoryDocument& document, DeliveryKind kind, const QString& number);
    void appendLines(const MemoryDocument& document, DeliveryKind kind, const QString& number);
    void deleteRecords(TableHandle& table, const std::vector<uint32_t>& records);
    std::vector<uint32_t> recordsOf(TableHandle& table, const Field& numberField, const QString& number);
    void moveStock(const MemoryDocument& document, DeliveryKind kind, StoredSale& sale);

    DeliverySaveContext m_context;
    QDateTime m_now;
    std::unique_ptr<Handles> m_handles;
    std::unique_ptr<StockRule> m_stock;
};

}  // namespace kavina::documents
