// The terminal driver's loop: paint when nothing is waiting, then wait for bytes (or for the
// pause that ends a lone ESC), decode them, and hand out one event at a time.
#define NCURSES_WIDECHAR 1
#include "frontends/tty/TtyDriver.h"

#include "frontends/tty/MessageBoxInput.h"
#include "platform/text/DisplayWidth.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/ScreenFit.h"
#include "platform/ui/TextMeasure.h"
#include "platform/ui/Wnd.h"

#include <ncursesw/curses.h>

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace tty {

namespace {

// How long a lone ESC waits for the rest of a sequence before it counts as the Escape key.
constexpr int kEscapeWaitMs = 40;

int Brightness(plat::COLORREF color) noexcept
{
    return 3 * plat::GetRValue(color) + 6 * plat::GetGValue(color) + plat::GetBValue(color);
}

} // namespace

std::unique_ptr<TtyDriver> TtyDriver::Open(std::string* error)
{
    std::unique_ptr<TerminalSession> session = TerminalSession::Open(error);
    if (!session)
        return nullptr;
    return std::unique_ptr<TtyDriver>(new TtyDriver(std::move(session)));
}

TtyDriver::TtyDriver(std::unique_ptr<TerminalSession> session)
    : m_session(std::move(session)),
      m_clipboard(ChooseClipboardCommands(), [this](std::string_view bytes) {
          if (m_session)
              m_session->WriteRaw(bytes);
      })
{
    m_colors = ::has_colors();
    m_depth = DepthForColorCount(COLORS);
    int columns = 80;
    int lines = 25;
    m_session->QuerySize(columns, lines);
    m_canvas.Resize(columns, lines);
    plat::SetClipboardBackend(&m_clipboard);
}

TtyDriver::~TtyDriver() { Close(); }

void TtyDriver::Close()
{
    if (!m_session)
        return;
    plat::SetClipboardBackend(nullptr);
    m_session->Restore();
    m_session.reset();
}

plat::SIZE TtyDriver::ScreenSize() const
{
    return {m_canvas.Columns() * plat::CellTextMeasure::kColumnWidth, m_canvas.Lines() * plat::CellTextMeasure::kLineHeight};
}

bool TtyDriver::IsKeyDown(int virtualKey) const
{
    switch (virtualKey) {
    case plat::VK_SHIFT: return m_current.shift;
    case plat::VK_CONTROL: return m_current.control;
    case plat::VK_MENU: return m_current.alt;
    default: return false;
    }
}

std::optional<plat::InputEvent> TtyDriver::NextEvent()
{
    while (m_session) {
        HandleSignals();
        if (!m_events.empty()) {
            m_current = m_events.front();
            m_events.pop_front();
            return m_current;
        }
        Show(nullptr);
        if (!Read())
            return std::nullopt;
    }
    return std::nullopt;
}

int TtyDriver::MessageBox(plat::Wnd*, const std::string& text, const std::string& caption, plat::UINT style)
{
    MessageBoxInput box(text, caption, style);
    while (m_session) {
        HandleSignals();
        if (m_events.empty()) {
            Show(&box.View());
            if (!Read())
                break;
            continue;
        }
        const plat::InputEvent event = m_events.front();
        m_events.pop_front();
        box.SetScreen(m_canvas.Columns(), m_canvas.Lines());
        if (std::optional<int> answer = box.Handle(event))
            return *answer;
    }
    return box.AnswerWithoutInput();
}

void TtyDriver::HandleSignals()
{
    if (const int signal = m_session->EndRequest())
        EndOnSignal(signal);
    if (m_session->TakeResize())
        Resized();
}

void TtyDriver::EndOnSignal(int signal)
{
    if (plat::WinApp* app = plat::GetApp())
        static_cast<void>(app->WriteRecovery());
    Close();
    // Ended by the signal that asked, as a caller waiting for the program expects.
    TerminalSession::EndBySignal(signal);
}

void TtyDriver::Resized()
{
    int columns = m_canvas.Columns();
    int lines = m_canvas.Lines();
    m_session->QuerySize(columns, lines);
    ::resizeterm(lines, columns);
    m_canvas.Resize(columns, lines);
    // After a stop the terminal was reset behind curses' back: its idea of the attributes in
    // force and of the cursor's visibility is brought back in line before all is redrawn.
    ::vidattr(A_NORMAL);
    ::curs_set(1);
    ::clearok(stdscr, TRUE);
    // A dialog's box and caption lie a cell outside its rectangle.
    plat::FitWindowsToScreen(ScreenSize(), plat::SIZE{plat::CellTextMeasure::kColumnWidth, plat::CellTextMeasure::kLineHeight});
}

bool TtyDriver::Read()
{
    if (m_inputEnded)
        return false;
    pollfd waits[2] = {{STDIN_FILENO, POLLIN, 0}, {m_session->WakeDescriptor(), POLLIN, 0}};
    const int polled = ::poll(waits, waits[1].fd >= 0 ? 2 : 1, m_decoder.Pending() ? kEscapeWaitMs : -1);
    if (polled < 0)
        return errno == EINTR; // a signal woke us
    if (waits[1].fd >= 0 && (waits[1].revents & POLLIN)) {
        m_session->DrainWake();
        return true; // the caller sees what the signal asked for
    }
    std::vector<plat::InputEvent> decoded;
    if (polled == 0) {
        m_decoder.Flush(decoded);
    } else {
        char buffer[512];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            return true;
        if (n <= 0) {
            // The terminal went away (a hangup may not even be signalled): keep the work.
            m_inputEnded = true;
            if (plat::WinApp* app = plat::GetApp())
                static_cast<void>(app->WriteRecovery());
            return false;
        }
        m_decoder.Feed(std::string_view(buffer, static_cast<std::size_t>(n)), decoded);
    }
    for (plat::InputEvent& event : decoded) {
        if (event.kind == plat::InputEvent::Kind::Click)
            event.kind = m_clicks.Classify(event.point, DoubleClickDetector::Clock::now());
        m_events.push_back(event);
    }
    return true;
}

int TtyDriver::Pair(plat::COLORREF fg, plat::COLORREF bg)
{
    if (!m_colors)
        return 0;
    const int fgColor = TerminalColor(fg, m_depth);
    const int bgColor = TerminalColor(bg, m_depth);
    const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(fgColor)) << 32) |
                              static_cast<std::uint32_t>(bgColor);
    if (auto it = m_pairs.find(key); it != m_pairs.end())
        return it->second;
    if (m_nextPair >= COLOR_PAIRS) {
        // Every pair is taken: start over; what is on screen is redrawn with the new pairs.
        m_pairs.clear();
        m_nextPair = 1;
        ::clearok(stdscr, TRUE);
    }
    const int pair = m_nextPair++;
    ::init_extended_pair(pair, fgColor, bgColor);
    m_pairs.emplace(key, pair);
    return pair;
}

