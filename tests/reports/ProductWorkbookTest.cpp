// The detailed product list in a spreadsheet: the cells, bold ranges and sums as a spreadsheet
// program reads them back, the file choice, the failures and opening the saved file.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "StatisticsFolder.h"
#include "WorkbookReader.h"
#include "common/ScriptedPrompt.h"
#include "foundation/RuleError.h"
#include "reports/export/ProductWorkbook.h"

namespace kavina::reports {
namespace {

namespace A = fields::Anyag;

// Records what would have been opened.
class RecordingDesktop : public Desktop {
public:
    bool opens = true;
    QStringList opened;
    bool openFile(const QString& path) override {
        opened << path;
        return opens;
    }
};

class ProductWorkbookTest : public StatisticsFolder {
protected:
    ScriptedPrompt prompt;
    RecordingDesktop desktop;
    const QDateTime made{kSaleDay, QTime(14, 5, 9)};

    void product(double code, const QString& name, double stock, double grossPurchase, double fixed) {
        addProduct(code, name, stock);
        setProduct(QStringLiteral("C-%1").arg(code), {{A::BESZERZAR, grossPurchase / 1.27},
                                                      {A::bbesz, grossPurchase},
                                                      {A::FIXAR, fixed},
                                                      {A::bfixar, fixed * 1.27}});
    }
    QString path(const char* name) const { return QString::fromStdString(dir.path()) + "/" + name; }
};

TEST_F(ProductWorkbookTest, ThreeProductsFillRowsFourToSixWithLabelsAndSumsBelow) {
    product(2, QStringLiteral("=HYPERLINK(\"x\")"), 2, 1000, 1000);  // a formula-like name stays text
    product(1, QStringLiteral("Őrlő"), 1, 0, 500);
    product(3, QStringLiteral("Ülőke"), 4, 100, 0);
    product(4, QStringLiteral("Nincs készleten"), 0, 100, 100);
    exportProductWorkbook(folder(), path("lista.xlsx"), made, prompt, desktop);
    EXPECT_EQ(desktop.opened, QStringList({path("lista.xlsx")}));
    EXPECT_TRUE(prompt.entries().empty());

    const QJsonObject cells = readBack(path("lista.xlsx"));
    auto value = [&](const char* at) { return cells.value(at).toArray().at(0); };
    auto kind = [&](const char* at) { return cells.value(at).toArray().at(1).toString(); };
    auto bold = [&](const char* at) { return cells.value(at).toArray().at(2).toBool(); };
    EXPECT_EQ(value("A1").toString(), QStringLiteral("RÉSZLETES TERMÉKLISTA"));
    EXPECT_TRUE(bold("A1"));
    EXPECT_EQ(value("A2").toString(), QStringLiteral("Nyomtatva: 2008.03.10 14:05:09"));
    EXPECT_FALSE(bold("A2"));
    for (const char* head : {"A3", "B3", "C3", "D3", "E3", "F3", "G3", "H3", "I3", "J3", "K3"}) EXPECT_TRUE(bold(head));
    EXPECT_EQ(value("C3").toString(), QStringLiteral("Jelenlegi "));
    EXPECT_EQ(value("J3").toString(), QStringLiteral("Árrés %"));
    // By article number: C-1, C-2, C-3.
    EXPECT_EQ(value("B4").toString(), QStringLiteral("Őrlő"));
    EXPECT_EQ(value("J4").toString(), QStringLiteral("HIBA"));
    EXPECT_EQ(value("B5").toString(), QStringLiteral("=HYPERLINK(\"x\")"));
    EXPECT_EQ(kind("B5"), QStringLiteral("s"));
    EXPECT_EQ(kind("C5"), QStringLiteral("n"));
    EXPECT_DOUBLE_EQ(value("J5").toDouble(), 27);
    EXPECT_DOUBLE_EQ(value("K5").toDouble(), 2540);
    EXPECT_DOUBLE_EQ(value("I5").toDouble(), 27);
    EXPECT_DOUBLE_EQ(value("J6").toDouble(), 0);
    EXPECT_FALSE(cells.contains("A7"));
    for (const char* label : {"E7", "F7", "G7", "H7"}) {
        EXPECT_EQ(value(label).toString(), QStringLiteral("Összesen:"));
        EXPECT_TRUE(bold(label));
    }
    EXPECT_EQ(value("J7").toString(), QStringLiteral("Átlag árrés:"));
    EXPECT_EQ(value("K7").toString(), QStringLiteral("Készlet bto érték"));
    EXPECT_NEAR(value("E8").toDouble(), (2 * 1000 + 4 * 100) / 1.27, 1e-9);
    EXPECT_NEAR(value("F8").toDouble(), 2 * 1000 + 4 * 100, 1e-9);
    EXPECT_NEAR(value("G8").toDouble(), 2 * 1000 + 500, 1e-9);
    EXPECT_NEAR(value("H8").toDouble(), (2 * 1000 + 500) * 1.27, 1e-9);
    EXPECT_NEAR(value("J8").toDouble(), 27.0 / 3, 1e-12);  // every product counts in the divisor
    EXPECT_NEAR(value("K8").toDouble(), 2540 + 635, 1e-9);
    EXPECT_FALSE(bold("K8"));
    // Each column as wide as its longest value.
    const QJsonArray widths = cells.value("widths").toArray();
    EXPECT_GE(widths.at(0).toDouble(), QStringLiteral("Nincs készleten").size());
    EXPECT_GE(widths.at(9).toDouble(), QStringLiteral("Készlet bto érték").size());
    EXPECT_LT(widths.at(2).toDouble(), 12);
    // A file like any other the clerk saves, not a private temporary one.
    EXPECT_TRUE(QFileInfo(path("lista.xlsx")).permissions().testFlag(QFileDevice::ReadOther));
}

TEST_F(ProductWorkbookTest, EmptyListPutsTheLabelsInRowFourAndAZeroAverage) {
    exportProductWorkbook(folder(), path("ures.xlsx"), made, prompt, desktop);
    const QJsonObject cells = readBack(path("ures.xlsx"));
    EXPECT_EQ(cells.value("E4").toArray().at(0).toString(), QStringLiteral("Összesen:"));
    EXPECT_DOUBLE_EQ(cells.value("J5").toArray().at(0).toDouble(), 0);
    EXPECT_DOUBLE_EQ(cells.value("K5").toArray().at(0).toDouble(), 0);
}

TEST_F(ProductWorkbookTest, AFailedSaveNamesItsCauseAndKeepsTheOldFile) {
    EXPECT_THROW(
        {
            try {
                exportProductWorkbook(folder(), path("nincs/lista.xlsx"), made, prompt, desktop);
            } catch (const RuleError& e) {
                EXPECT_EQ(e.message(), QStringLiteral("A munkafüzet nem menthető ebbe a mappába: ") + path("nincs"));
                throw;
            }
        },
        RuleError);
    EXPECT_TRUE(desktop.opened.isEmpty());

    // A folder in place of the file: the rename fails, the folder stays and no temporary is left.
    QDir(QString::fromStdString(dir.path())).mkdir(QStringLiteral("foglalt.xlsx"));
    EXPECT_THROW(exportProductWorkbook(folder(), path("foglalt.xlsx"), made, prompt, desktop), RuleError);
    EXPECT_TRUE(QFileInfo(path("foglalt.xlsx")).isDir());
    EXPECT_TRUE(QDir(QString::fromStdString(dir.path()))
                    .entryList({QStringLiteral("*.tmp")}, QDir::Hidden | QDir::Files)
                    .isEmpty());
}

TEST_F(ProductWorkbookTest, NoProgramToOpenTheFileIsToldAfterSaving) {
    desktop.opens = false;
    exportProductWorkbook(folder(), path("lista.xlsx"), made, prompt, desktop);
    EXPECT_TRUE(QFile::exists(path("lista.xlsx")));
    EXPECT_EQ(prompt.transcript(),
              QStringList({"message|warning|Figyelem!|A munkafüzet elkészült, de nincs program, amely megnyitná: " +
                           path("lista.xlsx")}));
}

TEST_F(ProductWorkbookTest, TheFileChoiceProposesTheListsNameAndAddsTheExtension) {
    prompt.answerFile(std::nullopt);
    EXPECT_EQ(chooseProductWorkbook(prompt, QStringLiteral("/tmp")), std::nullopt);
    prompt.answerFile(QStringLiteral("/tmp/készlet"));
    EXPECT_EQ(chooseProductWorkbook(prompt, QStringLiteral("/tmp")), QStringLiteral("/tmp/készlet.xlsx"));
    prompt.answerFile(QStringLiteral("/tmp/készlet.xls"));
    EXPECT_EQ(chooseProductWorkbook(prompt, QStringLiteral("/tmp")), QStringLiteral("/tmp/készlet.xls"));
    ASSERT_EQ(prompt.entries().size(), 3u);
    EXPECT_EQ(prompt.entries()[0].caption, QStringLiteral("Részletes terméklista excelbe"));
    EXPECT_EQ(prompt.entries()[0].text, QStringLiteral("Excel fájlok (*.xlsx);;Minden fájl (*)"));
}

}  // namespace
}  // namespace kavina::reports
