#pragma once
// The stock rule: the one way the quantity on hand of a product changes. Every movement
// (receiving and issue from the product register, document saves, cancellations) names only
// its signed quantity; the rule locks the product record, reads it again under the lock, adds
// the quantity, rounds the sum to four decimals (halves away from zero) and stores it. The
// lock is held from the re-read to the post, so two workstations moving the same product at
// the same moment both count. There is no lower bound: stock may become negative. Services
// hold no stock and are never changed.
//
// The rule reads and writes through a handle of its own on the products table, so the shared
// handle's order, filter and position are never touched. Inside an engine transaction the
// lock is held until the transaction ends and the change stands or falls with it; outside one
// each movement is stored at once.
//
// The stock log (tranzakcio.dbf) gets one row per movement of a saved line or of a register
// dialog; rows are only appended.

#include <QDateTime>
#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "foundation/RuleError.h"
#include "foundation/TableHandle.h"

namespace kavina::documents {

// The kinds of movement, as the log's tipus names them.
enum class Movement {
    RegisterReceiving,  // "LTM", in
    RegisterIssue,      // "LHM", out
    DeliveryNote,       // "SZL", out
    GoodsReceipt,       // "BEV", in
    SupplierReturn,     // "VIS", out
    Invoice,            // "ELS", out
    CashSale,           // "ELT", out
    Scrap,              // "SEL", out
    Corrective,         // "JÓV", by the sign of the line
};

// The three-letter code of the log's tipus field.
QString movementCode(Movement movement);

// A product record a movement applies to: where it is and which product it holds. The rule
// checks both again under the lock.
struct ProductRecord {
    uint32_t recNo = 0;
    double code = 0;  // ANYAGKOD
};

inline const QString kProductGoneMessage = QStringLiteral("A terméket közben egy másik munkaállomás törölte.");

// The product record is gone (deleted by another workstation) or holds another product now.
class ProductGone : public RuleError {
public:
    ProductGone() : RuleError(kProductGoneMessage) {}
};

class StockRule {
public:
    // Written in the same locked edit as the quantity, after it: the new quantity can be read
    // back from the record. May throw; the edit is then cancelled and nothing is stored.
    using AlsoWrite = std::function<void(RecordCursor& product)>;

    // dataFolder ends in a path separator, as the data module's. lockPatience: how long a
    // movement waits for a product record another workstation holds.
    explicit StockRule(const std::string& dataFolder,
                       std::chrono::milliseconds lockPatience = std::chrono::milliseconds(5000));
    ~StockRule();

    // The product of a document line: ANYAGKOD equal to the line's code and MEGNEVEZES equal
    // to the line's name, both exactly. Nothing when there is none.
    std::optional<ProductRecord> findForLine(double code, const QString& name);
    // The first product with this code (cancellations find it by code alone).
    std::optional<ProductRecord> findByCode(double code);

    // Applies the signed quantity. Returns the new quantity, or nothing for a service (which is
    // left unchanged, alsoWrite included). Waits a few seconds for a lock another workstation
    // holds; throws the engine's error when it stays taken, ProductGone when the record no
    // longer holds the product.
    std::optional<double> apply(const ProductRecord& product, double quantity, const AlsoWrite& alsoWrite = {});

private:
    void open();
    std::optional<double> applyOnce(const ProductRecord& product, double quantity, const AlsoWrite& alsoWrite);

    std::string m_folder;
    std::chrono::milliseconds m_patience;
    std::unique_ptr<TableHandle> m_products;
};

// One row of the stock log.
struct StockLogRow {
    QString articleNumber;  // cikkszam
    QString document;       // bizonylat; empty for register movements
    int64_t partner = -1;   // -1 for register movements and cash-register sales
    QString item;           // tetel
    double quantity = 0;    // as entered, with its own sign
    QString user;           // ugyintezo
    QDateTime when;         // datum gets its day, ido its time of day
    Movement movement = Movement::RegisterReceiving;
};

// Appends and posts the row. Requires: the log's handle is open.
void appendStockLog(TableHandle& log, const StockLogRow& row);

}  // namespace kavina::documents
