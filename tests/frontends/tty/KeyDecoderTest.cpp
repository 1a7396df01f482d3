// Terminal bytes to input events: keys, sequences cut between reads, the pause that makes a lone
// ESC the Escape key, mouse reports, and garbage, which must neither throw nor turn into typing.
#include "frontends/tty/KeyDecoder.h"

#include "platform/ui/Constants.h"

#include <gtest/gtest.h>

#include <random>

using namespace plat;
using tty::KeyDecoder;

namespace {

std::vector<InputEvent> Decode(std::string_view bytes, bool pause = true)
{
    KeyDecoder decoder;
    std::vector<InputEvent> events;
    decoder.Feed(bytes, events);
    if (pause)
        decoder.Flush(events);
    return events;
}

// Keys as text, for compact comparison: "K<vk>" with S, C, A for the modifiers, "C'x'" for a
// character, "M<kind>@x,y" for the mouse.
std::string Describe(const std::vector<InputEvent>& events)
{
    std::string out;
    for (const InputEvent& e : events) {
        if (!out.empty())
            out += ' ';
        switch (e.kind) {
        case InputEvent::Kind::Key:
            out += "K" + std::to_string(e.key) + (e.shift ? "S" : "") + (e.control ? "C" : "") + (e.alt ? "A" : "");
            break;
        case InputEvent::Kind::Char:
            out += "C" + std::to_string(static_cast<unsigned>(e.ch));
            break;
        default:
            out += "M" + std::to_string(static_cast<int>(e.kind)) + "@" + std::to_string(e.point.x) + "," +
                   std::to_string(e.point.y) + (e.control ? "C" : "");
            if (e.kind == InputEvent::Kind::Drag)
                out += "->" + std::to_string(e.to.x) + "," + std::to_string(e.to.y);
            if (e.kind == InputEvent::Kind::Wheel)
                out += "w" + std::to_string(e.wheel);
            break;
        }
    }
    return out;
}

std::string K(int vk, const char* mods = "") { return "K" + std::to_string(vk) + mods; }

} // namespace

TEST(KeyDecoderTest, CursorEditingAndFunctionKeysWithTheirModifiers)
{
    EXPECT_EQ(Describe(Decode("\x1b[A\x1b[B\x1b[C\x1b[D\x1bOH\x1b[F")),
              K(VK_UP) + " " + K(VK_DOWN) + " " + K(VK_RIGHT) + " " + K(VK_LEFT) + " " + K(VK_HOME) + " " + K(VK_END));
    EXPECT_EQ(Describe(Decode("\x1b[5~\x1b[6~\x1b[3~\x1b[2~\x1b[1~\x1b[4~")),
              K(VK_PRIOR) + " " + K(VK_NEXT) + " " + K(VK_DELETE) + " " + K(VK_INSERT) + " " + K(VK_HOME) + " " + K(VK_END));
    EXPECT_EQ(Describe(Decode("\x1bOP\x1bOS\x1b[15~\x1b[21~\x1b[24~\x1b[1;5P\x1b[21;2~\x1b[29~")),
              K(VK_F1) + " " + K(VK_F4) + " " + K(VK_F5) + " " + K(VK_F10) + " " + K(VK_F12) + " " + K(VK_F1, "C") + " " +
                  K(VK_F10, "S") + " " + K(VK_APPS));
    EXPECT_EQ(Describe(Decode("\x1b[1;2A\x1b[1;5C\x1b[1;3B\x1b[3;6~")),
              K(VK_UP, "S") + " " + K(VK_RIGHT, "C") + " " + K(VK_DOWN, "A") + " " + K(VK_DELETE, "SC"))
        << "the xterm modifier parameter is 1 + Shift 1, Alt 2, Control 4";
    EXPECT_EQ(Describe(Decode("\t\x1b[Z\r\n\x7f\x08")),
              K(VK_TAB) + " " + K(VK_TAB, "S") + " " + K(VK_RETURN) + " " + K(VK_RETURN) + " " + K(VK_BACK) + " " + K(VK_BACK));
}

TEST(KeyDecoderTest, ControlAndAltLettersAreKeysAndTextIsCharacters)
{
    EXPECT_EQ(Describe(Decode("\x03\x18\x16\x13\x0f\x11")),
              K('C', "C") + " " + K('X', "C") + " " + K('V', "C") + " " + K('S', "C") + " " + K('O', "C") + " " + K('Q', "C"));
    EXPECT_EQ(Describe(Decode("\x1b" "a\x1bN\x1b" "7")), K('A', "A") + " " + K('N', "SA") + " " + K('7', "A"))
        << "Alt+letter is ESC and the letter";
    EXPECT_EQ(Describe(Decode("a1 座\xef\xbd\xb1")), "C97 C49 C32 C24231 C65393") << "ASCII, a wide and a half-width kana";
}

