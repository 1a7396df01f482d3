// The application object of Qt and the driver, made and ended together.
#include "frontends/qt/DesktopSession.h"

#include "frontends/qt/QtDriver.h"

#include <QApplication>
#include <QGuiApplication>

#include <cstdlib>

namespace qtfe {

bool DesktopAvailable() noexcept
{
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
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
    if (!DesktopAvailable() && !std::getenv("QT_QPA_PLATFORM")) {
        if (error)
            *error = "no desktop to open a window on ($DISPLAY and $WAYLAND_DISPLAY are not set)";
        return nullptr;
    }
    return std::unique_ptr<DesktopSession>(new DesktopSession(std::make_unique<Parts>(argc, argv)));
}

plat::Driver& DesktopSession::GetDriver() noexcept { return m_parts->driver; }

} // namespace qtfe
