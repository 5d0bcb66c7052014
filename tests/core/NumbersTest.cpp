#include "core/base/Numbers.h"
#include "core/base/Value.h"

#include <QLocale>

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "tests/support/Printers.h"

TEST(Numbers, RoundsHalfToEven)
{
    const std::pair<double, long long> cases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {0.5, 0}, {1.5, 2}, {2.4999, 2}, {2.5001, 3}, {99.0099, 99}, {-0.5, 0},
    };
    for (const auto &[in, out] : cases)
        EXPECT_EQ(roundHalfEven(in), out) << in;
}

TEST(Numbers, BoxTextToInt16)
{
    EXPECT_EQ(toInt16(QStringLiteral("12")), 12);
    EXPECT_EQ(toInt16(QStringLiteral(" 7 ")), 7);
    EXPECT_EQ(toInt16(QStringLiteral("2.5")), 2);
    EXPECT_EQ(toInt16(QStringLiteral("-32768")), -32768);
    EXPECT_EQ(toInt16(QStringLiteral("32767")), 32767);
    for (const char *bad : {"32768", "-32769", "", "abc", "12abc", "1e10", "inf", "nan", "10,5"})
        EXPECT_FALSE(toInt16(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST(Numbers, ThirtyTwoBitConversionRoundsHalvesToEvenAndRefusesWhatDoesNotFit)
{
    EXPECT_EQ(toInt32(QStringLiteral(" 40000 ")), 40000);
    EXPECT_EQ(toInt32(QStringLiteral("2.5")), 2);
    EXPECT_EQ(toInt32(QStringLiteral("3.5")), 4);
    EXPECT_EQ(toInt32(QStringLiteral("-2147483648")), INT32_MIN);
    EXPECT_EQ(toInt32(QStringLiteral("2147483647")), INT32_MAX);
    for (const char *bad : {"2147483648", "-2147483649", "", "x", "5;", "1e400", "nan", "10,5"})
        EXPECT_FALSE(toInt32(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST(Numbers, NumbersWrittenInTheUsersFormat)
{
    // Read once, then rounded into 16 or 32 bits, halves to even.
    const struct {
        const char *label;
        const char *text;
        std::optional<double> real;
        std::optional<int16_t> i16;
        std::optional<int32_t> i32;
    } rows[] = {
        {"blanks around", " 10 ", 10, 10, 10},
        {"half down to even", "2.5", 2.5, 2, 2},
        {"half up to even", "3.5", 3.5, 4, 4},
        {"comma as the point", "10,5", 10.5, 10, 10},
        {"negative", "-7.5", -7.5, -8, -8},
        {"largest 16-bit", "32767", 32767, 32767, 32767},
        {"one past 16 bits", "32768", 32768, std::nullopt, 32768},
        {"one past 32 bits", "2147483648", 2147483648.0, std::nullopt, std::nullopt},
        {"exponent", "1e3", 1000, 1000, 1000},
        {"empty", "", std::nullopt, std::nullopt, std::nullopt},
        {"blank", "  ", std::nullopt, std::nullopt, std::nullopt},
        {"text", "abc", std::nullopt, std::nullopt, std::nullopt},
        {"number then text", "12px", std::nullopt, std::nullopt, std::nullopt},
        {"both points", "1,000.5", std::nullopt, std::nullopt, std::nullopt},
        {"nan", "nan", std::nullopt, std::nullopt, std::nullopt},
        {"inf", "inf", std::nullopt, std::nullopt, std::nullopt},
        {"beyond a double", "1e400", std::nullopt, std::nullopt, std::nullopt},
    };
    for (const auto &row : rows) {
        const auto real = toReal(QString::fromUtf8(row.text));
        EXPECT_EQ(real, row.real) << row.label;
        EXPECT_EQ(real ? int16Of(*real) : std::nullopt, row.i16) << row.label;
        EXPECT_EQ(real ? int32Of(*real) : std::nullopt, row.i32) << row.label;
    }
}

TEST(Numbers, ValReadsTheStartOfAText)
{
    const std::pair<const char *, double> cases[] = {
        {"12", 12},      {"  12abc", 12}, {"1 2 3", 123}, {"-4.5x", -4.5}, {"abc", 0},
        {"", 0},         {"&H1F", 31},    {"&O17", 15},   {"2e3", 2000},   {"2e", 2},
        {".5", 0.5},     {"1.2.3", 1.2},
    };
    for (const auto &[in, out] : cases)
        EXPECT_DOUBLE_EQ(val(QString::fromUtf8(in)), out) << in;
}

// Texts and values beyond every range: each gives a defined result or fails
// cleanly, with nothing converted out of range (the sanitizers watch).
TEST(Numbers, ValuesBeyondEveryRange)
{
    EXPECT_DOUBLE_EQ(val(QStringLiteral("&HFFFFFFFFFFFFFFFFF")), 295147905179352825855.0);
    EXPECT_DOUBLE_EQ(val(QStringLiteral("&O7777777777777777777777")), 73786976294838206463.0);
    EXPECT_EQ(val(QStringLiteral("&H") + QString(400, u'F')), std::numeric_limits<double>::max());
    EXPECT_EQ(val(QStringLiteral("1e400")), 0.0);

    const struct {
        const char *label;
        double in;
        long long out;
    } rounds[] = {
        {"1e300", 1e300, std::numeric_limits<long long>::max()},
        {"-1e300", -1e300, std::numeric_limits<long long>::min()},
        {"2^63", 9223372036854775808.0, std::numeric_limits<long long>::max()},
        {"-2^63", -9223372036854775808.0, std::numeric_limits<long long>::min()},
        {"infinity", std::numeric_limits<double>::infinity(), std::numeric_limits<long long>::max()},
        {"NaN", std::numeric_limits<double>::quiet_NaN(), 0},
        {"2^62 + 0.5", 4611686018427387904.0, 4611686018427387904LL},
    };
    for (const auto &r : rounds)
        EXPECT_EQ(roundHalfEven(r.in), r.out) << r.label;

    for (const char *text : {"1e300", "1e400", "nan", "inf", "-inf", "&HFFFFFFFFFFFFFFFFF"})
        EXPECT_FALSE(toInt16(QString::fromUtf8(text)).has_value()) << text;

    // The largest doubles are written with the digits they need to read back.
    for (double v : {std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
                     std::nextafter(std::numeric_limits<double>::max(), 0.0)}) {
        const QString text = numberText(v);
        EXPECT_EQ(val(text), v) << text.toStdString();
    }
    EXPECT_EQ(numberText(std::numeric_limits<double>::max()), QStringLiteral("1.7976931348623157E+308"));
    EXPECT_EQ(numberText(1e300), QStringLiteral("1E+300"));
}

TEST(Numbers, DefaultFormatUsesAPointOnEveryLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(numberText(350.0), QStringLiteral("350"));
    EXPECT_EQ(numberText(2.1167), QStringLiteral("2.1167"));
    EXPECT_EQ(numberText(-0.25), QStringLiteral("-0.25"));
    EXPECT_EQ(numberText(1.0 / 3.0), QStringLiteral("0.333333333333333"));
    EXPECT_EQ(numberText(1.0f / 3.0f), QStringLiteral("0.3333333"));
    EXPECT_EQ(numberText(1e20), QStringLiteral("1E+20"));
    EXPECT_EQ(numberText(1.5e-20), QStringLiteral("1.5E-20"));
    EXPECT_EQ(numberText(0.0), QStringLiteral("0"));
    QLocale::setDefault(before);
}

TEST(Value, UnsetJoinsAsEmptyAndCountsAsZero)
{
    const Value unset;
    EXPECT_TRUE(unset.isUnset());
    EXPECT_EQ(unset.toText(), QString());
    EXPECT_EQ(unset.toDouble(), 0.0);
    EXPECT_TRUE(unset == Value(QString()));
    EXPECT_TRUE(unset == Value::integer(0));
    EXPECT_EQ((unset + Value::integer(3)).toText(), QStringLiteral("3"));
}

TEST(Value, KeepsTheKindOfWhatWasStored)
{
    Value v = Value::integer(1);
    EXPECT_EQ(v.kind(), Value::Kind::Integer);
    v = Value::real(350.5);
    EXPECT_EQ(v.kind(), Value::Kind::Double);
    EXPECT_EQ(v.toText(), QStringLiteral("350.5"));
    v = QStringLiteral("C:/x");
    EXPECT_EQ(v.kind(), Value::Kind::Text);
    EXPECT_EQ(Value::single(0.1f).toText(), QStringLiteral("0.1"));
    EXPECT_EQ(Value::longValue(70000).toText(), QStringLiteral("70000"));
    EXPECT_EQ(Value(QStringLiteral("a")) & Value::integer(5), QStringLiteral("a5"));
    EXPECT_EQ((Value::integer(2) + Value::real(0.5)).kind(), Value::Kind::Double);
    EXPECT_EQ((Value::integer(2) - Value::integer(5)).toText(), QStringLiteral("-3"));
}
