#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include "ProductFolder.h"
#include "products/barcodes/BarcodeBook.h"
#include "products/barcodes/BarcodeLabels.h"
#include "products/barcodes/Ean13.h"

namespace kavina::products {
namespace {

namespace A = fields::Anyag;
namespace B = fields::Vonalkod;

TEST(Ean13Test, TwelveDigitsGetTheirCheckDigitAndThirteenAreVerified) {
    EXPECT_EQ(ean13CheckDigit(QStringLiteral("400638133393")), 1);
    EXPECT_EQ(ean13CheckDigit(QStringLiteral("590123412345")), 7);
    EXPECT_EQ(ean13CheckDigit(QStringLiteral("000000000000")), 0);
    EXPECT_EQ(ean13Of(QStringLiteral("400638133393"))->digits, QStringLiteral("4006381333931"));
    EXPECT_EQ(ean13Of(QStringLiteral(" 5901234123457 "))->digits, QStringLiteral("5901234123457"));
    EXPECT_FALSE(ean13Of(QStringLiteral("5901234123458")));
    EXPECT_FALSE(ean13Of(QStringLiteral("59012341234")));
    EXPECT_FALSE(ean13Of(QStringLiteral("59012341234577")));
    EXPECT_FALSE(ean13Of(QStringLiteral("59012341234a")));
    EXPECT_FALSE(ean13Of(QString()));
    EXPECT_EQ(ean13Refusal(QString()), QStringLiteral("Nincs vonalkód"));
    EXPECT_EQ(ean13Refusal(QStringLiteral("5901234123458")), QStringLiteral("Hibás ellenőrző szám: 5901234123458"));
    EXPECT_EQ(ean13Refusal(QStringLiteral("ABC-12")), QStringLiteral("Nem EAN-13 kód: ABC-12"));
}

TEST(Ean13Test, TheModulesFollowTheGuardsAndTheFirstDigitsParity) {
    const QString m = ean13Of(QStringLiteral("4006381333931"))->modules();
    ASSERT_EQ(m.size(), 95);
    EXPECT_EQ(m.left(3), QStringLiteral("101"));
    EXPECT_EQ(m.mid(45, 5), QStringLiteral("01010"));
    EXPECT_EQ(m.right(3), QStringLiteral("101"));
    // First digit 4: parities L G L L G G. The second digit 0 in L, the third 0 in G.
    EXPECT_EQ(m.mid(3, 7), QStringLiteral("0001101"));
    EXPECT_EQ(m.mid(10, 7), QStringLiteral("0100111"));
    // The right half: 3 in R, the last digit (check 1) in R.
    EXPECT_EQ(m.mid(50, 7), QStringLiteral("1000010"));
    EXPECT_EQ(m.mid(85, 7), QStringLiteral("1100110"));
    // Every digit pattern holds two bars: 30 bars in all.
    EXPECT_EQ(m.count(QStringLiteral("01")) + (m.startsWith(QLatin1Char('1')) ? 1 : 0), 30);
}

class BarcodeBookTest : public ProductFolder, public BarcodeWindows {
protected:
    std::optional<QString> chosen;  // the product the picker stands on, by name
    std::deque<std::optional<BarcodeLabel>> edits;
    std::vector<BarcodeLabel> starts;
    BarcodeBook book{data, prompt, *this, desktop};

