#include <gtest/gtest.h>

#include <map>
#include <random>

#include "TestFolder.h"
#include "TestSeed.h"
#include "dbase/DbError.h"
#include "dbase/MdxFile.h"

using namespace dbase;
using testing_support::TestFolder;

namespace {

// The index tree against a std::multimap of (sort form, record) pairs, under random appends,
// inserts of older records, removals and key changes.
class MdxModelTest : public ::testing::TestWithParam<bool> {
protected:
    TestFolder dir;
    Collation collation{CodePage::Win1250};
    std::unique_ptr<MdxFile> mdx;
    using Model = std::map<std::pair<std::string, uint32_t>, std::string>;  // (sort, rec) -> stored
    Model model;

    void SetUp() override {
        auto file = FileSystem::real().open(dir.file("t.mdx"), OpenMode::Create);
        MdxFile::initialise(*file, "t", 0xC8);
        mdx = std::make_unique<MdxFile>(std::move(file), dir.file("t.dbf"), collation);
        mdx->beginChange();
        mdx->addTag("NEV", "NEV", {KeyType::Character, 6}, GetParam(), {});
        mdx->endChange();
    }

    static std::string key(std::mt19937& rng) {
        static const char* kLetters[] = {"a", "b", "c", "\xE1", "\xF6", "\xF5", "z", "A"};  // á ö ő
        std::string k;
        const int len = int(rng() % 4) + 1;
        for (int i = 0; i < len; ++i) k += kLetters[rng() % 8];
        k.resize(6, ' ');
        return k;
    }

    void expectSameAsModel() {
        std::vector<std::string> faults;
        const std::vector<IndexEntry> entries = mdx->walk(0, faults);
        EXPECT_TRUE(faults.empty()) << faults.front();
        ASSERT_EQ(entries.size(), model.size());
        size_t i = 0;
        for (const auto& [k, stored] : model) {
            ASSERT_EQ(entries[i].recNo, k.second) << "position " << i;
            ASSERT_EQ(entries[i].stored, stored) << "position " << i;
            ++i;
        }
    }
};

}  // namespace

TEST_P(MdxModelTest, RandomChangesKeepTheTreeEqualToTheModel) {
    const unsigned seed = testing_support::testSeed();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    uint32_t nextRec = 1;
    std::vector<uint32_t> live;  // records in the model
    std::map<uint32_t, std::string> keyOf;
    for (int op = 0; op < 100000; ++op) {
        const unsigned dice = rng() % 100;
        mdx->beginChange();
        if (dice < 50 || live.empty()) {  // append
            const std::string k = key(rng);
            mdx->insert(0, {k, nextRec}, true);
            model[{mdx->sortForm(0, k), nextRec}] = k;
            keyOf[nextRec] = k;
            live.push_back(nextRec++);
        } else if (dice < 75) {  // the key of a record changes
            const uint32_t rec = live[rng() % live.size()];
            const std::string k = key(rng);
            mdx->remove(0, {keyOf[rec], rec});
            model.erase({mdx->sortForm(0, keyOf[rec]), rec});
            mdx->insert(0, {k, rec});
            model[{mdx->sortForm(0, k), rec}] = k;
            keyOf[rec] = k;
        } else {  // a record goes (as after a pack)
            const size_t at = rng() % live.size();
            const uint32_t rec = live[at];
            mdx->remove(0, {keyOf[rec], rec});
            model.erase({mdx->sortForm(0, keyOf[rec]), rec});
            live[at] = live.back();
            live.pop_back();
        }
        mdx->endChange();
        if (op % 20000 == 19999) expectSameAsModel();
        if (op % 97 == 0) {  // seeks: to a key that may or may not exist, and past the end
            const std::string probe = mdx->sortForm(0, key(rng));
            const auto want = model.lower_bound({probe, 0});
            const MdxFile::Cursor c = mdx->lowerBound(0, probe);
            ASSERT_EQ(c.valid(), want != model.end());
            if (c.valid()) {
                ASSERT_EQ(mdx->entryAt(c).recNo, want->first.second);
            }
        }
    }
    expectSameAsModel();
    const MdxFile::Cursor beyond = mdx->lowerBound(0, std::string(7, '\xFF'));
    EXPECT_FALSE(beyond.valid());
    // Walking backwards gives the same entries in reverse.
    std::vector<uint32_t> backwards;
    for (MdxFile::Cursor c = mdx->last(0); c.valid(); mdx->prior(c)) backwards.push_back(mdx->entryAt(c).recNo);
    ASSERT_EQ(backwards.size(), model.size());
    EXPECT_EQ(backwards.front(), model.rbegin()->first.second);
    EXPECT_EQ(backwards.back(), model.begin()->first.second);
    // Another handle reading the same file sees the same tree.
    MdxFile reopened(FileSystem::real().open(dir.file("t.mdx"), OpenMode::ReadWrite), dir.file("t.dbf"), collation);
    std::vector<std::string> faults;
    EXPECT_EQ(reopened.walk(0, faults).size(), model.size());
    EXPECT_TRUE(faults.empty());
}

INSTANTIATE_TEST_SUITE_P(AscendingAndDescending, MdxModelTest, ::testing::Values(false, true));

TEST(MdxTest, BuiltTagsHoldTheirEntriesInKeyOrder) {
    TestFolder dir;
    Collation collation{CodePage::Win1250};
    auto file = FileSystem::real().open(dir.file("t.mdx"), OpenMode::Create);
    MdxFile::initialise(*file, "t", 0xC8);
    MdxFile mdx(std::move(file), dir.file("t.dbf"), collation);
    std::vector<IndexEntry> entries;
    for (uint32_t r = 1; r <= 5000; ++r) entries.push_back({encodeBcd(double((r * 7919) % 1000) / 4), r});
    mdx.beginChange();
    mdx.addTag("AFA", "AFA", {KeyType::Numeric, 12}, true, entries);
    mdx.endChange();
    std::vector<std::string> faults;
    const auto walked = mdx.walk(0, faults);
    EXPECT_TRUE(faults.empty());
    ASSERT_EQ(walked.size(), 5000u);
    EXPECT_EQ(decodeBcd(walked.front().stored), 249.75);  // descending: the highest first
    EXPECT_EQ(decodeBcd(walked.back().stored), 0);
    for (size_t i = 1; i < walked.size(); ++i) ASSERT_GE(decodeBcd(walked[i - 1].stored), decodeBcd(walked[i].stored));
}

TEST(MdxTest, NumericKeysMatchTheKnownLayouts) {
    EXPECT_EQ(encodeBcd(0), std::string("\x34\x01", 2) + std::string(10, '\0'));
    EXPECT_EQ(encodeBcd(3).substr(0, 3), std::string("\x35\x05\x30", 3));
    EXPECT_EQ(encodeBcd(-1).substr(0, 3), std::string("\x35\x85\x10", 3));
    EXPECT_EQ(encodeBcd(123.45).substr(0, 5), std::string("\x37\x15\x12\x34\x50", 5));
    EXPECT_EQ(uint8_t(encodeBcd(0.05)[0]), 0x33);
    // Both writers' digit counts read back to the same value.
    EXPECT_EQ(decodeBcd(std::string("\x35\x09\x30", 3) + std::string(9, '\0')), 3);
    for (double v : {0.1, -2.5, 1e15, 123456789.125, -0.000123, 27.0}) EXPECT_EQ(decodeBcd(encodeBcd(v)), v) << v;
}
