#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "dbase/DbError.h"
#include "dbase/FieldCodec.h"

using namespace dbase;

namespace {

// A one-field record of the given physical type, for codec checks.
struct OneField {
    FieldInfo field;
    std::vector<uint8_t> record;
    OneField(char physical, int length, int decimals = 0, FieldType logical = FieldType::Float) {
        field.name = "X";
        field.physical = physical;
        field.length = length;
        field.decimals = decimals;
        field.offset = 1;
        field.logical = logical;
        record.assign(size_t(length) + 1, ' ');
        codec::setNull(field, record.data());
    }
    std::vector<uint8_t> bytes() const { return {record.begin() + 1, record.end()}; }
    std::string text() const { return {record.begin() + 1, record.end()}; }
};

std::vector<uint8_t> hex(std::initializer_list<int> values) {
    return {values.begin(), values.end()};
}

}  // namespace

TEST(CodecTest, LongIntegersAreBigEndianWithTheSignBitInverted) {
    OneField f('I', 4, 0, FieldType::Integer);
    codec::writeInteger(f.field, f.record.data(), 0);
    EXPECT_EQ(f.bytes(), hex({0x80, 0, 0, 0}));
    codec::writeInteger(f.field, f.record.data(), 42);
    EXPECT_EQ(f.bytes(), hex({0x80, 0, 0, 0x2A}));
    codec::writeInteger(f.field, f.record.data(), -5);
    EXPECT_EQ(f.bytes(), hex({0x7F, 0xFF, 0xFF, 0xFB}));
    EXPECT_EQ(codec::readInteger(f.field, f.record.data()), -5);
    codec::writeInteger(f.field, f.record.data(), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(codec::readInteger(f.field, f.record.data()), std::numeric_limits<int32_t>::max());
    codec::writeInteger(f.field, f.record.data(), std::numeric_limits<int32_t>::min() + 1);
    EXPECT_EQ(codec::readInteger(f.field, f.record.data()), std::numeric_limits<int32_t>::min() + 1);
    // The smallest value would encode as the empty value: refused, never silently lost.
    EXPECT_THROW(codec::writeInteger(f.field, f.record.data(), std::numeric_limits<int32_t>::min()), DbError);
    EXPECT_THROW(codec::writeInteger(f.field, f.record.data(), 1LL << 31), DbError);
}

TEST(CodecTest, DoublesAreOrderedBigEndianAndExact) {
    OneField f('O', 8);
    codec::writeFloat(f.field, f.record.data(), 3.5);
    EXPECT_EQ(f.bytes(), hex({0xC0, 0x0C, 0, 0, 0, 0, 0, 0}));
    codec::writeFloat(f.field, f.record.data(), -2.25);
    EXPECT_EQ(f.bytes(), hex({0x3F, 0xFD, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    for (double v : {0.1, -0.30000000000000004, 1.7976931348623157e308, 4.9e-324, 123456789.12345678, -0.0}) {
        codec::writeFloat(f.field, f.record.data(), v);
        const double back = *codec::readFloat(f.field, f.record.data());
        EXPECT_EQ(std::memcmp(&back, &v, sizeof v), 0) << v;
    }
    EXPECT_THROW(codec::writeFloat(f.field, f.record.data(), std::nan("")), DbError);
}

TEST(CodecTest, TimestampsCountMillisecondsFromYearOne) {
    OneField f('@', 8, 0, FieldType::DateTime);
    codec::writeDateTime(f.field, f.record.data(), DateTime{{1970, 1, 1}, 0});
    EXPECT_EQ(f.bytes(), hex({0x42, 0xCC, 0x41, 0x8B, 0xA9, 0x9A, 0x00, 0x00}));
    const DateTime samples[] = {{{1900, 1, 1}, 0}, {{2099, 12, 31}, 86399}, {{2008, 3, 15}, 10 * 3600 + 15 * 60}};
    for (const DateTime& dt : samples) {
        codec::writeDateTime(f.field, f.record.data(), dt);
        EXPECT_EQ(codec::readDateTime(f.field, f.record.data()), dt) << dt.text();
    }
}

TEST(CodecTest, NumericTextIsRightAlignedAndChecked) {
    OneField f('N', 10, 2);
    codec::writeFloat(f.field, f.record.data(), -1234.5);
    EXPECT_EQ(f.text(), "  -1234.50");
    EXPECT_DOUBLE_EQ(*codec::readFloat(f.field, f.record.data()), -1234.5);
    EXPECT_THROW(codec::writeFloat(f.field, f.record.data(), 1e12), DbError);
    OneField s('N', 6, 0, FieldType::Short);
    codec::writeInteger(s.field, s.record.data(), -32768);
    EXPECT_EQ(codec::readInteger(s.field, s.record.data()), -32768);
    EXPECT_THROW(codec::writeInteger(s.field, s.record.data(), 32768), DbError);
    // Blank is empty; an overflow mark of other writers holds no number.
    codec::setNull(f.field, f.record.data());
    EXPECT_FALSE(codec::readFloat(f.field, f.record.data()));
    std::memset(f.record.data() + 1, '*', 10);
    EXPECT_FALSE(codec::readFloat(f.field, f.record.data()));
}

TEST(CodecTest, FloatToIntegerRoundsTiesToEven) {
    OneField f('O', 8);
    const std::pair<double, int64_t> cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3}};
    for (const auto& [value, expected] : cases) {
        codec::writeFloat(f.field, f.record.data(), value);
        EXPECT_EQ(codec::readInteger(f.field, f.record.data()), expected) << value;
    }
}

TEST(CodecTest, TextIsCutToTheWidthByCharacters) {
    OneField f('C', 5, 0, FieldType::Character);
    codec::writeText(f.field, f.record.data(), "őrültség", CodePage::Win1250);
    EXPECT_EQ(codec::readAsText(f.field, f.record.data(), CodePage::Win1250), "őrült");
    codec::writeText(f.field, f.record.data(), "ab  ", CodePage::Win1250);
    EXPECT_EQ(codec::readAsText(f.field, f.record.data(), CodePage::Win1250), "ab");
}

TEST(CodecTest, DatesAreYearFirstTextAndValidated) {
    EXPECT_EQ(Date::parse("2008.03.15"), (Date{2008, 3, 15}));
    EXPECT_EQ(Date::parse("2008.03.15."), (Date{2008, 3, 15}));
    EXPECT_FALSE(Date::parse("2008.02.30"));
    EXPECT_FALSE(Date::parse("15.03.2008"));
    EXPECT_FALSE(Date::parse("2008-03-15"));
    EXPECT_TRUE(Date::parse("2024.02.29"));
    EXPECT_FALSE(Date::parse("2023.02.29"));
    EXPECT_EQ((Date{2000, 1, 1}).julianDay(), 2451545);
    EXPECT_EQ(Date::fromJulianDay(2451545), (Date{2000, 1, 1}));
    EXPECT_EQ(DateTime::parse("2008.03.15 10:15:00")->text(), "2008.03.15 10:15:00");
    EXPECT_FALSE(DateTime::parse("2008.03.15 24:00:00"));
    EXPECT_FALSE(DateTime::parse("2008.03.15 10:15:00:01"));

    OneField d('D', 8, 0, FieldType::Date);
    codec::writeDate(d.field, d.record.data(), {1900, 1, 1});
    EXPECT_EQ(d.text(), "19000101");
    std::memcpy(d.record.data() + 1, "20081345", 8);
    EXPECT_THROW(codec::readDate(d.field, d.record.data()), DbError);
}
