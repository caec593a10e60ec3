#pragma once
// Storing a document made in the delivery-note editor: a delivery note, a goods receipt, a
// return, a supplier order or a cash payout. The editor's F10 runs it.
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

struct DeliverySaveContext {
    TDataModule1& data;
    QString user;  // the logged-in user, written into the stock log
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    std::chrono::milliseconds lockPatience = std::chrono::milliseconds(5000);
    dbase::TransactionOptions commit;
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

    // The whole F10: the partner check (focus on the name box), the copies dialog preset with
    // the settings' PRNSZL (not for a payout), the store, the copies. The stored document, or
    // nothing when the run ended without storing (the clerk has been told).
    std::optional<StoredSale> save(MemoryDocument& document, DeliveryKind kind, Prompt& prompt,
                                   DeliveryCopyPrinter& printer, std::optional<SaveFocus>* focus = nullptr);

    // Stores the document in one transaction; the type code is the kind's whatever the header
    // holds. Throws RuleError or the engine's error; nothing is stored then.
    StoredSale store(MemoryDocument& document, DeliveryKind kind);

private:
    struct Handles;
    void open(DeliveryKind kind);
    uint32_t appendHeader(const MemoryDocument& document, DeliveryKind kind, const QString& number);
    void appendLines(const MemoryDocument& document, DeliveryKind kind, const QString& number);
    void moveStock(const MemoryDocument& document, DeliveryKind kind, StoredSale& sale);

    DeliverySaveContext m_context;
    QDateTime m_now;
    std::unique_ptr<Handles> m_handles;
    std::unique_ptr<StockRule> m_stock;
};

}  // namespace kavina::documents