TEST(KeyDecoderTest, ALoneEscapeWaitsForThePauseAndSequencesMayBeCutBetweenReads)
{
    KeyDecoder decoder;
    std::vector<InputEvent> events;
    decoder.Feed("\x1b", events);
    EXPECT_TRUE(events.empty()) << "an ESC may begin a sequence";
    EXPECT_TRUE(decoder.Pending());
    decoder.Flush(events);
    EXPECT_EQ(Describe(events), K(VK_ESCAPE)) << "after the pause it was the Escape key";
    EXPECT_FALSE(decoder.Pending());

    events.clear();
    decoder.Feed("\x1b[1;", events);
    decoder.Feed("5", events);
    decoder.Feed("D\xe5\xba", events);
    EXPECT_EQ(Describe(events), K(VK_LEFT, "C"));
    decoder.Feed("\xa7", events);
    EXPECT_EQ(Describe(events), K(VK_LEFT, "C") + " C24231") << "a character cut between reads";

    EXPECT_EQ(Describe(Decode("\x1b\x1b")), K(VK_ESCAPE) + " " + K(VK_ESCAPE));
    EXPECT_EQ(Describe(Decode("\x1b\xe5\xba\xa7")), K(VK_ESCAPE) + " C24231") << "ESC before a character that no Alt makes";
}

TEST(KeyDecoderTest, MouseReportsGiveClicksAtTheMiddleOfTheirCell)
{
    EXPECT_EQ(Describe(Decode("\x1b[<0;3;2M\x1b[<0;3;2m")), "M2@20,24") << "a press is the click, its release nothing";
    EXPECT_EQ(Describe(Decode("\x1b[<2;1;1M\x1b[<16;10;5M\x1b[<32;4;4M")), "M4@4,8 M2@76,72C")
        << "right button, Control held, motion dropped";
    EXPECT_EQ(Describe(Decode("\x1b[<64;1;1M\x1b[<65;1;1M")), "M7@4,8w120 M7@4,8w-120") << "the wheel, a notch each";
    EXPECT_EQ(Describe(Decode("\x1b[<0;3;2M\x1b[<32;4;3M\x1b[<0;5;4m")), "M2@20,24 M6@20,24->36,56")
        << "a press, then a release on another cell: the click, then the drag";
    EXPECT_EQ(Describe(Decode("\x1b[M !!")), "M2@4,8") << "the older X10 report";

    tty::DoubleClickDetector detector;
    const auto t0 = tty::DoubleClickDetector::Clock::now();
    const POINT here{20, 24};
    EXPECT_EQ(detector.Classify(here, t0), InputEvent::Kind::Click);
    EXPECT_EQ(detector.Classify(here, t0 + std::chrono::milliseconds(200)), InputEvent::Kind::DoubleClick);
    EXPECT_EQ(detector.Classify(here, t0 + std::chrono::milliseconds(300)), InputEvent::Kind::Click)
        << "a third click starts over";
    EXPECT_EQ(detector.Classify(POINT{28, 24}, t0 + std::chrono::milliseconds(400)), InputEvent::Kind::Click)
        << "another cell";
    EXPECT_EQ(detector.Classify(POINT{28, 24}, t0 + std::chrono::milliseconds(1000)), InputEvent::Kind::Click)
        << "too late";
}

TEST(KeyDecoderTest, GarbageNeverThrowsNorTurnsIntoTyping)
{
    EXPECT_EQ(Describe(Decode("\x1b[999~\x1b[?1;2c\x1b[<1;2M\x1b[1;5X")), "")
        << "unknown keys, a terminal's answer, a broken mouse report, an unknown final";
    EXPECT_EQ(Describe(Decode("\x1b[" + std::string(100, '1') + "Ax")), "C120")
        << "an overlong sequence is dropped whole and what follows reads as usual";
    EXPECT_EQ(Describe(Decode("\x80\xc0\xff\xe5x")), "C120") << "stray and cut bytes";

    std::mt19937 random(9);
    KeyDecoder decoder;
    std::vector<InputEvent> events;
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(1 + random() % 16, '\0');
        for (char& byte : bytes)
            byte = static_cast<char>(random() % 4 == 0 ? 0x1b : random());
        EXPECT_NO_THROW(decoder.Feed(bytes, events));
    }
    decoder.Flush(events);
    EXPECT_FALSE(decoder.Pending());
    events.clear();
    decoder.Feed("\x1b[A", events);
    EXPECT_EQ(Describe(events), K(VK_UP)) << "after any garbage and a pause the decoder reads keys again";
}
