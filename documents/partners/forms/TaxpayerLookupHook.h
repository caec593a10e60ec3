#pragma once
// The partner dialog's "NAV lekérdezés": the program installs a look-up of the tax authority's
// register here at start; without one the dialog shows no button. The look-up talks to the
// clerk itself and returns the name and seat to take, or nothing.

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace kavina::documents {

struct TaxpayerDetails {
    QString name;
    QString postcode;
    QString town;
    QString street;
};

using TaxpayerLookupHook = std::function<std::optional<TaxpayerDetails>(QWidget* parent, const QString& taxNumber,
                                                                        const TaxpayerDetails& current)>;

void setTaxpayerLookup(TaxpayerLookupHook hook);
const TaxpayerLookupHook& taxpayerLookup();

}  // namespace kavina::documents
