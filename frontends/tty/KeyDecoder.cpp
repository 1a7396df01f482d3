// The decoding of terminal input. Sequences follow what xterm and its descendants send
// (CSI and SS3 keys with the "1;m" modifier parameter, "~" editing and function keys, SGR
// mouse reports); anything unknown is dropped whole rather than leaking bytes as typing.
#include "frontends/tty/KeyDecoder.h"

#include "platform/text/Utf8.h"
#include "platform/ui/Constants.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/TextMeasure.h"

#include <charconv>

namespace tty {

using plat::InputEvent;

namespace {

// Longer parameter strings are no key this decoder knows; they are dropped, which bounds
// what a stream of garbage can make it hold.
constexpr std::size_t kMaxSequence = 32;

InputEvent Key(int virtualKey, int modifier = 1)
{
    // The xterm modifier parameter is 1 plus a bit set: 1 Shift, 2 Alt, 4 Control.
    const int bits = modifier > 1 ? modifier - 1 : 0;
    InputEvent event = InputEvent::KeyPress(virtualKey, (bits & 1) != 0, (bits & 4) != 0);
    event.alt = (bits & 2) != 0;
    return event;
}

std::vector<int> Numbers(std::string_view params)
{
    std::vector<int> numbers;
    std::size_t start = 0;
    while (start <= params.size()) {
        std::size_t end = params.find(';', start);
        if (end == std::string_view::npos)
            end = params.size();
        int value = 0;
        const std::string_view field = params.substr(start, end - start);
        if (std::from_chars(field.data(), field.data() + field.size(), value).ec != std::errc())
            value = 0; // missing or malformed: the default
        numbers.push_back(value);
        start = end + 1;
    }
    return numbers;
}

int TildeKey(int code) noexcept
{
    switch (code) {
    case 1: case 7: return plat::VK_HOME;
    case 2: return plat::VK_INSERT;
    case 3: return plat::VK_DELETE;
    case 4: case 8: return plat::VK_END;
    case 5: return plat::VK_PRIOR;
    case 6: return plat::VK_NEXT;
    case 11: case 12: case 13: case 14: case 15: return plat::VK_F1 + (code - 11);
    case 17: case 18: case 19: case 20: case 21: return plat::VK_F6 + (code - 17);
    case 23: case 24: return plat::VK_F11 + (code - 23);
    case 29: return plat::VK_APPS; // the menu key, as the console and xterm's PC keyboard send it
    default: return 0;
    }
}

int LetterKey(char final) noexcept
{
    switch (final) {
    case 'A': return plat::VK_UP;
    case 'B': return plat::VK_DOWN;
    case 'C': return plat::VK_RIGHT;
    case 'D': return plat::VK_LEFT;
    case 'H': return plat::VK_HOME;
    case 'F': return plat::VK_END;
    case 'P': return plat::VK_F1;
    case 'Q': return plat::VK_F2;
    case 'R': return plat::VK_F3;
    case 'S': return plat::VK_F4;
    default: return 0;
    }
}

} // namespace

plat::POINT KeyDecoder::CellCentre(int column, int line) noexcept
{
    return plat::POINT{column * plat::CellTextMeasure::kColumnWidth + plat::CellTextMeasure::kColumnWidth / 2, line * plat::CellTextMeasure::kLineHeight + plat::CellTextMeasure::kLineHeight / 2};
}

void KeyDecoder::Feed(std::string_view bytes, std::vector<InputEvent>& out)
{
    for (char byte : bytes)
        Byte(static_cast<unsigned char>(byte), out);
}

void KeyDecoder::Flush(std::vector<InputEvent>& out)
{
    switch (m_state) {
    case State::Escape:
        out.push_back(Key(plat::VK_ESCAPE));
        break;
    case State::Ss3: { // ESC O and nothing after: Alt+O
        InputEvent event = InputEvent::KeyPress('O', true);
        event.alt = true;
        out.push_back(event);
        break;
    }
    default:
        break; // a cut CSI sequence or character means nothing on its own
    }
    m_state = State::Ground;
    m_sequence.clear();
    m_overflow = false;
}

void KeyDecoder::Byte(unsigned char byte, std::vector<InputEvent>& out)
{
    switch (m_state) {
    case State::Ground:
        Ground(byte, out);
        return;
    case State::Escape:
        Escape(byte, out);
        return;
    case State::Utf8:
        if ((byte & 0xC0) == 0x80) {
            m_sequence.push_back(static_cast<char>(byte));
            if (--m_utf8Need == 0) {
                std::size_t pos = 0;
                const char32_t ch = plat::DecodeUtf8(m_sequence, pos);
                m_state = State::Ground;
                m_sequence.clear();
                if (ch != plat::kInvalidCodePoint)
                    out.push_back(InputEvent::Character(ch));
            }
            return;
        }
        // A character cut short: dropped, and this byte starts afresh.
        m_state = State::Ground;
        m_sequence.clear();
        Ground(byte, out);
        return;
    case State::Csi:
        if (byte >= 0x40 && byte <= 0x7E) {
            if (byte == 'M' && m_sequence.empty()) { // an X10 mouse report: three raw bytes follow
                m_state = State::X10Mouse;
                return;
            }
            m_state = State::Ground;
            if (!m_overflow)
                FinishCsi(static_cast<char>(byte), out);
            m_sequence.clear();
            m_overflow = false;
            return;
        }
        if (byte >= 0x20 && byte <= 0x3F) {
            // Too long for any key: read to its end all the same, and drop it whole.
            if (m_sequence.size() < kMaxSequence)
                m_sequence.push_back(static_cast<char>(byte));
            else
                m_overflow = true;
            return;
        }
        // Not a sequence after all: dropped; a new ESC starts again.
        m_overflow = false;
        m_state = State::Ground;
        m_sequence.clear();
        if (byte == 0x1B)
            m_state = State::Escape;
        return;
    case State::Ss3: {
        m_state = State::Ground;
        if (byte == 'M') {
            out.push_back(Key(plat::VK_RETURN));
            return;
        }
        if (const int key = LetterKey(static_cast<char>(byte)))
            out.push_back(Key(key));
        else if (byte == 0x1B)
            m_state = State::Escape;
        return;
    }
    case State::X10Mouse:
        m_sequence.push_back(static_cast<char>(byte));
        if (m_sequence.size() == 3) {
            const int button = static_cast<unsigned char>(m_sequence[0]) - 32;
            const int column = static_cast<unsigned char>(m_sequence[1]) - 33;
            const int line = static_cast<unsigned char>(m_sequence[2]) - 33;
            m_state = State::Ground;
            m_sequence.clear();
            // X10 reports a release as button 3 and does not say which button it was.
            if ((button & 3) != 3)
                Mouse(button, column, line, true, out);
        }
        return;
    }
}

void KeyDecoder::Ground(unsigned char byte, std::vector<InputEvent>& out)
{
    if (byte == 0x1B) {
        m_state = State::Escape;
        return;
    }
    if (byte == '\r' || byte == '\n') {
        out.push_back(Key(plat::VK_RETURN));
    } else if (byte == '\t') {
        out.push_back(Key(plat::VK_TAB));
    } else if (byte == 0x7F || byte == 0x08) {
        out.push_back(Key(plat::VK_BACK));
    } else if (byte >= 0x01 && byte <= 0x1A) {
        out.push_back(InputEvent::KeyPress('A' + (byte - 1), false, true)); // Ctrl+letter
    } else if (byte >= 0x20 && byte < 0x7F) {
        out.push_back(InputEvent::Character(byte));
    } else if (byte >= 0xC2 && byte <= 0xF4) {
        m_sequence.assign(1, static_cast<char>(byte));
        m_utf8Need = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : 1;
        m_state = State::Utf8;
    }
    // Anything else (NUL, stray continuation bytes, the other C0 controls) means nothing.
}

void KeyDecoder::Escape(unsigned char byte, std::vector<InputEvent>& out)
{
    m_state = State::Ground;
    if (byte == '[') {
        m_state = State::Csi;
        m_sequence.clear();
        m_overflow = false;
        return;
    }
    if (byte == 'O') {
        m_state = State::Ss3;
        return;
    }
    if (byte == 0x1B) { // Escape pressed twice: the first is a key of its own
        out.push_back(Key(plat::VK_ESCAPE));
        m_state = State::Escape;
        return;
    }
    InputEvent event;
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9')) {
        const bool upper = byte >= 'A' && byte <= 'Z';
        event = InputEvent::KeyPress(upper || (byte >= '0' && byte <= '9') ? byte : byte - 'a' + 'A', upper);
    } else if (byte == '\r') {
        event = Key(plat::VK_RETURN);
    } else if (byte == 0x7F) {
        event = Key(plat::VK_BACK);
    } else if (byte >= 0x01 && byte <= 0x1A) {
        event = InputEvent::KeyPress('A' + (byte - 1), false, true);
    } else {
        // Not Alt and a key: the ESC was a key by itself, and the byte starts afresh.
        out.push_back(Key(plat::VK_ESCAPE));
        Ground(byte, out);
        return;
    }
    event.alt = true;
    out.push_back(event);
}

