// A day at the shop, in order, on one demo folder: every step through the main window's menu
// commands and the real windows they open, with the tables, the printed PDFs and the prompt's
// messages checked after each.

#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>

#include "dbase/FolderCheck.h"
#include "e2e/ShopDay.h"
#include "foundation/CatalogueFields.h"
#include "shell/mainwindow/forms/TForm1.h"

namespace kavina::e2e {
namespace {

namespace H = fields::Szamla;
namespace L = fields::Szamla2;
namespace T = fields::Tranzakcio;

class ShopDayTest : public ShopDay {
protected:
    // The lines of a stored document: quantity, VAT rate and name, sorted.
    static QStringList lines(TDataModule1& b, const QString& number) {
        b.SzamlaTable().refresh();
        if (!b.SzamlaTable().locate({{H::SZAMLASZAM, number}})) return {};
        QStringList found = records(b.Szamla2Table(), L::SZAMLASZAM, number, {L::MENNYISEG, L::AFA, L::MEGNEVEZES});
        found.sort();
        return found;
    }
    // The stock movements a document wrote, sorted.
    static QStringList movements(TDataModule1& b, const QString& number) {
        QStringList found =
            records(b.handle(TableId::Tranzakcio), T::bizonylat, number, {T::tipus, T::mennyiseg, T::tetel});
        found.sort();
        return found;
    }
    static double stockOf(TDataModule1& b, const QString& name) {
        TableHandle& products = b.AnyagTable();
        products.refresh();
        if (!products.locate({{fields::Anyag::MEGNEVEZES, name}})) {
            ADD_FAILURE() << "no product " << name.toStdString();
            return -1;
        }
        return products.asFloat(fields::Anyag::MENNYISEG);
    }
    // The built-in printer's message after a print.
    static QString printedText(const QStringList& pdfs) {
        return QStringLiteral("message|information|Nyomtatás|") +
               (pdfs.size() == 1 ? QStringLiteral("A PDF nyomtató ebbe a fájlba nyomtatott:\n")
                                 : QStringLiteral("A PDF nyomtató ezekbe a fájlokba nyomtatott:\n")) +
               pdfs.join(QLatin1Char('\n'));
    }
    static void expectTexts(const QString& text, const QStringList& wanted) {
        // pdftotext lays words out with runs of blanks; one blank is enough to compare.
        const QString simple = QString(text).replace(QRegularExpression(QStringLiteral("[ ]+")), QStringLiteral(" "));
        for (const QString& w : wanted)
            EXPECT_TRUE(simple.contains(w)) << w.toStdString() << " not in\n" << text.toStdString();
    }

    struct Pick {
        int tab;         // the register's tab
        QString search;  // typed into its search box
        QString quantity;
    };
    // "Új tétel" in an editor for each pick: the product register opens as picker, the product
    // is found by the name typed into its search box on its tab and taken with "Elfogad", and its
    // quantity is typed into the line dialog.
    void addLines(QWidget& editor, const std::vector<Pick>& picks) {
        for (const Pick& pick : picks) {
            windows.expect(QStringLiteral("TAnyagForm"), [this, pick](QWidget& picker) {
                child<QTabBar>(picker, QStringLiteral("productTabBar"))->setCurrentIndex(pick.tab);
                child<QLineEdit>(picker, QStringLiteral("searchLineEdit"))->setText(pick.search);
                settle();
                windows.expect(QStringLiteral("TAnyagval"), [quantity = pick.quantity](QWidget& line) {
                    auto* box = child<QLineEdit>(line, QStringLiteral("quantityLineEdit"));
                    box->selectAll();
                    typeInto(*box, quantity);
                    click(line, QStringLiteral("acceptPushButton"));
                });
                click(picker, QStringLiteral("acceptPushButton"));
            });
            click(editor, QStringLiteral("newLinePushButton"));
        }
    }

    // The editor's partner from the partner register opened by a click on the name box: the
    // name typed into its quick search, then "Elfogad".
    void choosePartner(QWidget& editor, const QString& name, bool owesMoney = false) {
        windows.expect(QStringLiteral("TPartnerForm"), [this, name, owesMoney](QWidget& partners) {
            // A partner with invoices past their due date is shown them before the choice.
            if (owesMoney)
                windows.expect(QStringLiteral("Ttartozasform"),
                               [](QWidget& debts) { click(debts, QStringLiteral("continuePushButton")); });
            typeInto(*child<QLineEdit>(partners, QStringLiteral("quickSearchLineEdit")), name);
            settle();
            click(partners, QStringLiteral("acceptPushButton"));
        });
        auto* box = child<QLineEdit>(editor, QStringLiteral("partnerNameLineEdit"));
        QTest::mouseClick(box, Qt::LeftButton);
        settle();
    }

