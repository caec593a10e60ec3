#include <gtest/gtest.h>

#include "dbase/CodePage.h"

using namespace dbase;

TEST(CodePageTest, HungarianLettersRoundTripThroughBothCodePages) {
    const std::string text = "árvíztűrő tükörfúrógép ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP";
    for (CodePage cp : {CodePage::Win1250, CodePage::Dos852}) {
        const std::string raw = fromUtf8(cp, text);
        EXPECT_EQ(raw.size(), 45u);
        EXPECT_EQ(toUtf8(cp, raw), text);
    }
    EXPECT_EQ(fromUtf8(CodePage::Win1250, "ő"), "\xF5");
    EXPECT_EQ(fromUtf8(CodePage::Dos852, "ő"), "\x8B");
}

#include <algorithm>
#include <vector>

#include "dbase/Collation.h"

namespace {

std::vector<std::string> sortedBy(CodePage cp, std::vector<std::string> words) {
    const Collation collation(cp);
    std::stable_sort(words.begin(), words.end(), [&](const std::string& a, const std::string& b) {
        return collation.compare(fromUtf8(cp, a), fromUtf8(cp, b), false) < 0;
    });
    return words;
}

}  // namespace

// The Windows-1250 order of the Hungarian ANSI driver: the letters of the Hungarian alphabet,
// a small letter right before its capital, accented letters after their base letter; one
// weight per byte, so the digraph "cs" sorts as c followed by s.
TEST(CollationTest, WindowsOrderFollowsTheHungarianAlphabetSmallBeforeCapital) {
    const std::vector<std::string> want = {"1", "9", "a", "A", "á", "Á", "b", "B", "c", "cs", "C", "d", "e",
                                           "E", "é", "É", "i", "í", "o", "O", "ó", "Ó", "ö",  "Ö", "ő", "Ő",
                                           "p", "u", "ú", "ü", "Ü", "ű", "Ű", "v", "z", "zs", "Z"};
    std::vector<std::string> shuffled(want.rbegin(), want.rend());
    std::rotate(shuffled.begin(), shuffled.begin() + 11, shuffled.end());
    EXPECT_EQ(sortedBy(CodePage::Win1250, shuffled), want);
    EXPECT_EQ(sortedBy(CodePage::Win1250, {"Ödön", "olló", "Orsi", "őz", "Ózd", "óra"}),
              (std::vector<std::string>{"olló", "Orsi", "óra", "Ózd", "Ödön", "őz"}));
}

// The DOS 852 order of the dBASE Hungarian driver puts every capital before every small letter.
TEST(CollationTest, DosOrderPutsCapitalsBeforeSmallLetters) {
    EXPECT_EQ(sortedBy(CodePage::Dos852, {"a", "Z", "ő", "Ő", "á", "A", "Á", "o", "ö"}),
              (std::vector<std::string>{"A", "Á", "Ő", "Z", "a", "á", "o", "ö", "ő"}));
}

TEST(CollationTest, CaseBoundsHoldEveryCaseVariantOfAText) {
    for (CodePage cp : {CodePage::Win1250, CodePage::Dos852}) {
        for (const Collation& collation : {Collation(cp), Collation::binary(cp)}) {
            const std::string low = collation.caseBound(fromUtf8(cp, "őrült"), 8, false);
            const std::string high = collation.caseBound(fromUtf8(cp, "őrült"), 8, true);
            for (const char* variant : {"őrült", "ŐRÜLT", "Őrült", "őRüLt"}) {
                const std::string key = collation.sortKey(fromUtf8(cp, variant), 8, false);
                EXPECT_LE(low, key) << variant;
                EXPECT_GE(high, key) << variant;
            }
            if (collation.isBinary()) continue;
            EXPECT_GT(collation.sortKey(fromUtf8(cp, "pad"), 8, false), high);
            EXPECT_LT(collation.sortKey(fromUtf8(cp, "ORR"), 8, false), low);
        }
    }
}
