#include "transfer/value_text.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <limits>
#include <random>
#include <string>

namespace quorvex::test {
namespace {

TEST(DoubleText, FifteenSignificantDigitsInFixedNotation) {
    EXPECT_EQ(DoubleText(249.95), QStringLiteral("249.95"));
    EXPECT_EQ(DoubleText(1.0), QStringLiteral("1"));
    EXPECT_EQ(DoubleText(100.0), QStringLiteral("100"));
    EXPECT_EQ(DoubleText(-2.5), QStringLiteral("-2.5"));
    EXPECT_EQ(DoubleText(1.0 / 3.0), QStringLiteral("0.333333333333333"));
    EXPECT_EQ(DoubleText(2.0 / 3.0), QStringLiteral("0.666666666666667"));
    EXPECT_EQ(DoubleText(-2.0 / 3.0), QStringLiteral("-0.666666666666667"));
    EXPECT_EQ(DoubleText(123456789.123), QStringLiteral("123456789.123"));
    EXPECT_EQ(DoubleText(7.489999999999999), QStringLiteral("7.49"));
    EXPECT_EQ(DoubleText(0.1 + 0.2), QStringLiteral("0.3"));
}

TEST(DoubleText, MoneyPrintsAsTheDoubleItIs) {
    // The stored money value one unit in the last place below the double nearest 0.17.
    EXPECT_EQ(DoubleText(0.16999999999999998), QStringLiteral("0.17"));
    EXPECT_EQ(DoubleText(1234.5600000000002), QStringLiteral("1234.56"));
}

TEST(DoubleText, ExponentFormAtFifteenDigitsAndBelowTenThousandths) {
    EXPECT_EQ(DoubleText(999999999999999.0), QStringLiteral("999999999999999"));
    EXPECT_EQ(DoubleText(1e14), QStringLiteral("100000000000000"));
    EXPECT_EQ(DoubleText(1e15), QStringLiteral("1E+15"));
    EXPECT_EQ(DoubleText(-1e15), QStringLiteral("-1E+15"));
    EXPECT_EQ(DoubleText(1234567890123456.0), QStringLiteral("1.23456789012346E+15"));
    // Rounding to 15 digits carries into the next power of ten.
    EXPECT_EQ(DoubleText(999999999999999.9), QStringLiteral("1E+15"));
    EXPECT_EQ(DoubleText(1e100), QStringLiteral("1E+100"));
    EXPECT_EQ(DoubleText(0.0001), QStringLiteral("0.0001"));
    EXPECT_EQ(DoubleText(0.00015), QStringLiteral("0.00015"));
    EXPECT_EQ(DoubleText(0.000123456789012345678), QStringLiteral("0.000123456789012346"));
    EXPECT_EQ(DoubleText(0.000015), QStringLiteral("1.5E-05"));
    EXPECT_EQ(DoubleText(-0.00001), QStringLiteral("-1E-05"));
    EXPECT_EQ(DoubleText(1e-300), QStringLiteral("1E-300"));
    EXPECT_EQ(DoubleText(std::numeric_limits<double>::denorm_min()),
              QStringLiteral("4.94065645841247E-324"));
    EXPECT_EQ(DoubleText(std::numeric_limits<double>::max()),
              QStringLiteral("1.79769313486232E+308"));
}

TEST(DoubleText, ZeroAndValuesWithoutALiteral) {
    EXPECT_EQ(DoubleText(0.0), QStringLiteral("0"));
    EXPECT_EQ(DoubleText(-0.0), QStringLiteral("0"));
    EXPECT_EQ(DoubleText(std::nan("")), QString());
    EXPECT_EQ(DoubleText(std::numeric_limits<double>::infinity()), QString());
    EXPECT_EQ(DoubleText(-std::numeric_limits<double>::infinity()), QString());
}

// The reference: the C library's "%.14e" (this test runs in the C locale) rounds the exact
// binary value to 15 significant digits. Two different 15-digit decimals never read back as the
// same double, so equal doubles mean equal decimals.
double ReferenceRoundTrip(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.14e", value);
    return std::strtod(text, nullptr);
}

TEST(DoubleText, AgreesWithTheExactRoundingOnManyValues) {
    std::mt19937_64 random(20260101);
    std::uniform_int_distribution<std::uint64_t> bits;
    std::uniform_int_distribution<int> cents(-100000000, 100000000);
    std::vector<double> values;
    for (int i = 0; i < 200000; ++i) {
        double value = 0;
        const std::uint64_t pattern = bits(random);
        std::memcpy(&value, &pattern, sizeof value);
        values.push_back(value);
        values.push_back(cents(random) / 100.0);         // money-like
        values.push_back(cents(random) / 100.0 + 0.17);  // sums that miss by an ulp
        values.push_back(std::ldexp(cents(random), -(i % 80)));
    }
    // Values whose 16th digit is a 5 and ends there: the exact value decides.
    for (const double tie : {0.1234567890123455, 1.0000000000000005, 2.5000000000000005,
                             123456789012345.5, 9.999999999999995, 0.30000000000000004}) {
        values.push_back(tie);
        values.push_back(-tie);
    }
    int mismatches = 0;
    for (const double value : values) {
        if (!std::isfinite(value) || value == 0.0) {
            continue;
        }
        const double back = DoubleText(value).toDouble();
        if (back != ReferenceRoundTrip(value) && ++mismatches <= 10) {
            ADD_FAILURE() << std::setprecision(17) << value << " gave "
                          << DoubleText(value).toStdString();
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(ValueText, EveryKindWithUnitedStatesConventions) {
    EXPECT_EQ(ValueText(Value::Null()), QString());
    EXPECT_EQ(ValueText(Value::Boolean(true)), QStringLiteral("True"));
    EXPECT_EQ(ValueText(Value::Boolean(false)), QStringLiteral("False"));
    EXPECT_EQ(ValueText(Value::Integer(0)), QStringLiteral("0"));
    EXPECT_EQ(ValueText(Value::Integer(-1234567)), QStringLiteral("-1234567"));
    EXPECT_EQ(ValueText(Value::Integer(std::numeric_limits<std::int64_t>::min())),
              QStringLiteral("-9223372036854775808"));
    EXPECT_EQ(ValueText(Value::Integer(9007199254740993)), QStringLiteral("9007199254740993"));
    EXPECT_EQ(ValueText(Value::Double(249.95)), QStringLiteral("249.95"));
    EXPECT_EQ(ValueText(Value::Text(QStringLiteral(" O'Brien \n"))), QStringLiteral(" O'Brien \n"));
    EXPECT_EQ(ValueText(Value::Bytes(QByteArray("\x00\x0f\xab\xff", 4))),
              QStringLiteral("000FABFF"));
}

TEST(ValueText, DatesAndTimes) {
    EXPECT_EQ(ValueText(Value::Date(QDate(2014, 3, 14))), QStringLiteral("3/14/2014"));
    EXPECT_EQ(ValueText(Value::Date(QDate(1999, 12, 31))), QStringLiteral("12/31/1999"));
    EXPECT_EQ(ValueText(Value::Date(QDate(1, 1, 1))), QStringLiteral("1/1/0001"));
    EXPECT_EQ(ValueText(Value::Date(QDate(1899, 12, 30))), QStringLiteral("12/30/1899"));
    EXPECT_EQ(ValueText(Value::Time(QTime(0, 0, 0))), QStringLiteral("12:00:00 AM"));
    EXPECT_EQ(ValueText(Value::Time(QTime(0, 5, 9))), QStringLiteral("12:05:09 AM"));
    EXPECT_EQ(ValueText(Value::Time(QTime(10, 0, 0))), QStringLiteral("10:00:00 AM"));
    EXPECT_EQ(ValueText(Value::Time(QTime(12, 0, 0))), QStringLiteral("12:00:00 PM"));
    EXPECT_EQ(ValueText(Value::Time(QTime(13, 7, 1, 999))), QStringLiteral("1:07:01 PM"));
    EXPECT_EQ(ValueText(Value::Time(QTime(23, 59, 59))), QStringLiteral("11:59:59 PM"));
    EXPECT_EQ(ValueText(Value::DateTime(QDateTime(QDate(2020, 2, 1), QTime(1, 0, 1)))),
              QStringLiteral("2/1/2020 1:00:01 AM"));
    EXPECT_EQ(ValueText(Value::DateTime(QDateTime(QDate(2020, 2, 1), QTime(0, 0)))),
              QStringLiteral("2/1/2020"));
    // Below a second is not shown, so it does not make the time "not midnight" either.
    EXPECT_EQ(ValueText(Value::DateTime(QDateTime(QDate(2020, 2, 1), QTime(0, 0, 0, 500)))),
              QStringLiteral("2/1/2020"));
    // A timestamp on 30 December 1899 keeps its date: the value is a timestamp, not a time.
    EXPECT_EQ(ValueText(Value::DateTime(QDateTime(QDate(1899, 12, 30), QTime(18, 30)))),
              QStringLiteral("12/30/1899 6:30:00 PM"));
    EXPECT_EQ(ValueText(Value::Date(QDate())), QString());
    EXPECT_EQ(ValueText(Value::DateTime(QDateTime())), QString());
}

TEST(ValueText, NullToDefault) {
    EXPECT_EQ(NullToDefault(Value::Null(), Value::Text(QString())), Value::Text(QString()));
    EXPECT_EQ(NullToDefault(Value::Integer(5), Value::Text(QString())), Value::Integer(5));
    EXPECT_EQ(NullToDefault(Value::Text(QString()), Value::Integer(1)), Value::Text(QString()));
}

// Sets a German locale for Qt and, when the machine has one, for the C library, and puts both
// back afterwards.
class GermanLocale : public ::testing::Test {
  protected:
    void SetUp() override {
        savedC_ = std::setlocale(LC_ALL, nullptr);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                cLocaleSet_ = true;
                break;
            }
        }
    }
    void TearDown() override {
        std::setlocale(LC_ALL, savedC_.c_str());
        QLocale::setDefault(QLocale::c());
    }
    bool cLocaleSet_ = false;

  private:
    std::string savedC_;
};

TEST_F(GermanLocale, NumbersAndDatesKeepUnitedStatesForm) {
    if (!cLocaleSet_) {
        std::printf("note: no German C locale on this machine; Qt's default locale is German\n");
    }
    EXPECT_EQ(ValueText(Value::Double(249.95)), QStringLiteral("249.95"));
    EXPECT_EQ(ValueText(Value::Double(-1234567.5)), QStringLiteral("-1234567.5"));
    EXPECT_EQ(ValueText(Value::Double(1.5e-5)), QStringLiteral("1.5E-05"));
    EXPECT_EQ(ValueText(Value::Integer(1234567)), QStringLiteral("1234567"));
    EXPECT_EQ(ValueText(Value::Date(QDate(2014, 3, 14))), QStringLiteral("3/14/2014"));
    EXPECT_EQ(ValueText(Value::Time(QTime(15, 4, 5))), QStringLiteral("3:04:05 PM"));
    EXPECT_EQ(ValueText(Value::Boolean(true)), QStringLiteral("True"));
}

}  // namespace
}  // namespace quorvex::test
