// An edit's view of its text: what scrolls out, where the text starts, which character a
// click lands on, all under the front end's text measure.
#include "platform/ui/Controls.h"

#include "platform/text/DisplayWidth.h"
#include "platform/text/Utf8.h"
#include "platform/ui/ListView.h"
#include "platform/ui/TextMeasure.h"

#include <algorithm>

namespace plat {

namespace {

constexpr DWORD ES_PASSWORD = 0x0020;

} // namespace

std::string Edit::GetShownText() const
{
    std::string text = GetWindowText();
    if (GetStyle() & ES_PASSWORD)
        return std::string(static_cast<std::size_t>(DisplayWidth(text)), '*');
    if (!m_composition.text.empty()) {
        std::size_t at = 0;
        for (int i = 0; i < m_selEnd && at < text.size(); ++i)
            DecodeUtf8(text, at);
        text.insert(at, m_composition.text);
    }
    return text;
}

bool Edit::ShowsCaret() const
{
    Wnd* focus = Wnd::GetFocus();
    if (focus == this)
        return true;
    if (focus == nullptr || !IsWindowVisible() || dynamic_cast<Edit*>(focus) || dynamic_cast<ComboBox*>(focus) ||
        dynamic_cast<Button*>(focus) || dynamic_cast<ListBox*>(focus) || dynamic_cast<ListView*>(focus))
        return false;
    RECT over;
    RECT under;
    GetWindowRect(&over);
    focus->GetWindowRect(&under);
    return over.left >= under.left && over.right <= under.right && over.top >= under.top && over.bottom <= under.bottom;
}

Edit::View Edit::GetView() const
{
    View view;
    if (GetStyle() & ES_MULTILINE)
        return view;
    const std::string text = GetShownText();
    const LOGFONTA font = WindowLogFont(*this);
    const TextMeasure& measure = GetTextMeasure();
    RECT client;
    GetClientRect(&client);
    const int width = std::max<int>(1, client.Width());
    const int caret = measure.OffsetOf(font, text, ShownCaret());
    // The fewest characters scrolled out that leave the caret inside the edit.
    int skipped = 0;
    for (std::size_t pos = 0; pos < text.size() && caret - skipped >= width; ++view.firstShown)
        skipped += measure.Advance(font, DecodeUtf8(text, pos));
    const int total = measure.Width(font, text);
    if (skipped == 0 && total < width) {
        // A right-aligned text leaves room for the caret after it.
        if (GetStyle() & ES_RIGHT)
            view.textLeft = width - total - (ShowsCaret() ? measure.AverageWidth(font) : 0);
        else if (GetStyle() & ES_CENTER)
            view.textLeft = (width - total) / 2;
    }
    return view;
}

int Edit::CharacterFromX(int x) const
{
    const View view = GetView();
    const std::string text = GetShownText();
    std::size_t from = 0;
    for (int i = 0; i < view.firstShown && from < text.size(); ++i)
        DecodeUtf8(text, from);
    return view.firstShown +
           GetTextMeasure().CharacterAt(WindowLogFont(*this), std::string_view(text).substr(from), x - view.textLeft);
}

} // namespace plat
