// What the desktop tests share: the one offscreen Qt application of a test program, and the
// shell helpers of the tests that start an X server and programs of their own.
#pragma once

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

namespace tavtest {

// The offscreen application every test of the program uses. Never destroyed: at exit Qt's own
// statics (the test's pointing device) go first.
inline QApplication& OffscreenApplication()
{
    static int argc = 1;
    static char name[] = "frontends_qt_tests";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication* application = qApp != nullptr ? qApp : new QApplication(argc, argv);
    return *application;
}

inline bool Have(const std::string& program) { return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0; }

// The standard output of a shell command, without its trailing newline.
inline std::string Output(const std::string& command)
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
inline bool WaitFor(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(30))
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

} // namespace tavtest