void TtyDriver::Show(const plat::MessageBoxView* box)
{
    if (!m_session)
        return;
    m_renderer.Paint(m_canvas);
    if (box)
        m_renderer.PaintMessageBox(m_canvas, *box);
    Flush();
}

void TtyDriver::Flush()
{
    const int lines = std::min(m_canvas.Lines(), LINES);
    const int columns = std::min(m_canvas.Columns(), COLS);
    for (int line = 0; line < lines; ++line) {
        for (int column = 0; column < columns; ++column) {
            const plat::CanvasCell& cell = m_canvas.At(column, line);
            if (cell.IsWideTail())
                continue;
            // A wide character in the last column cannot show; a blank takes its place.
            const bool fits = column + 1 < columns || plat::CodePointWidth(cell.ch) < 2;
            const wchar_t text[2] = {fits ? static_cast<wchar_t>(cell.ch) : L' ', L'\0'};
            attr_t attributes = A_NORMAL;
            if (cell.attr & plat::CanvasCell::Underline)
                attributes |= A_UNDERLINE;
            if (cell.attr & plat::CanvasCell::Bold)
                attributes |= A_BOLD;
            // Without colours, light text on a dark ground (a highlight, a caption) shows
            // reversed, so that what is marked stays marked.
            if (!m_colors && Brightness(cell.fg) > Brightness(cell.bg))
                attributes |= A_REVERSE;
            const int pair = Pair(cell.fg, cell.bg);
            cchar_t glyph;
            ::setcchar(&glyph, text, attributes, 0, &pair);
            mvadd_wch(line, column, &glyph); // a macro in curses
        }
    }
    if (const std::optional<plat::POINT> cursor = m_canvas.GetCursor();
        cursor && cursor->x >= 0 && cursor->x < columns && cursor->y >= 0 && cursor->y < lines) {
        ::curs_set(1);
        ::move(cursor->y, cursor->x);
    } else {
        ::curs_set(0);
    }
    ::refresh();
}

} // namespace tty
