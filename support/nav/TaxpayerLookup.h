#pragma once
// "NAV lekérdezés" of the partner dialog: the name and seat of a taxpayer from the authority's
// register, by the first 8 digits of a typed tax number. It asks before it overwrites a name or
// an address the clerk already has.

#include <QString>
#include <optional>

#include "foundation/Prompt.h"
#include "support/nav/NavSettings.h"

namespace kavina::nav {

struct PartnerNameAndAddress {
    QString name;
    QString postalCode;
    QString city;
    QString street;
    bool operator==(const PartnerNameAndAddress&) const = default;
};

class TaxpayerLookup {
public:
    TaxpayerLookup(NavSettings settings, Prompt& prompt, int timeoutSeconds = 60)
        : m_settings(std::move(settings)), m_prompt(prompt), m_timeout(timeoutSeconds) {}

    // The authority's name and address for the tax number, when the clerk is to take them;
    // nothing (after a message) when the lookup failed, found nothing or the clerk said no.
    std::optional<PartnerNameAndAddress> lookup(const QString& taxNumber, const PartnerNameAndAddress& current);

private:
    NavSettings m_settings;
    Prompt& m_prompt;
    int m_timeout;
};

}  // namespace kavina::nav
