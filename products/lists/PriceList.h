#pragma once
// The price list ("Árlista nyomtatása"): the products on the list (LISTA) that are goods and
// not binned, by name, each with the net and gross price of the chosen price group, a
// category heading with the column heads wherever the category differs from the product
// before, the company's header above and the product lists' footer below. The run orders and
// filters the shared products handle while the dialog is open; closing leaves it ordered by
// name, unfiltered, on its record.

#include <QString>
#include <QStringList>
#include <memory>

#include "foundation/TDataModule1.h"
#include "products/lists/ProductListReport.h"
#include "report/Layout.h"

namespace kavina::products {

// The choices of "Válasszon árcsoportot:", in the dialog's order; the fixed price is preset.
enum class PriceListGroup { Level1, Level2, Level3, Fixed };
QString priceListGroupCaption(PriceListGroup group);

// The company's USER1, USER2, CIM, TELEFON, WEBLAP and EMAIL from the settings record.
QStringList companyHeader(TDataModule1& data);

// The dialog opens: the products ordered by name and filtered to the list.
void openPriceList(TDataModule1& data);
// The dialog closes.
void closePriceList(TDataModule1& data);

// A money value as the price list prints it: the money format without " Ft".
QString priceListMoney(double value);

std::unique_ptr<report::Layout> priceListLayout(RecordCursor& products, PriceListGroup group,
                                                const QStringList& company, const ListFooter& footer);

}  // namespace kavina::products