void KeyDecoder::FinishCsi(char final, std::vector<InputEvent>& out)
{
    if (!m_sequence.empty() && m_sequence.front() == '<') {
        FinishSgrMouse(final, out);
        return;
    }
    if (!m_sequence.empty() && (m_sequence.front() < '0' || m_sequence.front() > ';'))
        return; // private sequences (answers to queries) are no keys
    const std::vector<int> numbers = Numbers(m_sequence);
    const int modifier = numbers.size() > 1 ? numbers[1] : 1;
    if (final == '~') {
        if (const int key = TildeKey(numbers[0]))
            out.push_back(Key(key, modifier));
        return;
    }
    if (final == 'Z') {
        out.push_back(Key(plat::VK_TAB, 2)); // Shift+Tab
        return;
    }
    if (const int key = LetterKey(final))
        out.push_back(Key(key, modifier));
}

void KeyDecoder::FinishSgrMouse(char final, std::vector<InputEvent>& out)
{
    if (final != 'M' && final != 'm')
        return;
    const std::vector<int> numbers = Numbers(std::string_view(m_sequence).substr(1));
    if (numbers.size() != 3 || numbers[1] < 1 || numbers[2] < 1)
        return;
    Mouse(numbers[0], numbers[1] - 1, numbers[2] - 1, final == 'M', out);
}

