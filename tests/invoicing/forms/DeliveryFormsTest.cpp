// The delivery-note editor's window in each of its kinds, offscreen: which boxes, columns and
// buttons the kind shows, and the closing question.

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>

#include "common/ScriptedPrompt.h"
#include "dbase/TestFolder.h"
#include "foundation/CatalogueFields.h"
#include "foundation/NewDataFolder.h"
#include "invoicing/delivery/forms/Tszlevelform.h"

namespace kavina::invoicing {
namespace {

class NoWindows : public DeliveryWindows {
public:
    bool pickPartner() override { return false; }
    bool findPartnerByCode(const QString&) override { return false; }
    bool pickLine(int) override { return false; }
    bool editLine() override { return false; }
    std::optional<QString> editRemark(const QString&) override { return std::nullopt; }
    void preview(const report::PreparedReport&) override {}
    bool chooseSupplierOrder() override { return false; }
    bool saveDocument(DeliveryKind, EditorFocus&, const std::optional<invoicing::ReplacedOffer>&) override {
        return false;
    }
};

class DeliveryFormsTest : public ::testing::Test {
protected:
    testing_support::TestFolder dir;
    TDataModule1 data;
    ScriptedPrompt prompt;
    MemoryDocument doc;
    IniSettings settings;
    NoWindows windows;

    void SetUp() override {
        createDataFolder(dir.path());
        data.open(dir.path());
        TableHandle& s = data.UserTable();
        s.append();
        s.setString(fields::User::FELO, QStringLiteral("SZL"));
        s.post();
    }
    void TearDown() override { EXPECT_TRUE(prompt.failures().isEmpty()) << prompt.failures().join('\n').toStdString(); }

    std::unique_ptr<Tszlevelform> open(DeliveryKind kind) {
        auto form = std::make_unique<Tszlevelform>(nullptr, data, doc, prompt, windows,
                                                   DeliveryEditorOptions{.kind = kind,
                                                                         .settings = &settings,
                                                                         .currentUser = QStringLiteral("Kovács Anna"),
                                                                         .today = [] { return QDate(2008, 3, 10); }});
        EXPECT_TRUE(form->start());
        form->show();
        QApplication::processEvents();
        return form;
    }

