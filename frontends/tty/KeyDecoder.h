// Turns the bytes a terminal sends into input events: characters in UTF-8, control keys,
// escape sequences of the cursor, editing and function keys with their modifiers, Alt+key
// as ESC and the key, and SGR mouse reports. A small state machine that takes any bytes,
// never throws, and keeps no more than one short sequence pending.
#pragma once

#include "platform/ui/App.h"

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace tty {

class KeyDecoder {
public:
    // Decodes the bytes; finished events are appended to out. A sequence cut between two
    // reads continues with the next.
    void Feed(std::string_view bytes, std::vector<plat::InputEvent>& out);
    // The input paused: what is pending is taken as typed (a lone ESC is the Escape key).
    void Flush(std::vector<plat::InputEvent>& out);
    // A sequence is unfinished, so a pause is worth waiting for.
    [[nodiscard]] bool Pending() const noexcept { return m_state != State::Ground; }

    // The screen point of a cell's middle, in the pixels of the window system.
    [[nodiscard]] static plat::POINT CellCentre(int column, int line) noexcept;

private:
    enum class State { Ground, Escape, Csi, Ss3, Utf8, X10Mouse };
    void Byte(unsigned char byte, std::vector<plat::InputEvent>& out);
    void Ground(unsigned char byte, std::vector<plat::InputEvent>& out);
    void Escape(unsigned char byte, std::vector<plat::InputEvent>& out);
    void FinishCsi(char final, std::vector<plat::InputEvent>& out);
    void FinishSgrMouse(char final, std::vector<plat::InputEvent>& out);
    void Mouse(int button, int column, int line, bool press, std::vector<plat::InputEvent>& out);

    State m_state = State::Ground;
    std::string m_sequence; // parameters of a CSI sequence, bytes of a UTF-8 character
    std::size_t m_utf8Need = 0;
    bool m_overflow = false; // the CSI sequence outgrew every known key
    bool m_leftDown = false;  // where the left button went down, for telling a drag
    plat::POINT m_leftDownAt{};
};

// Tells a double click from two clicks: the second press on the same cell within the
// interval is a double click; a third starts over.
class DoubleClickDetector {
public:
    using Clock = std::chrono::steady_clock;
    explicit DoubleClickDetector(std::chrono::milliseconds interval = std::chrono::milliseconds(400))
        : m_interval(interval) {}
    [[nodiscard]] plat::InputEvent::Kind Classify(plat::POINT point, Clock::time_point when) noexcept;

private:
    std::chrono::milliseconds m_interval;
    plat::POINT m_last{-1, -1};
    Clock::time_point m_lastTime{};
    bool m_armed = false;
};

} // namespace tty
