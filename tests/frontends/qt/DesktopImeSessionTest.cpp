// The editor with a real input method: Mozc through ibus, on an X server and a D-Bus session
// the test starts for itself with a home of its own (a fresh user dictionary), keys typed by
// xdotool. Every process it starts, and every one they start, carries a mark in its
// environment by which the test ends them all, however it ends.
#include "platform/text/CodePage.h"
#include "tests/frontends/tty/TmuxSession.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using tavtest::ShellQuote;

namespace {

constexpr const char* kMozcEngine = "/usr/lib/ibus-mozc/ibus-engine-mozc";
constexpr const char* kMemoryConfig = "/usr/libexec/ibus-memconf";

bool Have(const std::string& program) { return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0; }

std::string Output(const std::string& command)
{
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        ::pclose(pipe);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' '))
        out.pop_back();
    return out;
}

// Asks again every 100 ms until the answer is yes or the time is up.
bool WaitFor(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(30))
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

// Mozc will not work for root: a test run as root runs the session as nobody.
constexpr const char* kNobody = "65534";

// A folder with a home, the environment every process of the session gets, and the ending
// of all of them.
class Session {
public:
    explicit Session(bool asNobody) : m_dir(fs::temp_directory_path() / ("tavcell-ime-" + std::to_string(::getpid())))
    {
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "home" / ".config" / "mozc");
        fs::create_directories(m_dir / "run");
        fs::permissions(m_dir / "run", fs::perms::owner_all);
        const std::string home = (m_dir / "home").string();
        if (asNobody) {
            static_cast<void>(std::system(("chown -R " + std::string(kNobody) + ":" + kNobody + " " + ShellQuote(m_dir.string())).c_str()));
            m_user = std::string("setpriv --reuid=") + kNobody + " --regid=" + kNobody + " --clear-groups ";
        }
        m_env = "env TAVCELL_IME_SESSION=" + ShellQuote(m_dir.string()) + " HOME=" + ShellQuote(home) +
                " XDG_CONFIG_HOME=" + ShellQuote(home + "/.config") + " XDG_CACHE_HOME=" + ShellQuote(home + "/.cache") +
                " XDG_DATA_HOME=" + ShellQuote(home + "/.local/share") + " XDG_RUNTIME_DIR=" + ShellQuote((m_dir / "run").string()) +
                " DBUS_SESSION_BUS_ADDRESS=unix:path=" + ShellQuote((m_dir / "bus").string()) +
                " IBUS_ADDRESS=unix:path=" + ShellQuote((m_dir / "ibus").string()) + " NO_AT_BRIDGE=1 ";
    }
    ~Session()
    {
        EndAll();
        std::error_code error;
        fs::remove_all(m_dir, error);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    [[nodiscard]] const fs::path& Dir() const noexcept { return m_dir; }
    void SetDisplay(const std::string& number) { m_env += "DISPLAY=:" + number + " "; }
    // A command line run in the session's environment, as its user.
    [[nodiscard]] std::string In(const std::string& command) const { return m_user + m_env + command; }
    // A file of the session, written as its user could.
    void Write(const fs::path& name, const std::string& text) const
    {
        std::ofstream(m_dir / name) << text;
        if (!m_user.empty())
            static_cast<void>(std::system(("chown " + std::string(kNobody) + " " + ShellQuote((m_dir / name).string())).c_str()));
    }
    void Start(const std::string& command, const std::string& log)
    {
        const std::string line = "exec " + In(command) + " >" + ShellQuote((m_dir / log).string()) + " 2>&1";
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setpgid(0, 0);
            ::execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        m_started.push_back(pid);
    }
    [[nodiscard]] std::string Log(const std::string& name) const { return tavtest::ReadTextFile(m_dir / name); }

private:
    // Every process whose environment holds the session's mark: the ones started here and
    // whatever they started (the engine, the conversion server, the panel).
    [[nodiscard]] std::vector<pid_t> Marked() const
    {
        const std::string mark = "TAVCELL_IME_SESSION=" + m_dir.string();
        std::vector<pid_t> found;
        for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
            const std::string name = entry.path().filename().string();
            if (name.find_first_not_of("0123456789") != std::string::npos || std::stoi(name) == ::getpid())
                continue;
            std::ifstream in(entry.path() / "environ", std::ios::binary);
            std::string variable;
            while (std::getline(in, variable, '\0'))
                if (variable == mark) {
                    found.push_back(static_cast<pid_t>(std::stoi(name)));
                    break;
                }
        }
        return found;
    }
    void EndAll()
    {
        for (int signal : {SIGTERM, SIGKILL}) {
            for (pid_t pid : Marked())
                ::kill(pid, signal);
            for (pid_t pid : m_started)
                ::kill(pid, signal);
            WaitFor([this] {
                for (pid_t pid : m_started)
                    ::waitpid(pid, nullptr, WNOHANG);
                return Marked().empty();
            }, std::chrono::seconds(5));
        }
        for (pid_t pid : m_started)
            ::waitpid(pid, nullptr, WNOHANG);
    }

    fs::path m_dir;
    std::string m_user;
    std::string m_env;
    std::vector<pid_t> m_started;
};