    template <typename T>
    static T* child(QWidget& w, const char* name) {
        T* found = w.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

TEST_F(DeliveryFormsTest, EachKindShowsItsOwnBoxes) {
    auto note = open(DeliveryKind::DeliveryNote);
    EXPECT_EQ(note->windowTitle(), QStringLiteral("Szállítólevél készítése"));
    EXPECT_TRUE(child<QSpinBox>(*note, "discountSpinBox")->isVisible());
    EXPECT_FALSE(child<QLineEdit>(*note, "partnerNumberLineEdit")->isVisible());
    EXPECT_FALSE(child<QPushButton>(*note, "loadOrderPushButton")->isVisible());
    prompt.answerYesNo(true);
    note->logic().close();
    note.reset();

    auto receipt = open(DeliveryKind::GoodsReceipt);
    EXPECT_EQ(receipt->windowTitle(), QStringLiteral("Bevételezés"));
    EXPECT_FALSE(child<QSpinBox>(*receipt, "discountSpinBox")->isVisible());
    EXPECT_TRUE(child<QLineEdit>(*receipt, "partnerNumberLineEdit")->isVisible());
    EXPECT_TRUE(child<QLineEdit>(*receipt, "supplierGrossLineEdit")->isVisible());
    EXPECT_TRUE(child<QPushButton>(*receipt, "loadOrderPushButton")->isVisible());
    prompt.answerYesNo(true);
    receipt->logic().close();
    receipt.reset();

    auto order = open(DeliveryKind::SupplierOrder);
    QTableView* lines = child<QTableView>(*order, "linesTableView");
    for (int column : {4, 5, 6, 8, 9}) EXPECT_TRUE(lines->isColumnHidden(column)) << column;
    EXPECT_FALSE(lines->isColumnHidden(2));
    EXPECT_FALSE(child<QLabel>(*order, "payableLabel")->isVisible());
    prompt.answerYesNo(true);
    order->logic().close();
    order.reset();

    auto payout = open(DeliveryKind::CashPayout);
    EXPECT_FALSE(child<QTableView>(*payout, "linesTableView")->isVisible());
    EXPECT_FALSE(child<QPushButton>(*payout, "previewPushButton")->isVisible());
    EXPECT_EQ(child<QPushButton>(*payout, "printPushButton")->text(), QStringLiteral("Mentés [F10]"));
    EXPECT_TRUE(child<QLineEdit>(*payout, "supplierNetLineEdit")->isVisible());
    EXPECT_FALSE(child<QLineEdit>(*payout, "supplierGrossLineEdit")->isVisible());
    prompt.answerYesNo(true);
    payout->logic().close();
}

TEST_F(DeliveryFormsTest, KilepesAsksAndNoKeepsTheWindowOpen) {
    auto form = open(DeliveryKind::Return);
    prompt.answerYesNo(false);
    child<QPushButton>(*form, "closePushButton")->click();
    EXPECT_TRUE(form->isVisible());
    prompt.answerYesNo(true);
    child<QPushButton>(*form, "closePushButton")->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(prompt.transcript(),
              QStringList(2, QStringLiteral("yes/no|warning|Figyelem !|Biztos benne, hogy kilép mentés nélkül a "
                                            "szerkesztésből? ")));
}

// The offer editor: its window name (the partner register opens on "Vevő" for it), its
// captions, its price headings, and the lines sorted by a clicked column title.
TEST_F(DeliveryFormsTest, TheOfferEditorSortsItsLinesByTheClickedColumn) {
    namespace L = fields::Szamla2;
    auto offer = open(DeliveryKind::Offer);
    EXPECT_EQ(offer->objectName(), QStringLiteral("TAjanlatForm"));
    EXPECT_EQ(offer->windowTitle(), QStringLiteral("Árajánlat készítése"));
    EXPECT_EQ(child<QLabel>(*offer, "headerLabel")->text().trimmed(), QStringLiteral("Árajánlat"));
    QStringList labels;
    for (const QLabel* label : offer->findChildren<QLabel*>())
        if (label->isVisible()) labels << label->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("Számla kelte:"))) << labels.join('|').toStdString();
    EXPECT_TRUE(child<QSpinBox>(*offer, "discountSpinBox")->isVisible());
    EXPECT_EQ(doc.mszamla.asInteger(fields::Szamla::AFA), 25);
    QTableView* lines = child<QTableView>(*offer, "linesTableView");
    EXPECT_EQ(lines->model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Egységár (nettó)"));
    EXPECT_EQ(lines->model()->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Egységár (bruttó)"));
    for (const auto& [name, quantity] : {std::pair{"Zár", 1}, {"Anya", 3}, {"Csavar", 2}}) {
        doc.mszamla2.append();
        doc.mszamla2.setString(L::MEGNEVEZES, QString::fromUtf8(name));
        doc.mszamla2.setFloat(L::MENNYISEG, quantity);
        doc.mszamla2.post();
    }
    const auto firstName = [&] {
        doc.mszamla2.first();
        return doc.mszamla2.asString(L::MEGNEVEZES).trimmed();
    };
    emit lines->horizontalHeader()->sectionClicked(1);
    EXPECT_EQ(firstName(), QStringLiteral("Anya"));
    EXPECT_EQ(lines->horizontalHeader()->sortIndicatorSection(), 1);
    emit lines->horizontalHeader()->sectionClicked(2);
    EXPECT_EQ(firstName(), QStringLiteral("Zár"));
    EXPECT_EQ(lines->model()->index(0, 1).data().toString(), QStringLiteral("Zár"));
    prompt.answerYesNo(true);
    child<QPushButton>(*offer, "closePushButton")->click();
    EXPECT_EQ(prompt.transcript(),
              QStringList{"yes/no|warning|Figyelem !|Biztos benne, hogy kilép mentés nélkül az árajánlat "
                          "szerkesztéséből? "});
}

}  // namespace
}  // namespace kavina::invoicing
