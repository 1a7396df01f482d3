// The help file's reading and checking, the window that shows a topic, and the
// application's WinHelp that joins them.
#include "platform/ui/Help.h"

#include "platform/io/Files.h"
#include "platform/text/DisplayWidth.h"
#include "platform/text/Utf8.h"
#include "platform/ui/App.h"
#include "platform/ui/Gdi.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <set>

namespace plat {

namespace {

// A help file is text for people; anything larger is not one.
constexpr std::uintmax_t kMaxHelpFile = 4u << 20;

bool Fail(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
    return false;
}

std::string ContextText(std::uintptr_t context)
{
    char hex[32];
    std::snprintf(hex, sizeof hex, "0x%llX", static_cast<unsigned long long>(context));
    return std::to_string(context) + " (" + hex + ")";
}

bool ParseContext(std::string_view text, DWORD& context)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    unsigned long long value = 0;
    const auto [end, code] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (code != std::errc() || end != text.data() + text.size() || value == 0 || value > 0xFFFFFFFFull)
        return false;
    context = static_cast<DWORD>(value);
    return true;
}

} // namespace

// ---- HelpFile ----

bool HelpFile::Load(const std::filesystem::path& path, std::string* error)
{
    std::vector<std::uint8_t> bytes;
    const std::error_code code = ReadWholeFile(path, bytes, kMaxHelpFile);
    const std::string name = "ヘルプ ファイル「" + path.string() + "」";
    if (code == std::errc::no_such_file_or_directory)
        return Fail(error, name + "が見つかりません。");
    if (code == std::errc::file_too_large)
        return Fail(error, name + "は大きすぎるため読み込めません。");
    if (code)
        return Fail(error, name + "を読み込めません。\n" + code.message());
    std::string reason;
    if (!Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), &reason))
        return Fail(error, name + "は壊れています。\n" + reason);
    return true;
}

bool HelpFile::Parse(std::string_view text, std::string* error)
{
    if (!IsValidUtf8(text))
        return Fail(error, "UTF-8 の文字として読めない部分があります。");
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<HelpTopic> topics;
    std::set<DWORD> seen;
    int lineNumber = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::string where = std::to_string(lineNumber) + " 行目: ";
        if (!line.empty() && line.front() == '#')
            continue;
        if (!line.empty() && line.front() == '[') {
            const std::size_t close = line.find(']');
            HelpTopic topic;
            if (close == std::string_view::npos || !ParseContext(line.substr(1, close - 1), topic.context))
                return Fail(error, where + "見出しは [番号] 題名 の形で、番号は 1 以上の整数です。");
            if (!seen.insert(topic.context).second)
                return Fail(error, where + "番号 " + ContextText(topic.context) + " のトピックが二つあります。");
            std::string_view title = line.substr(close + 1);
            while (!title.empty() && title.front() == ' ')
                title.remove_prefix(1);
            topic.title = title;
            topics.push_back(std::move(topic));
            continue;
        }
        if (topics.empty()) {
            if (line.find_first_not_of(" \t") != std::string_view::npos)
                return Fail(error, where + "最初の見出しより前に本文があります。");
            continue;
        }
        topics.back().text.append(line).push_back('\n');
    }
    if (topics.empty())
        return Fail(error, "トピックが一つもありません。");
    for (HelpTopic& topic : topics)
        while (!topic.text.empty() && (topic.text.back() == '\n' || topic.text.back() == ' '))
            topic.text.pop_back();
    m_topics = std::move(topics);
    return true;
}

const HelpTopic* HelpFile::Find(DWORD context) const noexcept
{
    for (const HelpTopic& topic : m_topics)
        if (topic.context == context)
            return &topic;
    return nullptr;
}

// ---- HelpTextView ----

BOOL HelpTextView::Create(const RECT& rect, Wnd* parent, UINT id)
{
    return CreateEx(0, "HelpText", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect, parent, id);
}

std::vector<std::string> HelpTextView::WrappedLines() const
{
    RECT client;
    GetClientRect(&client);
    const int width = std::max(1, static_cast<int>(client.Width() / GetTextMeasure().AverageWidth(WindowLogFont(*this))) - 1);
    return WrapToWidth(GetWindowText(), width);
}

void HelpTextView::ScrollTo(int line)
{
    RECT client;
    GetClientRect(&client);
    const int rows = std::max(1, static_cast<int>(client.Height() / GetTextMeasure().LineHeight(WindowLogFont(*this))) - 1);
    const int count = static_cast<int>(WrappedLines().size());
    line = std::clamp(line, 0, std::max(0, count - rows));
    if (line != m_top) {
        m_top = line;
        Invalidate(FALSE);
    }
}

