// The desktop front end for programs that do not otherwise use Qt: opens the desktop
// connection and the driver in one step, so that a program chooses between the terminal and
// the desktop without including any Qt header.
#pragma once

#include "platform/ui/App.h"

#include <memory>
#include <string>

namespace qtfe {

// Whether a desktop answers to open windows on ($DISPLAY or $WAYLAND_DISPLAY; a display on
// another host is taken on trust).
[[nodiscard]] bool DesktopAvailable() noexcept;

class DesktopSession {
public:
    // Connects to the desktop; null, with the reason, when it cannot. argc and argv must
    // outlive the session (Qt keeps them).
    [[nodiscard]] static std::unique_ptr<DesktopSession> Open(int& argc, char** argv, std::string* error);
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    [[nodiscard]] plat::Driver& GetDriver() noexcept;

private:
    struct Parts;
    explicit DesktopSession(std::unique_ptr<Parts> parts);
    std::unique_ptr<Parts> m_parts;
};

} // namespace qtfe
