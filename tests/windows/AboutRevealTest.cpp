#include "base/Colours.h"
#include "windows/AboutReveal.h"
#include "windows/AboutText.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr quint32 NoColour = 0xFFFFFFFF;
constexpr quint32 Red = Colours::Rgb(255, 0, 0);
constexpr quint32 Green = Colours::Rgb(0, 128, 0);

class FakeRevealHost : public RevealHost {
public:
    void SetInsertColour(quint32 colour) override { m_colour = colour; }
    void InsertCharacter(char character) override
    {
        shown += character;
        colours.push_back(m_colour);
    }
    void PumpMessages() override
    {
        if (onPump)
            onPump();
    }

    std::string shown;
    std::vector<quint32> colours; // the colour each shown character was inserted in
    std::function<void()> onPump;

private:
    quint32 m_colour = NoColour;
};

// Steps until the reveal ends; the number of steps taken.
int RunToEnd(AboutReveal& reveal)
{
    int steps = 0;
    while (reveal.AboutRunning() && steps < 10000) {
        reveal.Step();
        ++steps;
    }
    return steps;
}

struct Segment {
    std::string code;
    std::string text;
};

// The about text cut at its slashes.
std::vector<Segment> Segments()
{
    std::vector<Segment> segments;
    for (size_t start = 0; start < AboutText.size();) {
        const size_t next = AboutText.find('/', start + 1);
        const std::string whole(AboutText.substr(start, next - start));
        const size_t codeLength = whole.starts_with("/C") ? 3 : 2;
        segments.push_back({whole.substr(0, codeLength), whole.substr(codeLength)});
        start = next == std::string_view::npos ? AboutText.size() : next;
    }
    return segments;
}

TEST(AboutTextTest, HasTheSevenSegmentsOfTheirExactLengths)
{
    const std::vector<Segment> segments = Segments();
    std::vector<size_t> lengths;
    std::vector<std::string> codes;
    for (const Segment& segment : segments) {
        lengths.push_back(segment.code.size() + segment.text.size());
        codes.push_back(segment.code);
    }
    EXPECT_EQ(lengths, (std::vector<size_t>{18, 214, 16, 608, 27, 96, 75}));
    EXPECT_EQ(codes, (std::vector<std::string>{"/CR", "/CG", "/CR", "/CG", "/CR", "/G", "/CR"}));
    EXPECT_EQ(AboutText.size(), 1054u);
    EXPECT_EQ(segments[0].text, "Kestrin T.R.X\n\n");
    EXPECT_EQ(segments[2].text, "DISCLAIMER:\n\n");
    EXPECT_EQ(segments[4].text, "BETA RELEASE NOTES !!!\n\n");
    for (const char character : AboutText)
        EXPECT_TRUE(character == '\n' || (character >= ' ' && character <= '~')) << int(character);
}

TEST(AboutRevealTest, ShowsNothingBeforeActivation)
{
    FakeRevealHost host;
    AboutReveal reveal(host, AboutText);
    for (int tick = 0; tick < 5; ++tick)
        reveal.Step();
    EXPECT_TRUE(host.shown.empty());
    EXPECT_EQ(reveal.AboutPos(), 0);
}

TEST(AboutRevealTest, ShowsEveryCharacterOnceInItsSegmentsColourAndNoCode)
{
    FakeRevealHost host;
    AboutReveal reveal(host, AboutText);
    reveal.Activate();
    EXPECT_EQ(RunToEnd(reveal), 1042);
    EXPECT_EQ(reveal.AboutPos(), 1055);

    std::string expected;
    std::vector<quint32> expectedColours;
    quint32 colour = NoColour;
    for (const Segment& segment : Segments()) {
        colour = segment.code == "/CR" ? Red : segment.code == "/CG" ? Green : colour;
        expected += segment.text;
        expectedColours.insert(expectedColours.end(), segment.text.size(), colour);
    }
    EXPECT_EQ(host.shown, expected);
    EXPECT_EQ(host.colours, expectedColours);
}

TEST(AboutRevealTest, ActivationAfterTheEndAddsNothing)
{
    FakeRevealHost host;
    AboutReveal reveal(host, AboutText);
    reveal.Activate();
    RunToEnd(reveal);
    const std::string shown = host.shown;
    reveal.Activate();
    reveal.Step();
    EXPECT_FALSE(reveal.AboutRunning());
    EXPECT_EQ(host.shown, shown);
}

TEST(AboutRevealTest, DropsUnknownCodesAndKeepsTheColour)
{
    FakeRevealHost host;
    AboutReveal reveal(host, "a/Xb/CYc/CRd/Ge/");
    reveal.Activate();
    RunToEnd(reveal);
    EXPECT_EQ(host.shown, "abcde");
    EXPECT_EQ(host.colours, (std::vector<quint32>{NoColour, NoColour, NoColour, Red, Red}));
    EXPECT_FALSE(reveal.AboutRunning()); // a slash at the very end is dropped and the reveal still ends
}

TEST(AboutRevealTest, ATickDuringTheMessagePumpDoesNothing)
{
    FakeRevealHost host;
    AboutReveal reveal(host, "abc");
    bool busyInPump = false;
    host.onPump = [&] {
        busyInPump = reveal.AboutBusy();
        reveal.Step();
    };
    reveal.Activate();
    reveal.Step();
    EXPECT_TRUE(busyInPump);
    EXPECT_FALSE(reveal.AboutBusy());
    EXPECT_EQ(host.shown, "a");
    EXPECT_EQ(reveal.AboutPos(), 1);
}

} // namespace
