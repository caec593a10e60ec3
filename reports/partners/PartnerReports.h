#pragma once
// The printed partner statistics, each over the working list its collection filled; the
// layouts read the lists while they are prepared.

#include <QDate>
#include <QString>
#include <cstdint>
#include <memory>

#include "foundation/MemTable.h"
#include "report/Layout.h"
#include "reports/partners/PartnerStatistics.h"

namespace kavina::reports {

std::unique_ptr<report::Layout> customersReport(MemTable& rows, const QDate& from, const QDate& to,
                                                const QString& user);

std::unique_ptr<report::Layout> partnerInvoicesReport(MemTable& rows, int64_t total, const ChosenPartner& partner,
                                                      const QDate& from, const QDate& to, const QString& user);

std::unique_ptr<report::Layout> partnerProductsReport(MemTable& rows, const ChosenPartner& partner, const QDate& from,
                                                      const QDate& to, const QString& user);

std::unique_ptr<report::Layout> supplierGoodsReport(MemTable& rows, double total, const ChosenPartner& partner,
                                                    const QDate& from, const QDate& to, const QString& user);

// "Nettó forgalom összesen:" of the supplier's goods, in the window and on paper.
QString supplierTotalText(double total);

}  // namespace kavina::reports
