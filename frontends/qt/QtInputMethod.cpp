// Qt's input method queries answered from the platform's window with the focus, and Qt's
// composition events turned into the platform's.
#include "frontends/qt/QtInputMethod.h"

#include "frontends/qt/WindowWidget.h"
#include "platform/ui/Wnd.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QWindow>
#include <QRect>
#include <QTextCharFormat>

#include <algorithm>

namespace qtfe {

namespace {

// Characters (code points) in the first `units` UTF-16 units of a text.
int Characters(const QString& text, int units) { return static_cast<int>(text.left(units).toUcs4().size()); }

// UTF-16 units of the first `characters` characters of a text.
int Units(const QString& text, int characters)
{
    int units = 0;
    for (int i = 0; i < characters && units < text.size(); ++i)
        units += text.at(units).isHighSurrogate() && units + 1 < text.size() ? 2 : 1;
    return units;
}

plat::Wnd* FocusIn(const WindowWidget& widget)
{
    plat::Wnd* top = widget.GetWnd();
    plat::Wnd* focus = plat::Wnd::GetFocus();
    if (top == nullptr || !plat::IsWindow(top) || !plat::IsWindow(focus))
        return nullptr;
    return focus == top || top->IsChild(focus) ? focus : nullptr;
}

} // namespace

QVariant AnswerInputMethodQuery(const WindowWidget& widget, Qt::InputMethodQuery query)
{
    plat::Wnd* focus = FocusIn(widget);
    if (query == Qt::ImEnabled)
        return focus != nullptr && plat::TakesComposition(focus);
    if (focus == nullptr)
        return {};
    switch (query) {
    case Qt::ImCursorRectangle: {
        const plat::RECT caret = plat::QueryCompositionPlace(*focus).caret;
        return QRect(widget.FromScreen(plat::POINT{caret.left, caret.top}), QSize(std::max<int>(1, caret.Width()), caret.Height()));
    }
    case Qt::ImSurroundingText:
        return QString::fromStdString(plat::QueryCompositionPlace(*focus).surrounding);
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition: {
        const plat::CompositionPlace place = plat::QueryCompositionPlace(*focus);
        return Units(QString::fromStdString(place.surrounding), query == Qt::ImCursorPosition ? place.cursor : place.anchor);
    }
    case Qt::ImHints: return static_cast<int>(Qt::ImhNone);
    default: return {};
    }
}

void TellInputMethod(std::optional<bool>& composes)
{
    auto* widget = dynamic_cast<WindowWidget*>(QGuiApplication::focusObject());
    if (widget == nullptr)
        return;
    const bool now = AnswerInputMethodQuery(*widget, Qt::ImEnabled).toBool();
    if (composes != now) {
        composes = now;
        // Qt lets an input method start on a widget only when the focus moves to it; a cell
        // that takes composed text after one that took none is such a move for the person.
        if (QWindow* window = widget->window()->windowHandle())
            emit window->focusObjectChanged(widget);
    }
    QGuiApplication::inputMethod()->update(Qt::ImQueryAll);
}

plat::CompositionString CompositionOf(const QInputMethodEvent& event)
{
    plat::CompositionString change;
    const QString preedit = event.preeditString();
    change.text = preedit.toStdString();
    change.result = event.commitString().toStdString();
    const int length = static_cast<int>(preedit.toUcs4().size());
    change.caret = length;
    change.attributes.assign(static_cast<std::size_t>(length), plat::ATTR_INPUT);
    for (const QInputMethodEvent::Attribute& attribute : event.attributes()) {
        if (attribute.type == QInputMethodEvent::Cursor) {
            change.caret = Characters(preedit, attribute.start);
        } else if (attribute.type == QInputMethodEvent::TextFormat) {
            // Input methods mark the segment being converted with a background of its own;
            // the rest of the composition is only underlined.
            const QTextCharFormat format = attribute.value.value<QTextFormat>().toCharFormat();
            if (format.background().style() == Qt::NoBrush)
                continue;
            const int from = Characters(preedit, attribute.start);
            const int to = std::min(length, Characters(preedit, attribute.start + attribute.length));
            for (int i = std::max(0, from); i < to; ++i)
                change.attributes[static_cast<std::size_t>(i)] = plat::ATTR_TARGET_CONVERTED;
        }
    }
    return change;
}

} // namespace qtfe
