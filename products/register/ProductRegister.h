#pragma once
// The product register's writes: new products and services with their codes, changes, copies,
// the recycle bin and the final delete, and the stock dialogs' results with their log rows.
//
// Every write finds its product by identity (record number and code) through a handle of its
// own, never through the shared handle's current record, which a refresh may have moved; a
// product deleted meanwhile is reported and nothing is stored. Codes come from the settings
// record's counter (one less than the highest code issued: a new code is the counter plus 2)
// taken under the settings record's lock; a code already in the table is skipped. Every change
// of more than one record (the counter and the new product; the stock, prices and the log row
// of a receiving) is one engine transaction.

#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "documents/stock/StockDialogs.h"
#include "documents/stock/StockRule.h"
#include "foundation/OpenedRecord.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"
#include "products/register/ProductFields.h"

namespace kavina::products {

using documents::ProductRecord;

using documents::kProductGoneMessage;
// The stock log table is missing: the folder has not been upgraded.
inline const QString kNoStockLogMessage = QStringLiteral(
    "A készletmozgások táblája (tranzakcio.dbf) hiányzik, ezért a mozgás nem rögzíthető. "
    "Kérem, futtassa az adatbázis frissítését!");

using Now = std::function<QDateTime()>;

class ProductRegister {
public:
    ProductRegister(TDataModule1& data, Prompt& prompt, Now now, QString currentUser);
    ~ProductRegister();

    // The shared handle's current product; nothing while the list is empty.
    std::optional<ProductRecord> current();
    // Moves the shared handle onto the product (the list's filter permitting); false when it
    // is not in the list.
    bool show(const ProductRecord& product);

    // Appends a product or service with a new code; its quantity starts at 0, its prices empty
    // (a service takes the four net prices and their gross forms). One transaction.
    ProductRecord create(const ProductFields& fields, double vatRate);
    // The product as an edit dialog reads it, through the register's own handle; nothing when
    // it is gone.
    std::unique_ptr<OpenedRecord> open(const ProductRecord& product);
    // Writes the dialog's fields back to the product the dialog was opened for and re-derives
    // the price pairs. Throws RuleError (kProductGoneMessage) when another workstation deleted
    // it; asks before overwriting a change made there meanwhile and returns false, storing
    // nothing, when the clerk declines.
    bool modify(OpenedRecord& opened, const ProductFields& fields, double vatRate);
    // Saves what a window other than the product dialog writes (the repricing window's
    // prices) into the product it was opened for, as modify() does.
    bool save(OpenedRecord& opened, const std::function<void(RecordCursor&)>& write);
    // Appends a copy of the product under a new code with quantity 0. One transaction.
    std::optional<ProductRecord> copy(const ProductRecord& product);
    // Puts the product into the recycle bin (its category becomes "Lomtár").
    bool bin(const ProductRecord& product);
    // Deletes the product for good.
    bool remove(const ProductRecord& product);

    // The receiving dialog accepted: prices, multipliers and stock, the out-of-stock flag
    // (stock = 0) and the "LTM" log row, in one transaction. False after a message when nothing
    // was stored (no log table, product gone).
    bool storeReceiving(const ProductRecord& product, const documents::ReceivingValues& values);
    // The issue dialog accepted: stock, the flag (stock <= 0) and the "LHM" log row.
    bool storeIssue(const ProductRecord& product, double quantity);
    // A stock dialog closed without accepting: the out-of-stock flag still follows the stock
    // as it is (after receiving = 0, after issue <= 0); stored only when it changes.
    void refreshOutOfStock(const ProductRecord& product, bool afterIssue);

    // The product record read through the register's own handle, for the dialogs; nothing when
    // it is gone.
    const RecordCursor* read(const ProductRecord& product);

private:
    TableHandle& products();
    bool locateProduct(const ProductRecord& product);
    double takeProductCode();
    ProductRecord appendProduct(const std::function<void(RecordCursor&)>& fill);
    bool editProduct(const ProductRecord& product, const std::function<void(RecordCursor&)>& change);
    bool logTableReady();
    void logMovement(const ProductRecord& product, double quantity, documents::Movement movement);
    bool storeMovement(const ProductRecord& product, double logged, documents::Movement movement,
                       const std::function<std::optional<double>(const documents::StockRule::AlsoWrite&)>& move);
    void written();

    TDataModule1& m_data;
    Prompt& m_prompt;
    Now m_now;
    QString m_user;
    std::unique_ptr<TableHandle> m_products;
    std::unique_ptr<documents::StockRule> m_stock;
};

}  // namespace kavina::products