void KeyDecoder::Mouse(int button, int column, int line, bool press, std::vector<InputEvent>& out)
{
    if (button & 32) // motion: the release tells where a drag ended
        return;
    if (!press) {
        // The left button let go elsewhere than it went down: a drag after the click.
        const plat::POINT at = CellCentre(column, line);
        if ((button & 3) == 0 && m_leftDown && !(at == m_leftDownAt)) {
            InputEvent drag = InputEvent::MouseDrag(m_leftDownAt, at);
            drag.shift = (button & 4) != 0;
            drag.control = (button & 16) != 0;
            out.push_back(drag);
        }
        m_leftDown = false;
        return;
    }
    if (button & 64) { // the wheel, one notch a report
        out.push_back(InputEvent::MouseWheel(CellCentre(column, line), (button & 1) ? -plat::WHEEL_DELTA : plat::WHEEL_DELTA));
        return;
    }
    if ((button & 3) == 0) {
        m_leftDown = true;
        m_leftDownAt = CellCentre(column, line);
    }
    InputEvent event;
    switch (button & 3) {
    case 0: event = InputEvent::MouseClick(CellCentre(column, line)); break;
    case 2: event = InputEvent::MouseClick(CellCentre(column, line), InputEvent::Kind::RightClick); break;
    default: return;
    }
    event.shift = (button & 4) != 0;
    event.alt = (button & 8) != 0;
    event.control = (button & 16) != 0;
    out.push_back(event);
}

InputEvent::Kind DoubleClickDetector::Classify(plat::POINT point, Clock::time_point when) noexcept
{
    const bool twice = m_armed && point == m_last && when - m_lastTime <= m_interval;
    m_last = point;
    m_lastTime = when;
    m_armed = !twice;
    return twice ? InputEvent::Kind::DoubleClick : InputEvent::Kind::Click;
}

} // namespace tty
