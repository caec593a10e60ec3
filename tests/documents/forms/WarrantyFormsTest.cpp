// The warranty windows: the list shows the lines of the highlighted certificate and prints
// that one; the editor shows what the invoice filled in.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "common/OpenDataFolder.h"
#include "common/ScriptedPrompt.h"
#include "documents/warranty/forms/TGaranciaForm.h"
#include "documents/warranty/forms/TGaranciak.h"
#include "foundation/CatalogueFields.h"
#include "foundation/PrinterList.h"

namespace kavina::documents {
namespace {

namespace G = fields::Garancia;
namespace L = fields::Garancia2;

const QDate kToday(2008, 3, 10);

class WarrantyFormsTest : public OpenDataFolder {
protected:
    void SetUp() override {
        OpenDataFolder::SetUp();
        data.UserTable().append();
        data.UserTable().post();
    }
    WarrantyCommandContext context() {
        return {data,
                prompt,
                [] { return nullptr; },
                [] { return QStringLiteral("Kovács Anna"); },
                [] { return kToday; },
                [] { return false; },
                [] { return nullptr; },
                [this] {
                    return report::PrinterChoice{kPdfPrinterName, QString::fromStdString(pdfs.path()), {}, {}};
                },
                QStringLiteral("www.pelda.hu"),
                {},
                {}};
    }
    void addCertificate(int n, QDate start, int lines) {
        const QString number = QStringLiteral("GAR2008/0000%1").arg(n);
        TableHandle& h = data.GaranciaTable();
        h.append();
        h.setString(G::SORSZAM, number);
        h.setString(G::NEV, QStringLiteral("Vevő %1").arg(n));
        h.setDate(G::GARKEZD, start);
        h.post();
        TableHandle& l = data.Garancia2Table();
        for (int i = 0; i < lines; ++i) {
            l.append();
            l.setString(L::SORSZAM, number);
            l.setString(L::MEGNEVEZES, QStringLiteral("Fúrógép"));
            l.setFloat(L::MENNYISEG, 1);
            l.post();
        }
    }

    ScriptedPrompt prompt;
    testing_support::TestFolder pdfs;
};

TEST_F(WarrantyFormsTest, TheListShowsAndPrintsTheHighlightedCertificate) {
    addCertificate(1, kToday, 1);
    addCertificate(2, kToday, 3);
    addCertificate(3, QDate(2007, 5, 1), 2);
    TGaranciak list(nullptr, context(), TGaranciak::Mode::List);
    list.show();
    auto* grid = list.findChild<QTableView*>("warrantyGrid");
    auto* lines = list.findChild<QTableView*>("warrantyLinesGrid");
    ASSERT_EQ(grid->model()->rowCount(), 3) << "no date restriction at first";
    grid->setCurrentIndex(grid->model()->index(1, 0));
    QApplication::processEvents();
    EXPECT_EQ(list.currentNumber(), "GAR2008/00002");
    EXPECT_EQ(lines->model()->rowCount(), 3);

    prompt.answerYesNo(true);
    list.findChild<QPushButton*>("copyPushButton")->click();
    EXPECT_EQ(prompt.entries()[0].text, "Biztos, hogy újra szeretné nyomtatni a garancialevelet?");
    const QStringList files = QDir(QString::fromStdString(pdfs.path())).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files[0].startsWith("GAR2008_00002")) << files[0].toStdString();

    list.findChild<QPushButton*>("archivePushButton")->click();
    EXPECT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(list.currentNumber(), "GAR2008/00003");
    EXPECT_EQ(lines->model()->rowCount(), 2);
    list.findChild<QPushButton*>("archivePushButton")->click();
    EXPECT_EQ(grid->model()->rowCount(), 2);
}

TEST(WarrantyInvoiceFilterTest, ThisYearsInvoicesAndStornosOnly) {
    EXPECT_EQ(warrantyInvoiceFilter(kToday), "(SZAMLATIP = 'B' OR SZAMLATIP = 'S') AND KIALLIT > '2007.12.31'");
}

}  // namespace
}  // namespace kavina::documents
