// The desktop's input method and the platform's windows: what the input method asks of the
// window with the keys (may it compose, where is the caret, what text is around it), and
// Qt's composition events as the platform's changes of a composition.
#pragma once

#include "platform/ui/Ime.h"

#include <QVariant>

#include <optional>

class QInputMethodEvent;

namespace qtfe {

class WindowWidget;

// The answer to QWidget::inputMethodQuery for a widget showing a top-level window; an invalid
// QVariant where the widget's own answer stands.
[[nodiscard]] QVariant AnswerInputMethodQuery(const WindowWidget& widget, Qt::InputMethodQuery query);

// The preedit and commit strings of the event, the caret and the segment being converted
// counted in characters, as the platform counts them.
[[nodiscard]] plat::CompositionString CompositionOf(const QInputMethodEvent& event);

// After the platform's windows changed: when the focus is on a window widget, the input
// method asks again where the caret is and whether it may compose. `composes` keeps what it
// was told last, as only a change must reach it as a change of focus.
void TellInputMethod(std::optional<bool>& composes);

} // namespace qtfe
