#include "products/register/ProductWalk.h"

#include <thread>

#include "dbase/DbError.h"
#include "foundation/CatalogueFields.h"
#include "foundation/DbErrorText.h"
#include "foundation/RecordEdit.h"
#include "foundation/RuleError.h"

namespace kavina::products {

namespace {

// The engine waits a moment for a record lock; a document save on another workstation can
// hold it for longer, so the walk asks again for a while before it gives up.
constexpr auto kLockPause = std::chrono::milliseconds(20);

// One product under its lock: true when it was changed.
bool changeOne(TableHandle& products, const ProductWalk& walk) {
    const auto giveUp = std::chrono::steady_clock::now() + walk.patience;
    for (;;) {
        try {
            RecordEdit change = RecordEdit::edit(products);
            if (!walk.picks(products)) return false;
            walk.change(products);
            change.post();
            return true;
        } catch (const dbase::DbError& e) {
            if (!e.contains(dbase::errtext::kRecordLocked)) throw;
            if (std::chrono::steady_clock::now() >= giveUp)
                throw RuleError(walk.refused(products.asString(fields::Anyag::MEGNEVEZES).trimmed(), dbErrorText(e)));
        }
        std::this_thread::sleep_for(kLockPause);
    }
}

}  // namespace

int changeProducts(TableHandle& products, const ProductWalk& walk) {
    int count = 0;
    products.refresh();
    for (products.first(); !products.eof(); products.next())
        if (walk.picks(products) && changeOne(products, walk)) ++count;
    return count;
}

}  // namespace kavina::products
