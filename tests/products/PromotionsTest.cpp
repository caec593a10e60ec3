#include <gtest/gtest.h>

#include "ProductFolder.h"
#include "foundation/CommandBoundary.h"
#include "products/pricing/PromotionLookup.h"
#include "products/pricing/Promotions.h"
#include "products/pricing/Repricing.h"

namespace kavina::products {
namespace {

namespace K = fields::Akcio;

// The "Akció" dialog, scripted: each call takes the next answer (none queued is a cancel).
class ScriptedPromotionWindows : public PromotionWindows {
public:
    using Edit = std::function<std::optional<PromotionValues>(const PromotionValues& start)>;
    std::deque<Edit> edits;
    std::vector<PromotionValues> starts;

    std::optional<PromotionValues> editPromotion(const PromotionValues& start) override {
        starts.push_back(start);
        if (edits.empty()) return std::nullopt;
        Edit edit = edits.front();
        edits.pop_front();
        return edit(start);
    }
};

class PromotionsTest : public ProductFolder {
protected:
    ScriptedPromotionWindows windows;
    QDate today{2008, 3, 15};

    std::unique_ptr<Promotions> of(double code, double fixedGross = 1270) {
        auto p = std::make_unique<Promotions>(data, prompt, windows, code, fixedGross, [this] { return today; });
        p->open();
        return p;
    }
    void add(Promotions& p, PromotionValues values) {
        windows.edits.push_back([values](const PromotionValues&) { return values; });
        ASSERT_TRUE(p.add());
    }
    // The promotions the shared handle shows: "from-to:gross".
    QStringList shown() {
        QStringList rows;
        TableHandle& t = data.akcio();
        for (t.first(); !t.eof(); t.next())
            rows << QStringLiteral("%1-%2:%3")
                        .arg(t.asDateTime(K::mettol).date().toString(QStringLiteral("MM.dd")),
                             t.asDateTime(K::meddig).date().toString(QStringLiteral("MM.dd")))
                        .arg(t.asFloat(K::bruttoar));
        return rows;
    }
};

TEST_F(PromotionsTest, ANewPromotionProposesAWeekFromTodayAtTheFixedGrossPrice) {
    const auto p = of(43, 1270);
    EXPECT_FALSE(p->add()) << "cancelled";
    ASSERT_EQ(windows.starts.size(), 1u);
    EXPECT_EQ(windows.starts[0], (PromotionValues{QDate(2008, 3, 15), QDate(2008, 3, 22), 1270}));
    EXPECT_EQ(windows.starts[0].from.daysTo(windows.starts[0].to) + 1, 8) << "eight days, both ends included";
    EXPECT_TRUE(data.akcio().isEmpty());
    windows.edits.push_back([](PromotionValues v) {
        v.gross = 990;
        return v;
    });
    ASSERT_TRUE(p->add());
    EXPECT_EQ(shown(), QStringList{"03.15-03.22:990"});
    EXPECT_EQ(data.akcio().asInteger(K::kod), 43);
    // The pick of a product finds it on its last day.
    EXPECT_EQ(promotionOn(data.akcio(), 43, QDate(2008, 3, 22))->gross, 990);
}

TEST_F(PromotionsTest, TheListShowsOnlyTheProductsPromotionsAndStaysSoAfterwards) {
    add(*of(44), {QDate(2008, 3, 1), QDate(2008, 3, 7), 500});
    const auto p = of(43);
    add(*p, {QDate(2008, 4, 1), QDate(2008, 4, 2), 800});
    EXPECT_EQ(shown(), QStringList{"04.01-04.02:800"});
    EXPECT_TRUE(data.akcio().filtered());
    data.akcio().setFiltered(false);
    EXPECT_EQ(data.akcio().recordCount(), 2u);
}

TEST_F(PromotionsTest, ModifyWritesBackTheSelectedPromotion) {
    const auto p = of(43);
    add(*p, {QDate(2008, 3, 1), QDate(2008, 3, 7), 800});
    add(*p, {QDate(2008, 4, 1), QDate(2008, 4, 7), 900});
    data.akcio().first();
    windows.edits.push_back([](PromotionValues v) {
        v.to = QDate(2008, 3, 10);
        v.gross = 750;
        return v;
    });
    ASSERT_TRUE(p->modifyCurrent());
    EXPECT_EQ(windows.starts.back(), (PromotionValues{QDate(2008, 3, 1), QDate(2008, 3, 7), 800}));
    EXPECT_EQ(shown(), (QStringList{"03.01-03.10:750", "04.01-04.07:900"}));
    EXPECT_FALSE(p->modifyCurrent()) << "cancelled";
    EXPECT_EQ(shown(), (QStringList{"03.01-03.10:750", "04.01-04.07:900"}));
}

TEST_F(PromotionsTest, AModifyOfAPromotionDeletedElsewhereStoresNothing) {
    const auto p = of(43);
    add(*p, {QDate(2008, 3, 1), QDate(2008, 3, 7), 800});
    windows.edits.push_back([this](PromotionValues v) {
        TDataModule1 other;
        other.open(dir.path());
        other.akcio().first();
        other.akcio().deleteRecord();
        v.gross = 1;
        return v;
    });
    EXPECT_FALSE(runCommand(prompt, [&] { p->modifyCurrent(); }));
    EXPECT_EQ(prompt.transcript(),
              QStringList{"message|warning|Figyelem!|Az akciót közben egy másik munkaállomás törölte."});
    data.akcio().refresh();
    EXPECT_EQ(shown(), QStringList());
}

TEST_F(PromotionsTest, DeleteAsksFirst) {
    const auto p = of(43);
    EXPECT_FALSE(p->deleteCurrent()) << "an empty list asks nothing";
    add(*p, {QDate(2008, 3, 1), QDate(2008, 3, 7), 800});
    prompt.answerYesNo(false);
    EXPECT_FALSE(p->deleteCurrent());
    prompt.answerYesNo(true);
    EXPECT_TRUE(p->deleteCurrent());
    EXPECT_EQ(shown(), QStringList());
    const QString question = "yes/no|question|Figyelem!|Biztos, hogy törölni szeretné a kiválasztott tételt?";
    EXPECT_EQ(prompt.transcript(), (QStringList{question, question}));
}

TEST_F(PromotionsTest, APriceBoxRefusesATextThatIsNoNumber) {
    EXPECT_EQ(readPriceText(prompt, QStringLiteral("1 270")), std::nullopt);
    EXPECT_EQ(readPriceText(prompt, QString()), 0.0);
    EXPECT_EQ(readPriceText(prompt, QStringLiteral("999,5")), 999.5);
    EXPECT_EQ(prompt.transcript(), QStringList{"message|warning|Figyelem!|1 270: érvénytelen szám!"});
}

}  // namespace
}  // namespace kavina::products
