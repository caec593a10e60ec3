#pragma once
// The printed product lists over the products a cursor shows, in its order, grouped by
// category (a group header at each change of KATEGORIA): layout A (two lines a product, with
// a subtitle under the title; the low-stock list prints it too) and layout B (one line a
// product with the gross prices and the rate), each with its sums, and the footer the price
// list shares: the company's page footer, the user who printed it and the program's name.
// Money prints in the money format ("%12.2m").

#include <QString>
#include <memory>

#include "foundation/RecordCursor.h"
#include "foundation/TDataModule1.h"
#include "report/Layout.h"

namespace kavina::products {

// What the lists' page footer prints.
struct ListFooter {
    QString pageFooter;  // LAPLABLEC of the settings record, RTF or plain
    QString currentUser;
};

// The footer texts from the settings record of the folder.
ListFooter listFooter(TDataModule1& data, const QString& currentUser);
// Adds the footer band: the page footer, "Kiállította: <user>" and "Kavina 1.0 verzió".
void addListFooter(report::Layout& layout, const ListFooter& footer);

// The setting szlistmode: 1 prints layout A, anything else layout B.
enum class ProductListLayout { A, B };
ProductListLayout productListLayoutOf(int szlistmode);

inline const QString kLowStockSubtitle = QStringLiteral("elfogyóban levő anyagok");

// The layouts read the sums from the cursor when they are made: prepare them before the
// cursor's records change.
std::unique_ptr<report::Layout> productListA(RecordCursor& products, const ListFooter& footer,
                                             const QString& subtitle = {});
std::unique_ptr<report::Layout> productListB(RecordCursor& products, const ListFooter& footer);

// "Nyomtatás" of the register: the list as filtered, ordered by category for the print, in the
// layout of the setting szlistmode; the handle's order and record are restored afterwards.
report::PreparedReport prepareProductList(TableHandle& products, int szlistmode, const ListFooter& footer);

}  // namespace kavina::products
