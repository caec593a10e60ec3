#pragma once
// A fresh data folder (reference rows: VAT groups 27%, 18%, 5%, FAD; units; the warehouse
// "Törzsraktár") with the data module open, a settings record, and the product register's
// window logic over it. The windows it would open answer from scripts.

#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NewDataFolder.h"
#include "foundation/TDataModule1.h"
#include "products/register/ProductWindow.h"

namespace kavina::products {

// The product windows, scripted: each call takes the next answer of its queue (none queued is
// a cancel) and is recorded.
class ScriptedProductWindows : public ProductWindows {
public:
    using Edit = std::function<std::optional<ProductFields>(const ProductFields& start)>;

    std::deque<Edit> edits;
    std::deque<std::optional<documents::ReceivingValues>> receipts;
    std::deque<std::optional<double>> issues;
    using Reprice = std::function<std::optional<RepricedValues>(const RecordCursor& product)>;
    std::deque<Reprice> repricings;
    // "edit:<title>", "receive:<name>:<quantity enabled>", "issue:<name>", "reprice:<name>",
    // "promotions:<code>:<today>", "units", "vatGroups"
    QStringList calls;
    std::vector<ProductFields> starts;

    std::optional<ProductFields> editProduct(const QString& title, const ProductFields& start) override {
        calls << QStringLiteral("edit:") + title;
        starts.push_back(start);
        if (edits.empty()) return std::nullopt;
        Edit edit = edits.front();
        edits.pop_front();
        return edit(start);
    }
    std::optional<documents::ReceivingValues> receive(const RecordCursor& product, bool quantityEnabled) override {
        calls << QStringLiteral("receive:%1:%2").arg(product.asString(fields::Anyag::MEGNEVEZES)).arg(quantityEnabled);
        return take(receipts);
    }
    std::optional<double> issue(const RecordCursor& product) override {
        calls << QStringLiteral("issue:") + product.asString(fields::Anyag::MEGNEVEZES);
        return take(issues);
    }

    std::optional<RepricedValues> reprice(const RecordCursor& product) override {
        calls << QStringLiteral("reprice:") + product.asString(fields::Anyag::MEGNEVEZES);
        if (repricings.empty()) return std::nullopt;
        Reprice reprice = repricings.front();
        repricings.pop_front();
        return reprice(product);
    }
    std::optional<QString> unitChosen, vatGroupChosen, categoryChosen;
    std::optional<QString> categories() override {
        calls << QStringLiteral("categories");
        return categoryChosen;
    }
    std::optional<QString> units() override {
        calls << QStringLiteral("units");
        return unitChosen;
    }
    std::optional<QString> vatGroups() override {
        calls << QStringLiteral("vatGroups");
        return vatGroupChosen;
    }
    void promotions(const RecordCursor& product, const QDate& today) override {
        calls << QStringLiteral("promotions:%1:%2")
                     .arg(product.asFloat(fields::Anyag::ANYAGKOD))
                     .arg(today.toString(Qt::ISODate));
    }

private:
    template <typename T>
    static std::optional<T> take(std::deque<std::optional<T>>& queue) {
        if (queue.empty()) return std::nullopt;
        std::optional<T> next = queue.front();
        queue.pop_front();
        return next;
    }
};

class RecordingDesktop : public Desktop {
public:
    QStringList opened;
    bool openFile(const QString& path) override {
        opened << path;
        return true;
    }
};

class ProductFolder : public ::testing::Test {
protected:
    testing_support::TestFolder dir;
    TDataModule1 data;
    ScriptedPrompt prompt;
    ScriptedProductWindows dialogs;
    RecordingDesktop desktop;
    IniSettings settings;
    int rememberedWarehouse = 0;
    QDateTime now = QDateTime(QDate(2008, 3, 15), QTime(10, 15, 30), Qt::UTC);

    void SetUp() override {
        createDataFolder(dir.path());
        data.open(dir.path());
        TableHandle& user = data.UserTable();
        user.append();
        user.setInteger(fields::User::ANYAGKOD, 41);
        user.setInteger(fields::User::SELOTAG, 1);
        user.setFloat(fields::User::SZORZO1, 25);
        user.setFloat(fields::User::SZORZO2, 20);
        user.setFloat(fields::User::SZORZO3, 10);
        user.post();
    }
    void TearDown() override { EXPECT_TRUE(prompt.failures().isEmpty()) << prompt.failures().join('\n').toStdString(); }

    ProductWindowOptions options(const QString& rights = QStringLiteral("TUVW")) {
        return {.settings = &settings,
                .rights = rights,
                .currentUser = QStringLiteral("Kovács Anna"),
                .now = [this] { return now; },
                .rememberedWarehouse = &rememberedWarehouse,
                .goodsReceiptInProgress = {}};
    }

    // A product as the dialog would give it.
    static ProductFields goods(const QString& name, const QString& category = QStringLiteral("Szerszám")) {
        ProductFields f;
        f.name = name;
        f.category = category;
        f.warehouse = QStringLiteral("Törzsraktár");
        f.unit = QStringLiteral("db");
        f.vatGroup = QStringLiteral("27%");
        return f;
    }
    static ProductFields service(const QString& name, std::array<double, 4> prices) {
        ProductFields f;
        f.service = true;
        f.name = name;
        f.category = QStringLiteral("Munkadíj");
        f.unit = QStringLiteral("óra");
        f.vatGroup = QStringLiteral("27%");
        f.prices = prices;
        return f;
    }

    // Appends a product straight into the table, as another program would.
    void addRow(double code, const QString& name, double stock, const QString& category = QStringLiteral("Szerszám"),
                const QString& warehouse = QStringLiteral("Törzsraktár"), bool isService = false) {
        namespace A = fields::Anyag;
        TableHandle& p = data.AnyagTable();
        p.append();
        p.setFloat(A::ANYAGKOD, code);
        p.setString(A::MEGNEVEZES, name);
        p.setString(A::KATEGORIA, category);
        p.setString(A::MEGJEGYZES, warehouse);
        p.setString(A::CIKKSZAM, QStringLiteral("C-%1").arg(code));
        p.setString(A::EGYSEG, QStringLiteral("db"));
        p.setFloat(A::MENNYISEG, stock);
        p.setFloat(A::AFAKULCS, 27);
        p.setLogical(A::TERMEK, isService);
        p.setLogical(A::NINCSANYAG, stock == 0);
        p.post();
    }

    // The names the list shows, in its order.
    QStringList listed() {
        QStringList names;
        TableHandle& p = data.AnyagTable();
        const CursorMark at = p.bookmark();
        for (p.first(); !p.eof(); p.next()) names << p.asString(fields::Anyag::MEGNEVEZES);
        p.gotoBookmark(at);
        return names;
    }
    QString currentName() { return data.AnyagTable().asString(fields::Anyag::MEGNEVEZES); }
    int64_t counter() {
        data.UserTable().refresh();
        data.UserTable().first();
        return data.UserTable().asInteger(fields::User::ANYAGKOD);
    }
    // Moves the list onto the product of that name.
    void select(const QString& name) {
        ASSERT_TRUE(data.AnyagTable().locate({{fields::Anyag::MEGNEVEZES, name}})) << name.toStdString();
    }
};

}  // namespace kavina::products
