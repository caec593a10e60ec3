#include "support/nav/TaxpayerLookup.h"

#include "foundation/RuleError.h"
#include "support/nav/NavAnswers.h"
#include "support/nav/NavExchange.h"

namespace kavina::nav {

namespace {
const QString kCaption = QStringLiteral("NAV lekérdezés");
}

std::optional<PartnerNameAndAddress> TaxpayerLookup::lookup(const QString& taxNumber,
                                                            const PartnerNameAndAddress& current) {
    if (!m_settings.complete()) {
        m_prompt.warning(kCaption, QStringLiteral("Az online számla kapcsolat nincs beállítva "
                                                  "(Beállítások › Online számla beállítások)."));
        return std::nullopt;
    }
    BuiltRequest request;
    try {
        request = NavRequests(m_settings).queryTaxpayer(taxNumber);
    } catch (const RuleError& e) {
        m_prompt.warning(kCaption, e.message());
        return std::nullopt;
    }
    const ExchangeResult result = exchange(m_settings, request, 5, m_timeout);
    if (result.outcome != mail::PostResult::Outcome::Answered) {
        m_prompt.warning(kCaption, QStringLiteral("A NAV szervere nem érhető el: %1").arg(result.error));
        return std::nullopt;
    }
    const TaxpayerAnswer answer = readTaxpayer(result.answer);
    if (!answer.result.ok) {
        m_prompt.warning(kCaption, answer.result.text());
        return std::nullopt;
    }
    if (!answer.valid || answer.name.isEmpty()) {
        m_prompt.information(kCaption,
                             QStringLiteral("A NAV nyilvántartásában nincs érvényes adózó ezzel az adószámmal."));
        return std::nullopt;
    }
    const PartnerNameAndAddress found{answer.name, answer.postalCode, answer.city, answer.street};
    if (found == current) {
        m_prompt.information(kCaption, QStringLiteral("A partner adatai megegyeznek a NAV nyilvántartásával."));
        return std::nullopt;
    }
    const bool hasData = !current.name.trimmed().isEmpty() || !current.postalCode.trimmed().isEmpty() ||
                         !current.city.trimmed().isEmpty() || !current.street.trimmed().isEmpty();
    if (hasData && !m_prompt.askYesNo(kCaption, QStringLiteral("A NAV nyilvántartása szerint:\n%1\n%2 %3, %4\n\n"
                                                               "Felülírja ezekkel a partner nevét és címét?")
                                                    .arg(found.name, found.postalCode, found.city, found.street)))
        return std::nullopt;
    return found;
}

}  // namespace kavina::nav
