// The document register window offscreen over a real data folder: a search or a sort moves
// the highlighted row, and "&Másolat" then acts on that document; the archive toggle, the
// line panel, the buttons each list shows, and the colour a row is painted in.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "foundation/FieldFilter.h"
#include "invoicing/RegisterFolder.h"
#include "invoicing/register/forms/TSzamlak.h"
#include "widgets/RecordGridModel.h"

namespace kavina::invoicing {
namespace {

namespace H = fields::Szamla;

class RegisterFormsTest : public RegisterFolder {
protected:
    IniSettings settings;

    void SetUp() override {
        RegisterFolder::SetUp();
        store({.number = "SZA2007/00031", .issued = "2007.06.30", .name = "Régi Vevő Bt."});
        store({.number = "SZA2008/00001", .name = "Zeta Bt.", .paid = true, .serial = 1});
        store({.number = "SZA2008/00002", .name = "Alfa Kft.", .serial = 1});
        store({.number = "SZA2008/00013", .name = "Őrség Tüzép", .serial = 1});
        store({.number = "SZA2008/00014", .type = "J", .name = "Béta Zrt.", .serial = 1});
    }
    std::unique_ptr<TSzamlak> open(ListKind kind, bool selection = false) {
        RegisterRequest request;
        request.kind = kind;
        request.selection = selection;
        filter::restrictExactly(data.SzamlaTable(), listFilter(kind, false, today(), std::nullopt));
        auto window = std::make_unique<TSzamlak>(nullptr, data, prompt, windows, request, options(), settings);
        window->show();
        QApplication::processEvents();
        return window;
    }
    template <typename T>
    T* child(QWidget& w, const char* name) {
        T* found = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void type(QLineEdit* box, const QString& text) {
        for (const QChar ch : text) {
            QTest::sendKeyEvent(QTest::KeyAction::Press, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::KeyAction::Release, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
        QApplication::processEvents();
    }
    // The number column of the highlighted row; empty unless exactly one row is highlighted
    // and in sight.
    QString highlighted(QTableView* grid) {
        QApplication::processEvents();
        const QModelIndexList rows = grid->selectionModel()->selectedRows(1);
        if (rows.size() != 1) return {};
        if (!grid->viewport()->rect().contains(grid->visualRect(rows.front()))) return {};
        return rows.front().data().toString().trimmed();
    }
};

TEST_F(RegisterFormsTest, ASearchedDocumentIsHighlightedAndTheCopyReprintsThatOne) {
    const auto window = open(ListKind::Invoices);
    QTableView* grid = child<QTableView>(*window, "documentGrid");
    EXPECT_EQ(grid->model()->rowCount(), 4);
    EXPECT_EQ(child<QLabel>(*window, "headerLabel")->text(), QStringLiteral("        Számlák"));
    type(child<QLineEdit>(*window, "searchLineEdit"), QStringLiteral("sza2008/0001"));
    EXPECT_EQ(highlighted(grid), QStringLiteral("SZA2008/00013"));
    prompt.answerYesNo(true);
    windows.answerPrint(true);
    child<QPushButton>(*window, "copyPushButton")->click();
    QApplication::processEvents();
    EXPECT_EQ(windows.opened(), QStringList({"print|SZA2008/00013", "printing done"}));
    EXPECT_EQ(highlighted(grid), QStringLiteral("SZA2008/00013"));
    window->reject();
    filter::removeRestriction(data.SzamlaTable());
    EXPECT_EQ(serialOf("SZA2008/00013"), 3);
    EXPECT_EQ(serialOf("SZA2008/00002"), 1);
    EXPECT_EQ(serialOf("SZA2008/00001"), 1);
}

TEST_F(RegisterFormsTest, ATitleClickSortsByNameAndTheSearchThenFindsNames) {
    const auto window = open(ListKind::Invoices);
    QTableView* grid = child<QTableView>(*window, "documentGrid");
    grid->horizontalHeader()->sectionClicked(2);  // "Fizető neve"
    QApplication::processEvents();
    EXPECT_EQ(window->logic().sortField().name, H::NEV.name);
    EXPECT_EQ(grid->model()->index(0, 2).data().toString().trimmed(), QStringLiteral("Alfa Kft."));
    type(child<QLineEdit>(*window, "searchLineEdit"), QStringLiteral("őr"));
    EXPECT_EQ(highlighted(grid), QStringLiteral("SZA2008/00013"));
    prompt.answerYesNo(false);
    child<QPushButton>(*window, "copyPushButton")->click();
    QApplication::processEvents();
    window->reject();
    filter::removeRestriction(data.SzamlaTable());
    EXPECT_EQ(serialOf("SZA2008/00013"), 2);
    EXPECT_EQ(serialOf("SZA2008/00014"), 1);
}

TEST_F(RegisterFormsTest, TheArchiveToggleTheLinePanelAndTheRowColours) {
    const auto window = open(ListKind::Invoices);
    QTableView* grid = child<QTableView>(*window, "documentGrid");
    QTableView* lines = child<QTableView>(*window, "lineGrid");
    EXPECT_EQ(lines->model()->rowCount(), 2);
    EXPECT_EQ(lines->model()->index(0, 1).data().toString().trimmed(), QStringLiteral("Fúrógép ütvefúró 750 W"));
    const auto tag = [&](int row) {
        return DocumentTint(grid->model()->index(row, 0).data(widgets::RecordGridModel::kRowTagRole).toInt());
    };
    EXPECT_EQ(tag(0), DocumentTint::None);   // paid
    EXPECT_EQ(tag(1), DocumentTint::Red);    // unpaid
    EXPECT_EQ(tag(3), DocumentTint::Green);  // corrective
    child<QPushButton>(*window, "archivePushButton")->click();
    QApplication::processEvents();
    EXPECT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(highlighted(grid), QStringLiteral("SZA2007/00031"));
    EXPECT_EQ(lines->model()->rowCount(), 2);
    EXPECT_FALSE(child<QPushButton>(*window, "choosePushButton")->isVisibleTo(window.get()));
    for (const char* name : {"stornoPushButton", "spoilPushButton", "paymentPushButton"}) {
        QPushButton* b = child<QPushButton>(*window, name);
        EXPECT_TRUE(b->isVisibleTo(window.get())) << name;
        EXPECT_TRUE(b->isEnabled()) << name;
    }
}

TEST_F(RegisterFormsTest, StornoSpoilAndPaymentOpenOnTheHighlightedDocument) {
    const auto window = open(ListKind::Invoices);
    QTableView* grid = child<QTableView>(*window, "documentGrid");
    type(child<QLineEdit>(*window, "searchLineEdit"), QStringLiteral("SZA2008/00002"));
    ASSERT_EQ(highlighted(grid), QStringLiteral("SZA2008/00002"));
    windows.answerDialog(false);
    child<QPushButton>(*window, "stornoPushButton")->click();
    child<QLineEdit>(*window, "searchLineEdit")->clear();
    type(child<QLineEdit>(*window, "searchLineEdit"), QStringLiteral("SZA2008/00013"));
    windows.answerDialog(false);
    child<QPushButton>(*window, "spoilPushButton")->click();
    windows.answerDialog(true);
    child<QPushButton>(*window, "paymentPushButton")->click();
    QApplication::processEvents();
    EXPECT_EQ(highlighted(grid), QStringLiteral("SZA2008/00013"));  // the list was read again, on the same row
    EXPECT_EQ(windows.opened().mid(windows.opened().size() - 3),
              QStringList({QStringLiteral("storno|SZA2008/00002"), QStringLiteral("spoil|SZA2008/00013"),
                           QStringLiteral("payment|SZA2008/00013")}));
}

TEST_F(RegisterFormsTest, SelectionModeChoosesTheHighlightedDocument) {
    const auto window = open(ListKind::Invoices, true);
    QTableView* grid = child<QTableView>(*window, "documentGrid");
    type(child<QLineEdit>(*window, "searchLineEdit"), QStringLiteral("SZA2008/00002"));
    QPushButton* choose = child<QPushButton>(*window, "choosePushButton");
    EXPECT_TRUE(choose->isVisibleTo(window.get()));
    EXPECT_EQ(highlighted(grid), QStringLiteral("SZA2008/00002"));
    choose->click();
    EXPECT_TRUE(window->chosen());
    EXPECT_EQ(data.SzamlaTable().asString(H::SZAMLASZAM).trimmed(), QStringLiteral("SZA2008/00002"));
}

TEST_F(RegisterFormsTest, ThePayoutListHidesItsButtonsColumnsAndLines) {
    store({.number = "PKI2008/00001", .type = "6"});
    const auto window = open(ListKind::CashPayouts);
    QTableView* grid = child<QTableView>(*window, "documentGrid");
    for (const char* name : {"copyPushButton", "previewPushButton", "agentPushButton", "stornoPushButton"})
        EXPECT_FALSE(child<QPushButton>(*window, name)->isVisibleTo(window.get())) << name;
    EXPECT_FALSE(child<QGroupBox>(*window, "linesGroupBox")->isVisibleTo(window.get()));
    EXPECT_EQ(grid->model()->headerData(6, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Kifizetés"));
    EXPECT_TRUE(grid->isColumnHidden(10));  // "Fizetendő"
    EXPECT_FALSE(grid->isColumnHidden(6));
}

}  // namespace
}  // namespace kavina::invoicing
