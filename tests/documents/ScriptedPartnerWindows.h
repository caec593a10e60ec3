#pragma once
// The partner register's windows for tests: every window the logic opens is recorded with
// what it was opened on, and answered from a queue filled beforehand. A window opened with no
// answer queued is a script error, recorded in failures() and thrown.

#include <QStringList>
#include <deque>
#include <stdexcept>

#include "documents/partners/PartnerWindow.h"
#include "documents/partners/PartnerWindows.h"

namespace kavina::documents {

class ScriptedPartnerWindows final : public PartnerWindows {
public:
    // The partner dialog's answer: the fields typed, or nothing for "&Mégse". The dialog is
    // given what it was opened on, so an answer can change one field of it.
    using PartnerAnswer = std::function<std::optional<PartnerFields>(const PartnerFields& shown)>;

    void answerPartner(PartnerAnswer answer) { m_partners.push_back(std::move(answer)); }
    void answerUnpaid(bool goOn) { m_unpaid.push_back(goOn); }
    void answerSettlement(std::optional<Settlement> settlement) { m_settlements.push_back(std::move(settlement)); }

    // One line per window opened: "partner new|Alfa", "partner modify|Alfa", "unpaid|2",
    // "settlement|6720 Szeged", "groups", "invoices|2|O'Brien Kft.|1" (kind, partner, and the
    // documents shown).
    const QStringList& opened() const { return m_opened; }
    const QStringList& failures() const { return m_failures; }
    // What the last partner dialog was opened on.
    const PartnerFields& lastShown() const { return m_lastShown; }

    std::optional<PartnerFields> editPartner(const PartnerFields& fields, bool isNew) override {
        m_opened << QStringLiteral("partner %1|%2").arg(isNew ? "new" : "modify", fields.name);
        m_lastShown = fields;
        return take(m_partners, "partner dialog")(fields);
    }
    bool confirmUnpaidInvoices(TableHandle& unpaidInvoices) override {
        m_opened << QStringLiteral("unpaid|%1").arg(unpaidInvoices.recordCount());
        return take(m_unpaid, "unpaid invoices");
    }
    std::optional<Settlement> editSettlement(const Settlement& s) override {
        m_opened << QStringLiteral("settlement|%1 %2").arg(s.postcode, s.town).trimmed();
        return take(m_settlements, "settlement dialog");
    }
    void editGroups() override { m_opened << QStringLiteral("groups"); }
    // The documents handle, so that the register's line can say how many documents it shows.
    void watchDocuments(TableHandle* documents) { m_documents = documents; }
    void showInvoices(const invoicing::RegisterRequest& request) override {
        m_opened << QStringLiteral("invoices|%1|%2|%3")
                        .arg(int(request.kind))
                        .arg(request.partner ? request.partner->name : QString())
                        .arg(m_documents ? m_documents->recordCount() : 0);
    }
    bool pickPartner(PartnerCaller) override {
        m_opened << QStringLiteral("picker");
        m_failures << QStringLiteral("the picker was not expected");
        throw std::logic_error("unexpected picker");
    }

private:
    template <typename T>
    T take(std::deque<T>& queue, const char* window) {
        if (queue.empty()) {
            m_failures << QStringLiteral("no answer for the %1").arg(QLatin1String(window));
            throw std::logic_error(window);
        }
        T answer = std::move(queue.front());
        queue.pop_front();
        return answer;
    }

    std::deque<PartnerAnswer> m_partners;
    std::deque<bool> m_unpaid;
    std::deque<std::optional<Settlement>> m_settlements;
    QStringList m_opened;
    QStringList m_failures;
    PartnerFields m_lastShown;
    TableHandle* m_documents = nullptr;
};

}  // namespace kavina::documents