    static void choosePayment(QWidget& editor, const QString& method) {
        auto* box = child<QComboBox>(editor, QStringLiteral("paymentComboBox"));
        const int index = box->findText(method);
        ASSERT_GE(index, 0) << method.toStdString();
        box->setCurrentIndex(index);
        emit box->activated(index);
        settle();
    }

    void transferInvoice(shell::TForm1& form) {
        SCOPED_TRACE("invoice by transfer");
        windows.expect(QStringLiteral("TSzamlaForm"), [this](QWidget& editor) {
            choosePartner(editor, QStringLiteral("Kovács és"), true);
            choosePayment(editor, QStringLiteral("Átutalás"));
            child<QSpinBox>(editor, QStringLiteral("discountSpinBox"))->setValue(10);
            addLines(editor, {{0, QStringLiteral("Kalapács"), QStringLiteral("3")},
                              {0, QStringLiteral("Barkácskalauz"), QStringLiteral("2")}});
            prompt.answerCopies(2);
            click(editor, QStringLiteral("printPushButton"));
        });
        command(form, QStringLiteral("SzamlaNew"));
        expectWindowsDone();
        const QString number = QStringLiteral("SZA%1/00007").arg(now.date().year());
        const QString today = now.date().toString(QStringLiteral("yyyy.MM.dd"));
        const QStringList pdfs = newPdfFiles();
        expectPrompts({QStringLiteral("copies|none|||2"), printedText(pdfs)});
        ASSERT_EQ(pdfs.size(), 2);
        for (const auto& [pdf, copy] : {std::pair{pdfs[0], "Eredeti példány"}, {pdfs[1], "Másolati példány"}})
            expectTexts(pdfText(pdf), {QString::fromUtf8(copy), number, QStringLiteral("Kovács és Társa Kft."),
                                       QStringLiteral("Átutalás"), QStringLiteral("Kalapács 500 g"),
                                       QStringLiteral("Barkácskalauz (könyv)"), QStringLiteral("Kedvezmény"),
                                       QStringLiteral("15 034 Ft"), QStringLiteral("azaz tizenötezer-harmincnégy Ft")});
        const auto b = books();
        EXPECT_EQ(records(b->SzamlaTable(), H::SZAMLASZAM, number,
                          {H::SZAMLATIP, H::PARTNERKOD, H::FIZMOD, H::KIALLIT, H::AFAALAP, H::FIZETENDO, H::FIZETVE,
                           H::KEDVEZMENY, H::PRINT}),
                  QStringList(QStringLiteral("SZAMLATIP=B PARTNERKOD=1 FIZMOD=Átutalás KIALLIT=%1 AFAALAP=13035 "
                                             "FIZETENDO=15034 FIZETVE=F KEDVEZMENY=10 PRINT=2")
                                  .arg(today)));
        EXPECT_EQ(lines(*b, number), (QStringList{QStringLiteral("MENNYISEG=2 AFA=5 MEGNEVEZES=Barkácskalauz (könyv)"),
                                                  QStringLiteral("MENNYISEG=3 AFA=27 MEGNEVEZES=Kalapács 500 g")}));
        EXPECT_EQ(movements(*b, number),
                  (QStringList{QStringLiteral("tipus=ELS mennyiseg=2 tetel=Barkácskalauz (könyv)"),
                               QStringLiteral("tipus=ELS mennyiseg=3 tetel=Kalapács 500 g")}));
        EXPECT_EQ(stockOf(*b, QStringLiteral("Kalapács 500 g")), 24 - 3);
        EXPECT_EQ(stockOf(*b, QStringLiteral("Barkácskalauz (könyv)")), 10 - 2);
    }
};

TEST_F(ShopDayTest, ADayAtTheShopWithEveryDocument) {
    runDay([&](shell::TForm1& form) { transferInvoice(form); });
    EXPECT_EQ(testing_support::checkAllTables(data.path()), std::vector<std::string>{});
}

}  // namespace
}  // namespace kavina::e2e