// The CSV line of the exported document that holds a text, converted from the narrow code page.
std::string ExportedLineWith(const Session& session, const fs::path& document, const std::string& text)
{
    const fs::path csv = session.Dir() / "export.csv";
    fs::remove(csv);
    if (std::system((std::string(TAVCELL_COORDINATES) + " --export " + ShellQuote(document.string()) + " " + ShellQuote(csv.string()) +
                     " >/dev/null 2>&1").c_str()) != 0)
        return {};
    std::istringstream lines(plat::NarrowToUtf8Replacing(tavtest::ReadTextFile(csv)));
    for (std::string line; std::getline(lines, line);)
        if (line.find(text) != std::string::npos)
            return line;
    return {};
}

// CI asks for the whole test (TAVCELL_IME_REQUIRED=1): there, a machine that cannot run it
// fails rather than skips.
bool Required() { return std::getenv("TAVCELL_IME_REQUIRED") != nullptr; }

#define IME_UNAVAILABLE(why)                                                                                                               \
    do {                                                                                                                                   \
        if (Required())                                                                                                                    \
            FAIL() << why;                                                                                                                 \
        GTEST_SKIP() << why;                                                                                                               \
    } while (false)

} // namespace

TEST(DesktopImeSessionTest, MozcComposesANameInItsCellAndLeavesTheXColumnToDigits)
{
    for (const char* program : {"Xvfb", "xdotool", "import", "dbus-daemon", "ibus-daemon", "ibus"})
        if (!Have(program))
            IME_UNAVAILABLE(program << " is not installed (./run setup installs it)");
    for (const char* file : {kMozcEngine, kMemoryConfig})
        if (!fs::exists(file))
            IME_UNAVAILABLE(file << " is not there: ibus or ibus-mozc is not installed (./run setup installs them)");

    const bool asNobody = ::getuid() == 0;
    if (asNobody && !Have("setpriv"))
        IME_UNAVAILABLE("Mozc does not run for root, and setpriv (util-linux) is missing to run the session as nobody");
    Session session(asNobody);
    session.Start("Xvfb -displayfd 3 -screen 0 1100x760x24 -nolisten tcp 3>" + ShellQuote((session.Dir() / "display").string()), "xvfb.log");
    std::string number;
    ASSERT_TRUE(WaitFor([&] { return !(number = Output("cat " + ShellQuote((session.Dir() / "display").string()) + " 2>/dev/null")).empty(); }))
        << "Xvfb did not start: " << session.Log("xvfb.log");
    session.SetDisplay(number);

    session.Start("dbus-daemon --session --nofork --address=unix:path=" + ShellQuote((session.Dir() / "bus").string()), "dbus.log");
    if (!WaitFor([&] { return fs::exists(session.Dir() / "bus"); }))
        IME_UNAVAILABLE("ibus cannot start: its D-Bus session did not start: " << session.Log("dbus.log"));
    // Mozc in hiragana from the first key, as a person who types Japanese keeps it.
    session.Write(fs::path("home") / ".config" / "mozc" / "ibus_config.textproto",
                  "engines {\n  name: \"mozc-jp\"\n  longname: \"Mozc\"\n  layout: \"default\"\n  layout_variant: \"\"\n"
                  "  layout_option: \"\"\n  rank: 80\n}\nactive_on_launch: True\n");
    session.Start("ibus-daemon --verbose --config=" + std::string(kMemoryConfig) + " --address=unix:path=" +
                      ShellQuote((session.Dir() / "ibus").string()),
                  "ibus.log");
    if (!WaitFor([&] { return Output(session.In("ibus list-engine 2>/dev/null")).find("mozc-jp") != std::string::npos; }))
        IME_UNAVAILABLE("ibus cannot start, or does not list the Mozc engine: " << session.Log("ibus.log"));

    // The engine of every input context from now on (the command's own status also counts
    // a keyboard layout it cannot set on a bare X server, hence the asking back).
    if (!WaitFor([&] {
            static_cast<void>(std::system(session.In("ibus engine mozc-jp >/dev/null 2>&1").c_str()));
            return Output(session.In("ibus engine 2>/dev/null")) == "mozc-jp";
        }))
        IME_UNAVAILABLE("ibus does not take Mozc as its engine: " << session.Log("ibus.log"));

    const fs::path document = session.Dir() / "survey.tav";
    session.Start("QT_IM_MODULE=ibus TAVCELL_REGISTRY=" + ShellQuote((session.Dir() / "registry.sqlite3").string()) + " " +
                      TAVCELL_COORDINATES + " --sample " + ShellQuote(document.string()),
                  "editor.log");
    const std::string window = Output(session.In("timeout 20 xdotool search --sync --onlyvisible --name '座標一覧' | head -n 1"));
    ASSERT_FALSE(window.empty()) << "no window appeared: " << session.Log("editor.log");
    const std::string keys = session.In("xdotool windowfocus --sync " + window + " ");
    // The name cell of a new point after the last one; the input method composes there.
    ASSERT_EQ(std::system((keys + "key --delay 100 ctrl+End Down Home Right").c_str()), 0);

    // What shows on the screen, to see the composition come and settle.
    const fs::path shot = session.Dir() / "screen.png";
    auto screen = [&] {
        std::system(session.In("import -window root " + ShellQuote(shot.string()) + " 2>/dev/null").c_str());
        return tavtest::ReadTextFile(shot);
    };
    auto settled = [&](const std::string& before) {
        std::string last = screen();
        return WaitFor([&] {
            const std::string now = screen();
            const bool steady = now == last && now != before;
            last = now;
            return steady;
        });
    };
    auto visibleWindows = [&] { return Output(session.In("xdotool search --onlyvisible --name '' 2>/dev/null | sort")); };

    const std::string blank = screen();
    const std::string windowsAtFirst = visibleWindows();
    ASSERT_EQ(std::system((keys + "type --delay 120 toukyou").c_str()), 0);
    EXPECT_TRUE(WaitFor([&] { return visibleWindows() != windowsAtFirst; }))
        << "Mozc's suggestions never showed in the name column; editor: " << session.Log("editor.log");
    // The picture: the composition in its cell, Mozc's window at its caret.
    EXPECT_TRUE(settled(blank)) << "the composition never showed";
    fs::copy_file(shot, fs::path(TAVCELL_PICTURE_DIR) / "ime.png", fs::copy_options::overwrite_existing);
    const std::string composing = screen();
    ASSERT_EQ(std::system((keys + "key space").c_str()), 0);
    EXPECT_TRUE(settled(composing)) << "the conversion never showed";
    // Return takes the conversion and stays in the cell; the next one stores it.
    ASSERT_EQ(std::system((keys + "key --delay 300 Return Return").c_str()), 0);

    // The X cell of the same point: the input method, in hiragana, must not compose digits.
    ASSERT_EQ(std::system((keys + "key --delay 100 Home Right Right").c_str()), 0);
    const std::string windowsBefore = visibleWindows();
    const std::string beforeDigits = screen();
    ASSERT_EQ(std::system((keys + "type --delay 120 123").c_str()), 0);
    settled(beforeDigits);
    EXPECT_EQ(visibleWindows(), windowsBefore) << "no candidate window may open over a numeric column";
    ASSERT_EQ(std::system((keys + "key --delay 200 Return ctrl+s").c_str()), 0);

    std::string line;
    EXPECT_TRUE(WaitFor([&] { return !(line = ExportedLineWith(session, document, "東京")).empty(); }))
        << "the saved document holds no 東京; editor: " << session.Log("editor.log") << "\nibus: " << session.Log("ibus.log");
    EXPECT_NE(line.find(",東京,123,"), std::string::npos) << "the point's name and X: " << line;
}
