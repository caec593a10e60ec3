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
