// The byte-level encodings of field values, the calendar, and the text forms pxdump prints.

#include "json_text.h"
#include "sha256.h"

#include "data/paradox/calendar.h"
#include "data/paradox/field_codec.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDate>

#include <cmath>
#include <limits>
#include <vector>

namespace quorvex::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(SignFlippedNumbers, DecodeTheFormatNotesExamples) {
    const Bytes one = {0x80, 0x00, 0x00, 0x01};
    const Bytes minusTwo = {0x7F, 0xFF, 0xFF, 0xFE};
    const Bytes null = {0, 0, 0, 0};
    EXPECT_EQ(paradox::DecodeSignFlippedInteger(one.data(), 4), 1);
    EXPECT_EQ(paradox::DecodeSignFlippedInteger(minusTwo.data(), 4), -2);
    EXPECT_EQ(paradox::DecodeSignFlippedInteger(null.data(), 4), std::nullopt);
    const Bytes fifteen = {0x80, 0x0F};
    const Bytes minusOne = {0x7F, 0xFF};
    const Bytes zero = {0x80, 0x00};
    EXPECT_EQ(paradox::DecodeSignFlippedInteger(fifteen.data(), 2), 15);
    EXPECT_EQ(paradox::DecodeSignFlippedInteger(minusOne.data(), 2), -1);
    EXPECT_EQ(paradox::DecodeSignFlippedInteger(zero.data(), 2), 0);

