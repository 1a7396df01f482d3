// Help: a help file in a plain UTF-8 form that a program ships, topics keyed by their context
// number, and the window that shows one topic and scrolls through it.
//
// The file: lines "[context] title" begin topics, where context is a decimal or 0x-prefixed
// hexadecimal number; the lines after a head are its text; lines that begin with '#' are
// comments. Nothing but comments and blank lines may come before the first topic.
#pragma once

#include "platform/ui/Dialog.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// WinHelp commands.
inline constexpr UINT HELP_CONTEXT = 0x0001;
inline constexpr UINT HELP_QUIT = 0x0002;
inline constexpr UINT HELP_CONTENTS = 0x0003;
inline constexpr UINT HELP_FINDER = 0x000B;

struct HelpTopic {
    DWORD context = 0;
    std::string title;
    std::string text;
};

class HelpFile {
public:
    // Reads and checks a whole file; false, with what is wrong in error, when the file is
    // missing, unreadable or damaged (then nothing of it is kept).
    bool Load(const std::filesystem::path& path, std::string* error);
    bool Parse(std::string_view text, std::string* error);
    [[nodiscard]] const HelpTopic* Find(DWORD context) const noexcept;
    [[nodiscard]] const std::vector<HelpTopic>& Topics() const noexcept { return m_topics; }

private:
    std::vector<HelpTopic> m_topics;
};

// The text of a topic in a window of its own: arrows, Page Up and Down, Home and End scroll.
class HelpTextView : public Wnd {
public:
    BOOL Create(const RECT& rect, Wnd* parent, UINT id);
    // The lines as they fit the width now.
    [[nodiscard]] std::vector<std::string> WrappedLines() const;
    [[nodiscard]] int GetTopLine() const noexcept { return m_top; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ScrollTo(int line);
    int m_top = 0;
};

// A modal window showing a topic; Escape closes it.
class HelpWindow : public Dialog {
public:
    static constexpr UINT kTextId = 100;
    HelpWindow(std::string title, std::string text, Wnd* parent);
    BOOL OnInitDialog() override;

private:
    std::string m_text;
};

} // namespace plat
