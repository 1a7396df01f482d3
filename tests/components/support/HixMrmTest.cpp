// Measure rules: rounding modes at decimal halves that binary cannot hold, units, angle texts
// with their carries, reading angles back, and the whole-number strings.
#include "components/support/HixAngleMrm.h"
#include "components/support/HixLong.h"
#include "components/support/HixMrm.h"
#include "components/support/HixNumber.h"
#include "components/support/HixReal.h"
#include "components/support/YatString.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Shown(double value, int decimals, HixRound mode)
{
    return HixMrm(static_cast<int>(mode), 0, decimals).StrDouble(value);
}

TEST(HixMrmTest, RoundingModesTakeTheDecimalThePersonWrote)
{
    // 2.675 is stored as 2.67499999999999982236431605997495353221893310546875.
    EXPECT_EQ(Shown(2.675, 2, HixRound::HalfUp), "2.68") << "a surveyor's 2.675 rounds half up";
    EXPECT_EQ(Shown(2.675, 2, HixRound::HalfDown), "2.67");
    EXPECT_EQ(Shown(2.675, 2, HixRound::HalfEven), "2.68");
    EXPECT_EQ(Shown(2.665, 2, HixRound::HalfEven), "2.66");
    EXPECT_EQ(Shown(2.6751, 2, HixRound::HalfDown), "2.68") << "past the half goes up in every half mode";
    EXPECT_EQ(Shown(0.29, 2, HixRound::Down), "0.29") << "0.29 * 100 is 28.999999999999996 in binary";
    EXPECT_EQ(Shown(1.1, 1, HixRound::Up), "1.1") << "1.1 * 10 is 11.000000000000002 in binary";
    EXPECT_EQ(Shown(2.671, 2, HixRound::Up), "2.68");
    EXPECT_EQ(Shown(2.679, 2, HixRound::Down), "2.67");

    SCOPED_TRACE("modes act on the magnitude, except Floor");
    EXPECT_EQ(Shown(-2.675, 2, HixRound::HalfUp), "-2.68");
    EXPECT_EQ(Shown(-2.679, 2, HixRound::Down), "-2.67");
    EXPECT_EQ(Shown(-2.671, 2, HixRound::Floor), "-2.68");
    EXPECT_EQ(Shown(2.679, 2, HixRound::Floor), "2.67");
    EXPECT_EQ(Shown(-0.0001, 3, HixRound::HalfUp), "0.000") << "a value that rounds to zero has no sign";
    EXPECT_EQ(Shown(99.9996, 3, HixRound::HalfUp), "100.000") << "the carry adds a digit";
    EXPECT_EQ(Shown(7, 0, HixRound::HalfUp), "7");

    SCOPED_TRACE("beyond 2^53 the digits are already whole; the rule cannot apply and printf's text is used");
    EXPECT_EQ(Shown(1e17, 2, HixRound::Down), "100000000000000000.00");
}

TEST(HixMrmTest, RuleDefaultsUnitsAndRoundedValue)
{
    const HixMrm fresh;
    EXPECT_EQ(fresh.GetRound(), HixRound::HalfUp);
    EXPECT_EQ(fresh.StrDouble(12.5), "12.5000") << "four decimals to start with";
    EXPECT_EQ(HixMrm(9, 7, 40).StrDouble(1.25, 1), "1.3") << "unknown numbers fall back to half up in metres";
    EXPECT_EQ(HixMrm(9, 7, 40).GetFigure(), 15);

    const HixMrm millimetres(5, 2, 1);
    EXPECT_EQ(millimetres.StrDouble(1.23456), "1234.6");
    EXPECT_DOUBLE_EQ(millimetres.FromUnit(1234.5), 1.2345);
    EXPECT_EQ(HixMrm(5, 3, 3).StrDouble(1234.5678), "1.235") << "kilometres";
    EXPECT_EQ(HixMrm(5, 1, 0).StrDouble(0.125), "13") << "centimetres";

    EXPECT_DOUBLE_EQ(HixMrm(5, 0, 2).RoundValue(2.675), 2.68);
    EXPECT_DOUBLE_EQ(HixMrm(0, 0, 2).RoundValue(-2.679), -2.67);

    std::string reused = "previous text that is long enough to have its own buffer";
    const auto capacity = reused.capacity();
    HixMrm(5, 0, 3).StrDouble(3.14159, -1, reused);
    EXPECT_EQ(reused, "3.142");
    EXPECT_EQ(reused.capacity(), capacity) << "the caller's string is reused, not replaced";
}