    const Bytes threeAndHalf = {0xC0, 0x0C, 0, 0, 0, 0, 0, 0};
    const Bytes minus200 = {0x3F, 0x96, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const Bytes zeroDouble = {0x80, 0, 0, 0, 0, 0, 0, 0};
    const Bytes salesTax = {0xBF, 0xC5, 0xC2, 0x8F, 0x5C, 0x28, 0xF5, 0xC2};
    EXPECT_EQ(paradox::DecodeSignFlippedDouble(threeAndHalf.data()), 3.5);
    EXPECT_EQ(paradox::DecodeSignFlippedDouble(minus200.data()), -200.0);
    EXPECT_EQ(paradox::DecodeSignFlippedDouble(zeroDouble.data()), 0.0);
    EXPECT_EQ(paradox::DecodeSignFlippedDouble(salesTax.data()), 0.16999999999999998);
    EXPECT_EQ(paradox::DecodeSignFlippedDouble(Bytes(8, 0).data()), std::nullopt);
}

TEST(SignFlippedNumbers, EncodeAndDecodeAreInverse) {
    for (const std::int32_t v : {1, -1, 32767, -32767, 0, 12345, -12345}) {
        Bytes b(2);
        paradox::EncodeSignFlippedInteger(v, b.data(), 2);
        EXPECT_EQ(paradox::DecodeSignFlippedInteger(b.data(), 2), v);
    }
    for (const std::int32_t v : {1, -1, 2147483647, -2147483647, 0}) {
        Bytes b(4);
        paradox::EncodeSignFlippedInteger(v, b.data(), 4);
        EXPECT_EQ(paradox::DecodeSignFlippedInteger(b.data(), 4), v);
    }
    for (const double v :
         {0.0, -0.0, 1.5, -1.5, 1e300, -1e-300, 134.85000000000002,
          std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::infinity()}) {
        Bytes b(8);
        paradox::EncodeSignFlippedDouble(v, b.data());
        const auto back = paradox::DecodeSignFlippedDouble(b.data());
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(std::signbit(*back), std::signbit(v));
        EXPECT_EQ(*back, v);
    }
    // Stored values sort bytewise in numeric order: that is what the sign flip is for.
    Bytes low(8);
    Bytes high(8);
    paradox::EncodeSignFlippedDouble(-3.0, low.data());
    paradox::EncodeSignFlippedDouble(2.0, high.data());
    EXPECT_LT(low, high);
}

TEST(Bcd, DecodesTheFormatNotesExamples) {
    Bytes a1(17, 0);
    a1[0] = 0xC2;
    a1[15] = 0x01;
    a1[16] = 0x23;
    EXPECT_EQ(paradox::DecodeBcd(a1.data(), 2), "1.23");
    Bytes a2(17, 0xFF);
    a2[0] = 0x42;
    a2[15] = 0xFE;
    a2[16] = 0xDC;
    EXPECT_EQ(paradox::DecodeBcd(a2.data(), 2), "-1.23");
    Bytes zero(17, 0);
    zero[0] = 0xC2;
    EXPECT_EQ(paradox::DecodeBcd(zero.data(), 2), "0");
    EXPECT_EQ(paradox::DecodeBcd(Bytes(17, 0).data(), 0), std::nullopt);
    const Bytes junk = {0xE0, 0x12, 0x29, 0x99, 0x99, 0x99, 0x99, 0x99, 0x99,
                        0x98, 0x0B, 0x00, 0xE0, 0x00, 0x00, 0xBF, 0x4A};
    EXPECT_EQ(paradox::DecodeBcd(junk.data(), 32), "0.122999999999999998");
}

TEST(Bcd, EncodesWhatItDecodes) {
    const struct {
        const char* text;
        int scale;
        const char* back;
    } cases[] = {
        {"1.23", 2, "1.23"},
        {"-1.23", 2, "-1.23"},
        {"0", 2, "0"},
        {"-0.5", 4, "-0.5"},
        {"123456789012345678", 0, "123456789012345678"},
        {"0.00000000000000000000000000000001", 32, "0.00000000000000000000000000000001"},
        {"99999999999999999999999999999999", 0, "99999999999999999999999999999999"},
        {"+7.", 1, "7"},
        {"007.10", 2, "7.1"},
    };
    for (const auto& c : cases) {
        Bytes b(17);
        ASSERT_TRUE(paradox::EncodeBcd(c.text, c.scale, b.data())) << c.text;
        EXPECT_EQ(paradox::DecodeBcd(b.data(), c.scale), c.back) << c.text;
    }
    Bytes b(17);
    EXPECT_FALSE(paradox::EncodeBcd("1.234", 2, b.data())) << "too many decimals";
    EXPECT_FALSE(paradox::EncodeBcd("1e5", 0, b.data()));
    EXPECT_FALSE(paradox::EncodeBcd("", 0, b.data()));
    EXPECT_FALSE(paradox::EncodeBcd("123", 31, b.data())) << "too many integer digits";
}

TEST(Calendar, AgreesWithQtsProlepticGregorianCalendar) {
    EXPECT_EQ(paradox::DayNumberFromCivil(1, 1, 1), 1);
    EXPECT_EQ(paradox::DayNumberFromCivil(2018, 1, 1), 736695);
    EXPECT_EQ(paradox::DayNumberFromCivil(9999, 12, 31), paradox::kLastDay);
    for (std::int32_t day = 1; day <= paradox::kLastDay; day += 997) {
        const paradox::CivilDate civil = paradox::CivilFromDayNumber(day);
        const QDate qt = QDate::fromJulianDay(1721425 + day);
        ASSERT_EQ(QDate(civil.year, civil.month, civil.day), qt) << day;
        ASSERT_EQ(paradox::DayNumberFromCivil(civil.year, civil.month, civil.day), day);
    }
    const paradox::CivilDate leap =
        paradox::CivilFromDayNumber(paradox::DayNumberFromCivil(2000, 2, 29));
    EXPECT_EQ(leap.month, 2);
    EXPECT_EQ(leap.day, 29);
}

TEST(ShortestDoubleText, WritesNumbersAsPythonsReprDoes) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {7.489999999999999, "7.489999999999999"},
        {134.85000000000002, "134.85000000000002"},
        {1.0, "1.0"},
        {-200.0, "-200.0"},
        {0.0, "0.0"},
        {-0.0, "-0.0"},
        {0.1, "0.1"},
        {1e16, "1e+16"},
        {1234567890123456.0, "1234567890123456.0"},
        {1.5e-7, "1.5e-07"},
        {0.0001, "0.0001"},
        {0.00001, "1e-05"},
        {1.7976931348623157e308, "1.7976931348623157e+308"},
        {5e-324, "5e-324"},
        {123.456, "123.456"},
        {std::numeric_limits<double>::infinity(), "inf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pxdump::ShortestDoubleText(c.value), c.text);
    }
    EXPECT_EQ(pxdump::ShortestDoubleText(std::nan("")), "nan");
}

TEST(Sha256, MatchesQtForEveryPaddingCase) {
    for (const std::size_t size : {0u, 1u, 55u, 56u, 63u, 64u, 65u, 119u, 120u, 1000u, 100000u}) {
        Bytes bytes(size);
        for (std::size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<std::uint8_t>(i * 31 + 7);
        }
        const QByteArray qt = QCryptographicHash::hash(
            QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(size)),
            QCryptographicHash::Sha256);
        EXPECT_EQ(pxdump::Sha256Hex(bytes), qt.toHex().toStdString()) << size;
    }
}

TEST(JsonString, EscapesWhatJsonNeedsAndKeepsTheRest) {
    EXPECT_EQ(pxdump::JsonString("plain"), "\"plain\"");
    EXPECT_EQ(pxdump::JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(pxdump::JsonString(std::string("\n\r\t\b\f\x01\x1f", 7)),
              "\"\\n\\r\\t\\b\\f\\u0001\\u001f\"");
    EXPECT_EQ(pxdump::JsonString(std::string("\0x", 2)), "\"\\u0000x\"");
    EXPECT_EQ(pxdump::JsonString("Ï中\x7f"), "\"Ï中\x7f\"");
}

}  // namespace
}  // namespace quorvex::test
