// The way to the system clipboard chosen from the environment, and the terminal's own
// clipboard request.
#include "frontends/tty/TtyClipboard.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace tty;

namespace {

ClipboardCommands Choose(std::map<std::string, std::string> env, std::set<std::string> path)
{
    return ChooseClipboardCommands(
        [&](const char* name) -> const char* {
            auto it = env.find(name);
            return it == env.end() ? nullptr : it->second.c_str();
        },
        [&](const std::string& command) { return path.count(command) > 0; });
}

} // namespace

TEST(TtyClipboardTest, TheDesktopsCommandIsChosenAndNoneWithoutADesktop)
{
    EXPECT_EQ(Choose({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}, {"wl-copy", "wl-paste", "xclip"}).copy.front(), "wl-copy");
    EXPECT_EQ(Choose({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}, {"xclip"}).copy.front(), "xclip")
        << "Wayland without its tools falls back to X";
    EXPECT_EQ(Choose({{"DISPLAY", ":0"}}, {"xsel"}).paste, (std::vector<std::string>{"xsel", "--clipboard", "--output"}));
    EXPECT_TRUE(Choose({{"DISPLAY", ""}}, {"xclip", "xsel"}).copy.empty()) << "over ssh without a display: OSC 52";
    EXPECT_TRUE(Choose({}, {}).paste.empty());
}

TEST(TtyClipboardTest, WithoutACommandTheTerminalIsAskedAndPastingUsesTheProgramsCopy)
{
    EXPECT_EQ(Base64(""), "");
    EXPECT_EQ(Base64("f"), "Zg==");
    EXPECT_EQ(Base64("fo"), "Zm8=");
    EXPECT_EQ(Base64("foo"), "Zm9v");
    EXPECT_EQ(Base64("\xe5\xba\xa7\xe6\xa8\x99"), "5bqn5qiZ") << "UTF-8 bytes as they are";

    std::string sent;
    TtyClipboard clipboard({}, [&](std::string_view bytes) { sent += bytes; });
    clipboard.SetText("X\t12.5");
    EXPECT_EQ(sent, "\x1b]52;c;WAkxMi41\x07");
    EXPECT_EQ(clipboard.GetText(), std::nullopt);

    sent.clear();
    TtyClipboard broken({{"/nonexistent/copy"}, {"/nonexistent/paste"}}, [&](std::string_view bytes) { sent += bytes; });
    broken.SetText("a");
    EXPECT_EQ(sent, Osc52("a")) << "a command that cannot run falls back to the terminal";
    EXPECT_EQ(broken.GetText(), std::nullopt);

    TtyClipboard shell({{"sh", "-c", "cat >/dev/null"}, {"printf", "%s", "座標"}}, [&](std::string_view bytes) { sent += bytes; });
    sent.clear();
    shell.SetText("b");
    EXPECT_EQ(sent, "") << "a working command needs no terminal request";
    EXPECT_EQ(shell.GetText(), "座標");
}
