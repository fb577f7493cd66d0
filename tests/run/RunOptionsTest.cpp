// kestrin-run's number options all read a number the same way.
#include "run/OutputPattern.h"
#include "run/RunOptions.h"

#include <gtest/gtest.h>

namespace {

RunOptions Parsed(const QString& option, const QString& value)
{
    return ParseCommandLine({option, value, QStringLiteral("-e"), QStringLiteral("00")}).options;
}

TEST(RunOptions, EveryNumberOptionTakesDigitsAndRefusesWhatIsNoFinitePositiveTime)
{
    EXPECT_EQ(Parsed("--timeout", "2.5").timeoutSeconds, 2.5);
    EXPECT_EQ(Parsed("--timeout", "7").timeoutSeconds, 7.0);
    EXPECT_EQ(Parsed("--idle", "0").idleMs, 0);
    EXPECT_EQ(Parsed("--byte-delay", "500").byteDelay, "500");
    EXPECT_EQ(Parsed("--command-delay", "007").commandDelay, "7");
    EXPECT_EQ(Parsed("--baud", "38400").baud, 38400);
    const std::pair<const char*, const char*> refused[] = {
        {"--timeout", "inf"},    {"--timeout", "1e-300"}, {"--timeout", "0.0001"},     {"--timeout", " 5"},
        {"--timeout", "0"},      {"--timeout", "nan"},    {"--timeout", "99999999"},   {"--idle", " 5"},
        {"--idle", "1.5"},       {"--idle", "-1"},        {"--idle", "99999999999"},   {"--byte-delay", "+1"},
        {"--command-delay", ""}, {"--byte-delay", "0x10"},   {"--baud", "4800"},        {"--baud", "019200"}};
    for (const auto& [option, value] : refused)
        EXPECT_THROW(Parsed(option, value), UsageError) << option << " '" << value << "'";
}

TEST(OutputPattern, TheDeviceGivesAFileNameAndTheCardItsNumber)
{
    const std::pair<const char*, const char*> names[] = {
        {"/dev/ttyUSB0", "dev_ttyUSB0"}, {"COM1", "COM1"}, {"pcsc:", "pcsc"}, {"../a:b", "a_b"}, {"//", "device"},
        {"PCSC:Kestrin virtual reader 00 01", "Kestrin_virtual_reader_00_01"}, {"pcsc:Lecteur \u00e9", "Lecteur__"}};
    for (const auto& [device, name] : names)
        EXPECT_EQ(DeviceFileName(QString::fromUtf8(device)), name) << device;
    EXPECT_EQ(FillPattern("out/{device}-{n}.{n}", "dev_ttyUSB0", 12), "out/dev_ttyUSB0-12.12");
}

} // namespace
