#pragma once
// What the product register window (TAnyagForm) does, apart from drawing it: its tabs and
// boxes and the list they compose, the order and the incremental search with the rules of
// Enter, the rights letters, the operations (new product and service, modify, copy, bin and
// delete, receiving and issue, the search dialog), the picture of the current product, the
// stock colours of the rows and the periodic re-read. The dialogs the operations open come
// through ProductWindows, so every operation runs, question by question, without a display.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "documents/stock/StockDialogs.h"
#include "foundation/Desktop.h"
#include "foundation/IniSettings.h"
#include "foundation/Prompt.h"
#include "foundation/TDataModule1.h"
#include "products/register/ProductFields.h"
#include "products/register/ProductList.h"
#include "products/register/ProductRegister.h"
#include "products/register/ProductWindows.h"

namespace kavina::products {

struct ProductWindowOptions {
    const IniSettings* settings = nullptr;  // required
    QString rights;                         // CurrentRights
    QString currentUser;
    Now now;
    // The warehouse box's item, kept from one opening to the next for the whole run.
    int* rememberedWarehouse = nullptr;
    // Whether the delivery-note editor is making a goods receipt: the register's receiving
    // then changes prices only.
    std::function<bool()> goodsReceiptInProgress;
};

// The stock colour of a row.
enum class RowTint { None, BelowMinimum, NoStock };

// The fields the search dialog ("Hol keres :") looks in.
enum class SearchIn { Name, StatNumber, ArticleNumber, Category };
QString searchInCaption(SearchIn where);

class ProductWindow {
public:
    ProductWindow(TDataModule1& data, Prompt& prompt, ProductWindows& windows, Desktop& desktop,
                  const ProductWindowOptions& options);

    // Opening: the warehouse box (the remembered item), the order of the setting tsorrend, a
    // re-read of the products, and the first tab with its filter.
    void open();
    // Closing: the list's filter goes, the current product stays.
    void close();

    int tab() const { return int(m_tab); }
    // Choosing a tab: its filter, the first product, and the category box refilled from the
    // products the list then shows. With categoriesGathered the box waits for
    // setListCategories(), from a window that gathers them while it reads the list anyway.
    void selectTab(int index, bool categoriesGathered = false);
    void setListCategories(const std::set<QString>& categories);
    const QStringList& warehouses() const { return m_warehouses; }
    int warehouse() const { return m_warehouse; }
    void selectWarehouse(int index);
    const QStringList& categories() const { return m_categories; }
    int category() const { return m_category; }
    void selectCategory(int index);
    SearchKey searchKey() const { return m_key; }
    // Orders the list by the key's field; the current product stays current.
    void setSearchKey(SearchKey key);

    // Each change of the search text.
    void search(const QString& text);
    enum class EnterOutcome { Nothing, FocusList, Accept };
    // Enter in the search box: asks to record a product when an article number or barcode is
    // not found (recording it on Yes); otherwise where the focus goes and whether to accept.
    EnterOutcome enter(const QString& text);

    bool canModify() const;   // U: new product, new service, modify, copy
    bool canReprice() const;  // V: repricing and promotions
    bool canDelete() const;   // W
    bool listEmpty();
    // Whether the new-service and stock entries fit the tab (services only on their tab).
    bool onServicesTab() const { return m_tab == ProductTab::Services; }

    // The operations; each does nothing while the list is empty (but new ones) or without its
    // right. True when something was stored.
    bool newProduct(const QString& searchText = {});
    bool newService();
    bool modify();
    bool copy();
    bool remove();
    bool receive();
    bool issue();
    // "Átárazás" and "Akciók" (right V) on the current product: the repricing window's prices
    // are stored into the product it was opened for.
    bool reprice();
    void promotions();
    // "Elfogad", a double click or Enter in the list: Modify, as no editor picks from here.
    bool accept() { return modify(); }

    // The search dialog: "&Keresés" goes from the first product, "Köve&tkező" from the next;
    // false when the text was not found (the list then stays on the last product looked at).
    bool find(const QString& what, SearchIn where);
    bool findNext(const QString& what, SearchIn where);

    // The periodic re-read (unless the setting norefresh): true when the products were read
    // again, which the window then shows.
    bool refreshTick();

    // The picture file of the current product when it exists and is a picture; empty else.
    QString picturePath();
    // A click on the picture: opens it with the desktop's viewer, or says why not.
    void openPicture();

    RowTint tintOf(const RecordCursor& row) const;

    ProductRegister& store() { return m_register; }

private:
    void applyFilter(ListChange change);
    void reapplyKeeping(std::optional<ProductRecord> product);
    void fillCategories();
    bool receiveInto(const ProductRecord& product);
    bool createNew(bool service, const QString& searchText);
    // The current product opened for a window that changes it; nothing (after the message)
    // when it is gone.
    std::unique_ptr<OpenedRecord> openCurrent(const ProductRecord& product);
    bool walkTo(const QString& what, SearchIn where, bool fromFirst);

    TDataModule1& m_data;
    Prompt& m_prompt;
    ProductWindows& m_windows;
    Desktop& m_desktop;
    ProductWindowOptions m_options;
    const IniSettings& m_settings;
    ProductRegister m_register;
    ProductTab m_tab = ProductTab::All;
    ListChange m_lastChange = ListChange::Tab;
    QStringList m_warehouses;
    int m_warehouse = 0;
    QStringList m_categories;
    int m_category = 0;
    SearchKey m_key = SearchKey::Name;
};

}  // namespace kavina::products