TEST(HixAngleMrmTest, AngleTextsCarryAndReadBack)
{
    const double angle = 123.0 + 45.0 / 60.0 + 6.7 / 3600.0;
    HixAngleMrm rule;
    EXPECT_EQ(rule.GetAngleKind(), HixAngleKind::Dms);
    EXPECT_EQ(rule.StrDouble(angle), "123°45′06.7″");
    EXPECT_EQ(rule.StrDouble(-angle, 0), "-123°45′07″");
    EXPECT_EQ(rule.StrDouble(10.0 + 59.0 / 60.0 + 59.96 / 3600.0), "11°00′00.0″")
        << "59.96″ at one decimal carries into the minutes and degrees";

    rule.SetAngleKind(static_cast<int>(HixAngleKind::Packed));
    EXPECT_EQ(rule.StrDouble(angle), "123.45067");
    EXPECT_EQ(rule.StrDouble(5.5, 0), "5.3000");
    rule.SetAngleKind(static_cast<int>(HixAngleKind::Degree));
    EXPECT_EQ(rule.StrDouble(angle, 4), "123.7519");
    rule.SetAngleKind(static_cast<int>(HixAngleKind::Grad));
    EXPECT_EQ(rule.StrDouble(90.0, 2), "100.00");
    double read = 0;
    ASSERT_TRUE(rule.ValDouble("100", read));
    EXPECT_DOUBLE_EQ(read, 90.0);

    const HixAngleMrm dms(3);
    for (const char* text : {"123°45′06.7″", "123 45 06.7", "123°45'06.7\"", "123.45067", " 123度45分06.7秒 "}) {
        read = 0;
        ASSERT_TRUE(dms.ValDouble(text, read)) << text;
        EXPECT_NEAR(read, angle, 1e-9) << text;
    }
    ASSERT_TRUE(dms.ValDouble("1°02′03.1234567890123456″", read));
    EXPECT_NEAR(read, 1.0 + 2.0 / 60.0 + 3.1234567890123456 / 3600.0, 1e-12) << "more digits than a double holds";
    ASSERT_TRUE(dms.ValDouble("1.0203123456789012345", read));
    EXPECT_NEAR(read, 1.0 + 2.0 / 60.0 + 3.123456789012345 / 3600.0, 1e-12);
    ASSERT_TRUE(dms.ValDouble("-0°30′", read));
    EXPECT_DOUBLE_EQ(read, -0.5);
    read = 7;
    for (const char* text : {"123.6000", "123°60′00″", "123°45′60″", "abc", "", "12°3x"})
        EXPECT_FALSE(dms.ValDouble(text, read)) << text;
    EXPECT_EQ(read, 7) << "a refused text leaves the value alone";

    double degrees = 0;
    ASSERT_TRUE(HixPackedToDegrees(123.45067, degrees));
    EXPECT_NEAR(degrees, angle, 1e-9);
    EXPECT_FALSE(HixPackedToDegrees(10.7, degrees)) << "70 minutes";
}

TEST(HixNumberTest, ScanningAcceptsOnlyPlainDecimalNumbers)
{
    double value = 0;
    HixNumberShape shape;
    ASSERT_TRUE(HixScanNumber("-012.50", value, &shape));
    EXPECT_DOUBLE_EQ(value, -12.5);
    EXPECT_TRUE(shape.negative);
    EXPECT_EQ(shape.integerDigits, 3);
    EXPECT_EQ(shape.fractionDigits, 2);
    EXPECT_TRUE(HixScanNumber("+7", value));
    EXPECT_TRUE(HixScanNumber(".5", value));
    EXPECT_TRUE(HixScanNumber("5.", value));
    for (const char* text : {"", "-", ".", "1e3", " 1", "1,000", "inf", "nan", "0x10", "--1"})
        EXPECT_FALSE(HixScanNumber(text, value)) << text;
    EXPECT_EQ(HixTrim("\t 3.25 \xE3\x80\x80"), "3.25") << "an input method's blank is a blank too";
}

TEST(HixValuesTest, UnsetStatesAndWholeNumberStrings)
{
    EXPECT_TRUE(HixLong().IsShoki());
    EXPECT_EQ(HixLong().Get(), INT32_MIN);
    EXPECT_FALSE(HixLong(0).IsShoki());
    EXPECT_TRUE(HixReal().IsShoki());
    EXPECT_FALSE(HixReal(0.0).IsShoki());

    YatString text;
    EXPECT_EQ(text.StrSignedInteger(-42), "-42");
    long value = 5;
    EXPECT_TRUE(YatString(" 17 ").ValSignedInteger(value));
    EXPECT_EQ(value, 17);
    EXPECT_TRUE(YatString("+3").ValSignedInteger(value));
    EXPECT_EQ(value, 3);
    for (const char* bad : {"", "12a", "+-5", "99999999999999999999", "1.5"}) {
        value = 5;
        EXPECT_FALSE(YatString(bad).ValSignedInteger(value)) << bad;
        EXPECT_EQ(value, 5);
    }
    EXPECT_EQ(YatString("x").ValSignedInteger(), 0);
}

} // namespace
