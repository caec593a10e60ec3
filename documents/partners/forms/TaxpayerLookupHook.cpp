#include "documents/partners/forms/TaxpayerLookupHook.h"

namespace kavina::documents {

namespace {
TaxpayerLookupHook& installed() {
    static TaxpayerLookupHook hook;
    return hook;
}
}  // namespace

void setTaxpayerLookup(TaxpayerLookupHook hook) {
    installed() = std::move(hook);
}

const TaxpayerLookupHook& taxpayerLookup() {
    return installed();
}

}  // namespace kavina::documents
