// The application object of Qt and the driver, made and ended together.
#include "frontends/qt/DesktopSession.h"

#include "frontends/qt/QtDriver.h"

#include <QApplication>
#include <QGuiApplication>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace qtfe {

namespace {

// Whether a local stream socket accepts a connection; abstract names start with '@'.
bool Accepts(std::string_view path) noexcept
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    if (path.front() == '@')
        address.sun_path[0] = '\0';
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    const socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size());
    const bool accepted = ::connect(socket, reinterpret_cast<const sockaddr*>(&address), length) == 0;
    ::close(socket);
    return accepted;
}

// Qt ends the process when the display it is given does not answer, so the display is tried
// first. Only local displays are tried: one on another host (forwarded over ssh, say) is
// taken on trust.
bool X11Answers(std::string_view display) noexcept
{
    const size_t colon = display.rfind(':');
    if (colon == std::string_view::npos)
        return false;
    const std::string_view host = display.substr(0, colon);
    if (!host.empty() && host != "unix")
        return true;
    std::string_view number = display.substr(colon + 1);
    number = number.substr(0, number.find('.'));
    if (number.empty() || number.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    const std::string socket = "/tmp/.X11-unix/X" + std::string(number);
    return Accepts("@" + socket) || Accepts(socket);
}

bool WaylandAnswers(std::string_view display) noexcept
{
    if (display.front() == '/')
        return Accepts(display);
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime && *runtime && Accepts(std::string(runtime) + "/" + std::string(display));
}

std::string_view Variable(const char* name) noexcept
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

bool DesktopAvailable() noexcept
{
    const std::string_view x11 = Variable("DISPLAY");
    const std::string_view wayland = Variable("WAYLAND_DISPLAY");
    return (!x11.empty() && X11Answers(x11)) || (!wayland.empty() && WaylandAnswers(wayland));
}

struct DesktopSession::Parts {
    QApplication application;
    QtDriver driver;
    Parts(int& argc, char** argv) : application(argc, argv) {}
};

DesktopSession::DesktopSession(std::unique_ptr<Parts> parts) : m_parts(std::move(parts)) {}

DesktopSession::~DesktopSession() = default;

std::unique_ptr<DesktopSession> DesktopSession::Open(int& argc, char** argv, std::string* error)
{
    // A platform named by the person (offscreen, say) needs no display.
    const std::string_view platform = Variable("QT_QPA_PLATFORM");
    const bool needsDisplay = platform.empty() || platform.starts_with("xcb") || platform.starts_with("wayland");
    if (needsDisplay && !DesktopAvailable()) {
        if (error) {
            const std::string_view x11 = Variable("DISPLAY");
            const std::string_view wayland = Variable("WAYLAND_DISPLAY");
            if (x11.empty() && wayland.empty())
                *error = "no desktop to open a window on ($DISPLAY and $WAYLAND_DISPLAY are not set)";
            else
                *error = "the desktop does not answer (DISPLAY=" + std::string(x11) + ", WAYLAND_DISPLAY=" +
                         std::string(wayland) + ")";
        }
        return nullptr;
    }
    return std::unique_ptr<DesktopSession>(new DesktopSession(std::make_unique<Parts>(argc, argv)));
}

plat::Driver& DesktopSession::GetDriver() noexcept { return m_parts->driver; }

} // namespace qtfe
