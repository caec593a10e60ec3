#pragma once
// Changing many products at once: a rename carried from a register (VAT rate, warehouse,
// category) or the low-stock flag. Every product record is visited through the caller's own
// handle, with no filter, services and binned products included. Each record the test picks is
// locked, read again under the lock and tested again (another workstation may have changed it
// since the walk read it), then changed and posted; a record another workstation holds is
// waited for a while. Called inside an engine transaction, every lock is held until the
// transaction ends and the changes stand or fall together.

#include <QString>
#include <chrono>
#include <functional>

#include "foundation/TableHandle.h"

namespace kavina::products {

struct ProductWalk {
    // Whether the product is to be changed; asked once as the walk reads it, again under the lock.
    std::function<bool(const RecordCursor& product)> picks;
    std::function<void(RecordCursor& product)> change;
    // The message of the RuleError thrown when a product stays locked: from its name and the
    // engine's reason.
    std::function<QString(const QString& name, const QString& why)> refused;
    std::chrono::milliseconds patience = std::chrono::milliseconds(5000);
};

// Walks the whole table and returns how many products were changed. Throws RuleError
// (walk.refused) when a product stays locked past the patience, and what the engine throws
// otherwise. Requires: the handle is open and on no filter.
int changeProducts(TableHandle& products, const ProductWalk& walk);

}  // namespace kavina::products