    bool pickProduct() override {
        if (!chosen) return false;
        select(*chosen);
        return true;
    }
    std::optional<BarcodeLabel> editLabel(const BarcodeLabel& start) override {
        starts.push_back(start);
        if (edits.empty()) return std::nullopt;
        auto answer = edits.front();
        edits.pop_front();
        return answer;
    }
    void setBarcode(const QString& name, const QString& code, const QString& picture = {}) {
        select(name);
        TableHandle& p = data.AnyagTable();
        p.edit();
        p.setString(A::VONALKOD, code);
        p.setString(A::KEP, picture);
        p.post();
    }
    QStringList stored() {
        TableHandle v(dir.path(), "vonalkod.dbf");
        v.open();
        QStringList out;
        for (v.first(); !v.eof(); v.next())
            out << v.asString(B::megnevezes) + "|" + v.asString(B::me) + "|" + v.asString(B::vonalkod) + "|" +
                       v.asString(B::kep);
        return out;
    }
};

TEST_F(BarcodeBookTest, ALabelIsACopyOfTheChosenProductAndCancellingAddsNone) {
    addRow(1, QStringLiteral("Szeg"), 1);
    addRow(2, QStringLiteral("Üres kódú"), 1);
    setBarcode(QStringLiteral("Szeg"), QStringLiteral("5901234123457"), QStringLiteral("/kepek/szeg.png"));
    book.open();
    EXPECT_FALSE(book.add());
    EXPECT_TRUE(stored().isEmpty());
    chosen = QStringLiteral("Szeg");
    EXPECT_TRUE(book.add());
    chosen = QStringLiteral("Üres kódú");
    EXPECT_TRUE(book.add());
    EXPECT_EQ(stored(), (QStringList{"Szeg|db|5901234123457|/kepek/szeg.png", "Üres kódú|db||"}));
    // A later change of the product does not reach its label.
    select(QStringLiteral("Szeg"));
    data.AnyagTable().edit();
    data.AnyagTable().setString(A::MEGNEVEZES, QStringLiteral("Acélszeg"));
    data.AnyagTable().post();
    EXPECT_TRUE(stored().contains(QStringLiteral("Szeg|db|5901234123457|/kepek/szeg.png")));
}

TEST_F(BarcodeBookTest, ModifyStoresTheDialogsTextsAndDeleteAsksFirst) {
    addRow(1, QStringLiteral("Szeg"), 1);
    chosen = QStringLiteral("Szeg");
    ASSERT_TRUE(book.add());
    edits.push_back(
        BarcodeLabel{QStringLiteral("Szeg 10 mm"), QStringLiteral("doboz"), QStringLiteral("400638133393"), QString()});
    EXPECT_TRUE(book.modifyCurrent());
    EXPECT_EQ(starts.at(0), (BarcodeLabel{QStringLiteral("Szeg"), QStringLiteral("db"), QString(), QString()}));
    EXPECT_EQ(stored(), QStringList{"Szeg 10 mm|doboz|400638133393|"});
    prompt.answerYesNo(false);
    EXPECT_FALSE(book.deleteCurrent());
    prompt.answerYesNo(true);
    EXPECT_TRUE(book.deleteCurrent());
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_FALSE(book.deleteCurrent()) << "nothing left to ask about";
    EXPECT_EQ(prompt.transcript(),
              (QStringList{"yes/no|question|Figyelem !|Biztos benne, hogy  törli a kijelölt tételt? ",
                           "yes/no|question|Figyelem !|Biztos benne, hogy  törli a kijelölt tételt? "}));
}

TEST_F(BarcodeBookTest, ThePictureViewerOpensOnlyPictureFiles) {
    const QString picture = QDir(QString::fromStdString(dir.path())).filePath(QStringLiteral("szeg.png"));
    QImage(8, 8, QImage::Format_RGB32).save(picture);
    const QString script = QDir(QString::fromStdString(dir.path())).filePath(QStringLiteral("run.png"));
    {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\necho hello\n");
    }
    TableHandle& labels = data.vonalkodTable();
    for (const QString& path : {picture, script, QString()}) {
        labels.append();
        labels.setString(B::megnevezes, QFileInfo(path).fileName());
        labels.setString(B::kep, path);
        labels.post();
        book.showPicture();
    }
    EXPECT_EQ(desktop.opened, QStringList{picture});
    EXPECT_EQ(prompt.transcript(),
              QStringList{"message|warning|Figyelem!|A kép nem nyitható meg, mert nem képfájl: " + script});
}

TEST_F(BarcodeBookTest, TheSheetPrintsTwoLabelsARowWithSymbolsOrMarkedText) {
    TableHandle& labels = data.vonalkodTable();
    const QStringList codes{"5901234123457", "400638133393", "5901234123458", "", "ABC"};
    for (int i = 0; i < codes.size(); ++i) {
        labels.append();
        labels.setString(B::megnevezes, QStringLiteral("Címke %1").arg(i + 1));
        labels.setString(B::me, QStringLiteral("db"));
        labels.setString(B::vonalkod, codes[i]);
        labels.post();
    }
    BarcodeSheet sheet = barcodeSheet(labels);
    const report::PreparedReport pages = sheet.layout->prepare();
    ASSERT_EQ(pages.pageCount(), 1);
    const auto rows = pages.bands(0, "Detail");
    ASSERT_EQ(rows.size(), 3u);
    const report::Page& page = pages.page(0);
    EXPECT_EQ(pages.text(page, *rows[0], "left_name"), QStringLiteral("Címke 1"));
    EXPECT_EQ(pages.text(page, *rows[0], "left_unit"), QStringLiteral("me: db"));
    EXPECT_EQ(pages.text(page, *rows[0], "left_digits"), QStringLiteral("5901234123457"));
    EXPECT_EQ(pages.text(page, *rows[0], "right_digits"), QStringLiteral("4006381333931"));
    EXPECT_EQ(pages.text(page, *rows[1], "left_refusal"), QStringLiteral("Hibás ellenőrző szám: 5901234123458"));
    EXPECT_EQ(pages.text(page, *rows[1], "left_digits"), QString());
    EXPECT_EQ(pages.text(page, *rows[1], "right_refusal"), QStringLiteral("Nincs vonalkód"));
    EXPECT_EQ(pages.text(page, *rows[2], "left_refusal"), QStringLiteral("Nem EAN-13 kód: ABC"));
    EXPECT_EQ(pages.text(page, *rows[2], "right_name"), QString()) << "an odd label leaves the right empty";
    // Bars only where a symbol is: 30 for each of the two good labels.
    int bars = 0;
    for (const report::PageItem& item : page.items)
        if (item.kind == report::ElementKind::Line && item.element.find("_bar") != std::string::npos) ++bars;
    EXPECT_EQ(bars, 60);
    // The right column starts right of the left one's frame.
    const report::PageItem* left = pages.item(page, *rows[0], "left_frame");
    const report::PageItem* right = pages.item(page, *rows[0], "right_frame");
    ASSERT_TRUE(left && right);
    EXPECT_GT(right->rect.left(), left->rect.right());
}

}  // namespace
}  // namespace kavina::products
