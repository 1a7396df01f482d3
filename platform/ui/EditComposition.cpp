// An edit's share of the input method: the text being composed shown at its caret, the
// finished text typed in as one replacement, and where the input method places its window.
#include "platform/ui/Controls.h"

#include "platform/text/Utf8.h"
#include "platform/ui/TextMeasure.h"

#include <algorithm>

namespace plat {

LRESULT Edit::OnComposition(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_IME_STARTCOMPOSITION:
        // What is composed takes the selection's place, as a typed character would.
        if (!IsReadOnly() && m_selStart != m_selEnd)
            DeleteRange(m_selStart, m_selEnd);
        return 0;
    case WM_IME_COMPOSITION: {
        const auto* change = reinterpret_cast<const CompositionString*>(wParam);
        if (change == nullptr || IsReadOnly())
            return 0;
        // The whole finished text at once: one change of the field, never a part of it.
        if ((lParam & GCS_RESULTSTR) != 0 && !change->result.empty())
            ReplaceSel(change->result);
        if ((lParam & GCS_COMPSTR) != 0) {
            m_composition = *change;
            m_composition.result.clear();
            int characters = 0;
            for (std::size_t pos = 0; pos < m_composition.text.size(); ++characters)
                DecodeUtf8(m_composition.text, pos);
            m_composition.caret = std::clamp(m_composition.caret, 0, characters);
        }
        Invalidate(FALSE);
        return 0;
    }
    case WM_IME_ENDCOMPOSITION:
        m_composition = CompositionString{};
        Invalidate(FALSE);
        return 0;
    case WM_IME_REQUEST: {
        auto* place = reinterpret_cast<CompositionPlace*>(lParam);
        if (wParam != IMR_QUERYCHARPOSITION || place == nullptr)
            return 0;
        const View view = GetView();
        const std::string shown = GetShownText();
        const LOGFONTA font = WindowLogFont(*this);
        const TextMeasure& measure = GetTextMeasure();
        const int x = view.textLeft + measure.OffsetOf(font, shown, ShownCaret()) - measure.OffsetOf(font, shown, view.firstShown);
        RECT client;
        GetClientRect(&client);
        const int line = measure.Metrics(font).height;
        const LONG top = client.top + std::max<LONG>(0, (client.Height() - line) / 2);
        POINT corner{client.left + x, top};
        ClientToScreen(&corner);
        place->caret = RECT{corner.x, corner.y, corner.x + 1, corner.y + line};
        place->surrounding = GetWindowText();
        place->cursor = m_selEnd;
        place->anchor = m_selStart;
        return 1;
    }
    default:
        return 0;
    }
}

} // namespace plat
