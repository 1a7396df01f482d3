// The editor as a person starts it on a desktop (an X server of the test's own): keys typed by
// xdotool put a point into a new row, Ctrl+S saves it, and a picture of the window is kept.
#include "tests/TemporaryFolder.h"
#include "tests/frontends/qt/DesktopTestSupport.h"
#include "tests/frontends/tty/TmuxSession.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using tavtest::ShellQuote;
using tavtest::Have;
using tavtest::Output;
using tavtest::ReadTextFile;
using tavtest::WaitFor;

namespace {

// Starts a program in the background with the shell; returns its process id.
pid_t Start(const std::string& command)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setpgid(0, 0);
        ::execl("/bin/sh", "sh", "-c", ("exec " + command).c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

void Stop(pid_t pid)
{
    if (pid <= 0)
        return;
    ::kill(pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 50 && ::waitpid(pid, &status, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (::waitpid(pid, &status, WNOHANG) == 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
}

// Ends the process when the test ends, however it ends.
struct Running {
    pid_t pid;
    ~Running() { Stop(pid); }
};

} // namespace

TEST(DesktopDemoTest, KeysTypedInARealWindowEditACellAndSave)
{
    if (!Have("Xvfb") || !Have("xdotool") || !Have("import"))
        GTEST_SKIP() << "Xvfb, xdotool or ImageMagick is not installed (./run setup installs them)";
    const tavtest::TemporaryFolder folder("tavcell-desktop");
    const fs::path& dir = folder.Path();

    // The server picks a free display and writes its number to the file.
    const std::string displayFile = (dir / "display").string();
    const Running server{Start("Xvfb -displayfd 3 -screen 0 1100x760x24 -nolisten tcp 3>" + ShellQuote(displayFile) + " >/dev/null 2>&1")};
    std::string number;
    ASSERT_TRUE(WaitFor([&] { return !(number = Output("cat " + ShellQuote(displayFile) + " 2>/dev/null")).empty(); }, std::chrono::seconds(10)))
        << "Xvfb did not start";
    const std::string display = "env DISPLAY=:" + number + " ";

    const fs::path document = dir / "survey.tav";
    const Running editor{Start(display + "TAVCELL_REGISTRY=" + ShellQuote((dir / "registry.sqlite3").string()) +
                               " XDG_CONFIG_HOME=" + ShellQuote(dir.string()) + " " + TAVCELL_COORDINATES + " --sample " +
                               ShellQuote(document.string()) + " 2>" + ShellQuote((dir / "stderr").string()) + " >/dev/null")};
    const std::string window = Output(display + "timeout 20 xdotool search --sync --onlyvisible --name '座標一覧' | head -n 1");
    ASSERT_FALSE(window.empty()) << "no window appeared; stderr: " << ReadTextFile(dir / "stderr");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const std::string keys = display + "xdotool windowfocus " + window + " ";
    // A new point after the last one: its name, then Ctrl+S.
    ASSERT_EQ(std::system((keys + "key --delay 80 ctrl+End Down Home Right").c_str()), 0);
    ASSERT_EQ(std::system((keys + "type --delay 80 P9001").c_str()), 0);
    ASSERT_EQ(std::system((keys + "key --delay 80 Return ctrl+s").c_str()), 0);
    const bool saved = WaitFor([&] { return ReadTextFile(document).find("P9001") != std::string::npos; }, std::chrono::seconds(10));
    const fs::path picture = fs::path(TAVCELL_PICTURE_DIR) / "desktop.png";
    std::system((display + "import -window " + window + " " + ShellQuote(picture.string())).c_str());
    EXPECT_TRUE(saved) << "the document does not hold the typed point; stderr: " << ReadTextFile(dir / "stderr");
    EXPECT_TRUE(fs::exists(picture));
}

TEST(DesktopDemoTest, ADisplayThatDoesNotAnswerIsRefusedWithItsName)
{
    // Display 987 has no server here: Qt would abort the program on it, the editor says why.
    const std::string command = "env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:987 " + std::string(TAVCELL_COORDINATES) +
                                " --desktop --sample 2>&1 </dev/null; echo \"status $?\"";
    const std::string output = Output(command);
    EXPECT_NE(output.find("DISPLAY=:987"), std::string::npos) << output;
    EXPECT_NE(output.find("status 2"), std::string::npos) << output;
}