LRESULT HelpTextView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETFONT || message == WM_SETFONT)
        return Wnd::WindowProc(message, wParam, lParam); // what the measure below asks for
    RECT client;
    GetClientRect(&client);
    const FontMetrics text = GetTextMeasure().Metrics(WindowLogFont(*this));
    const int rows = std::max(1, static_cast<int>(client.Height() / text.height) - 1); // the last shows where one is
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        switch (static_cast<int>(wParam)) {
        case VK_UP: ScrollTo(m_top - 1); return 0;
        case VK_DOWN: ScrollTo(m_top + 1); return 0;
        case VK_PRIOR: ScrollTo(m_top - rows); return 0;
        case VK_NEXT: case VK_SPACE: ScrollTo(m_top + rows); return 0;
        case VK_HOME: ScrollTo(0); return 0;
        case VK_END: ScrollTo(1 << 30); return 0;
        default: return 0;
        }
    case WM_SETTEXT: {
        const LRESULT result = Wnd::WindowProc(message, wParam, lParam);
        m_top = 0;
        Invalidate(FALSE);
        return result;
    }
    case WM_PAINT: {
        PaintDC dc(this);
        dc.FillSolidRect(client, RGB(255, 255, 255));
        dc.SetTextColor(RGB(0, 0, 0));
        dc.SetBkMode(TRANSPARENT);
        const std::vector<std::string> lines = WrappedLines();
        const int count = static_cast<int>(lines.size());
        for (int row = 0; row < rows && m_top + row < count; ++row) {
            const RECT line{text.averageWidth, row * text.height, client.right, (row + 1) * text.height};
            dc.DrawText(lines[static_cast<std::size_t>(m_top + row)], line, DT_SINGLELINE);
        }
        const RECT status{0, rows * text.height, client.right, (rows + 1) * text.height};
        dc.FillSolidRect(status, RGB(192, 192, 192));
        const int last = std::min(count, m_top + rows);
        dc.DrawText(" " + std::to_string(m_top + 1) + "-" + std::to_string(last) + " / " + std::to_string(count) +
                        " 行   PgUp PgDn 上下矢印: スクロール   Esc: 閉じる",
                    status, DT_SINGLELINE);
        return 0;
    }
    default:
        return Wnd::WindowProc(message, wParam, lParam);
    }
}

// ---- HelpWindow ----

namespace {

DialogTemplate HelpTemplate(std::string title)
{
    WinApp* app = GetApp();
    const SIZE screen = app && app->GetDriver() ? app->GetDriver()->ScreenSize() : SIZE{640, 400};
    DialogTemplate t;
    t.caption = std::move(title);
    const LOGFONTA font = DialogLogFont(t);
    const FontMetrics text = GetTextMeasure().Metrics(font);
    const int columns = std::max(20, std::min(static_cast<int>(screen.cx / text.averageWidth) - 4, 78));
    const int lines = std::max(5, static_cast<int>(screen.cy / text.height) - 4);
    const SIZE units = PixelsToDialogUnits(font, SIZE{columns * text.averageWidth, lines * text.height});
    t.cx = units.cx;
    t.cy = units.cy;
    return t;
}

} // namespace

HelpWindow::HelpWindow(std::string title, std::string text, Wnd* parent)
    : Dialog(HelpTemplate(std::move(title)), parent), m_text(std::move(text))
{
}

BOOL HelpWindow::OnInitDialog()
{
    Dialog::OnInitDialog();
    RECT client;
    GetClientRect(&client);
    auto* view = new HelpTextView;
    view->SetAutoDelete(true);
    if (view->Create(client, this, kTextId)) {
        view->SetWindowText(m_text);
        view->SetFocus();
    } else {
        delete view;
    }
    return FALSE;
}

// ---- WinApp::WinHelp ----

void WinApp::WinHelp(std::uintptr_t data, UINT command)
{
    if (command == HELP_QUIT)
        return;
    Wnd* owner = GetActiveWindow();
    if (m_helpFile.empty()) {
        MessageBox(owner, "このプログラムにはヘルプ ファイルが設定されていません。", {}, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    HelpFile file;
    std::string error;
    if (!file.Load(m_helpFile, &error)) {
        MessageBox(owner, error, {}, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const HelpTopic* topic = command == HELP_CONTEXT ? file.Find(static_cast<DWORD>(data)) : &file.Topics().front();
    if (!topic) {
        HelpWindow missing("ヘルプ",
                           "ヘルプ番号 " + ContextText(data) + " のトピックは、ヘルプ ファイル「" + m_helpFile.string() +
                               "」にありません。",
                           owner);
        missing.DoModal();
        return;
    }
    HelpWindow window(topic->title, topic->text, owner);
    window.DoModal();
}

} // namespace plat
