// The desktop look of the window tree. Controls are drawn by the application's QStyle from
// the state their models hold; texts in the window's logical font, which is also what the
// models measured their layout with.
#include "frontends/qt/WindowPainter.h"

#include "frontends/qt/PixelReplay.h"
#include "platform/text/Utf8.h"
#include "platform/ui/ControlFrame.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Frames.h"
#include "platform/ui/Ime.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/Wnd.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace qtfe {

namespace {

constexpr plat::DWORD SS_TYPEMASK = 0x1F;
constexpr plat::DWORD SS_NOPREFIX = 0x0080;
constexpr int kBarPadding = 6;

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QStyle& Style() { return *QApplication::style(); }

// The byte offset of the character numbered index.
std::size_t ByteOfCharacter(std::string_view text, int index)
{
    std::size_t pos = 0;
    for (int i = 0; i < index && pos < text.size(); ++i)
        static_cast<void>(plat::DecodeUtf8(text, pos));
    return pos;
}

bool IsFocus(const plat::Wnd& wnd) { return plat::Wnd::GetFocus() == &wnd; }

} // namespace

std::vector<BarItem> LayOutBar(const plat::Wnd& frame, const QtTextMeasure& measure)
{
    std::vector<BarItem> items;
    plat::Menu* bar = frame.GetMenu();
    if (!bar)
        return items;
    const plat::LOGFONTA font = plat::DefaultLogFont();
    const int height = measure.LineHeight(font);
    int x = 2;
    for (int i = 0; i < bar->GetMenuItemCount(); ++i) {
        plat::MenuItemInfo item;
        if (!plat::GetMenuItem(bar->GetSafeHmenu(), i, item) || item.IsSeparator())
            continue;
        const int width = measure.Width(font, plat::StripMnemonic(item.text)) + 2 * kBarPadding;
        items.push_back(BarItem{i, QRect(x, 0, width, height), item.text});
        x += width;
    }
    return items;
}

int ComboBoxHeight(const plat::Wnd& combo, const QtTextMeasure& measure)
{
    // A dialog's combo box is as tall as its open list: the box itself is one line.
    plat::RECT rect;
    combo.GetWindowRect(&rect);
    return std::min<int>(rect.Height(), measure.Find(plat::WindowLogFont(combo)).summary.height + 8);
}

const QtTextMeasure::Entry& WindowPainter::FontOf(const plat::Wnd& wnd) const { return m_measure.Find(plat::WindowLogFont(wnd)); }

void WindowPainter::Paint(QPainter& painter, plat::Wnd& top, int highlight, const QRegion* area)
{
    plat::RECT screen;
    top.GetWindowRect(&screen);
    m_origin = QPoint(screen.left, screen.top);
    m_highlight = highlight;
    const QRect all(0, 0, screen.Width(), screen.Height());
    m_area = area ? area->intersected(all) : QRegion(all);
    painter.setClipRegion(m_area);
    painter.fillRect(all, QApplication::palette().color(QPalette::Window));
    PaintWindow(painter, top, all);
}

QRect WindowPainter::Place(const plat::Wnd& wnd) const
{
    plat::RECT screen;
    wnd.GetWindowRect(&screen);
    return QRect(screen.left - m_origin.x(), screen.top - m_origin.y(), screen.Width(), screen.Height());
}

void WindowPainter::PaintWindow(QPainter& painter, plat::Wnd& wnd, const QRect& clip)
{
    const QRect rect = Place(wnd);
    const QRect own = rect.intersected(clip);
    if (own.isEmpty() || !m_area.intersects(own))
        return;
    painter.save();
    painter.setClipRect(own, Qt::IntersectClip);
    auto* button = dynamic_cast<plat::Button*>(&wnd);
    const bool standardButton = button && !(button->GetButtonStyle() == plat::BS_OWNERDRAW && !wnd.GetDrawing().empty());
    const QPalette palette = QApplication::palette();
    if (dynamic_cast<plat::FrameWnd*>(&wnd))
        PaintFrame(painter, wnd, rect);
    else if (dynamic_cast<plat::PropertySheet*>(&wnd)) {
        painter.fillRect(rect, palette.color(QPalette::Window));
        PaintSheetTabs(painter, wnd);
    } else if (dynamic_cast<plat::Dialog*>(&wnd))
        painter.fillRect(rect, palette.color(QPalette::Window));
    else if (standardButton)
        PaintButton(painter, wnd, rect);
    else if (dynamic_cast<plat::Edit*>(&wnd))
        PaintEdit(painter, wnd, rect);
    else if (dynamic_cast<plat::ComboBox*>(&wnd))
        PaintComboBox(painter, wnd, rect);
    else if (dynamic_cast<plat::ListBox*>(&wnd))
        PaintListBox(painter, wnd, rect);
    else if (dynamic_cast<plat::ListView*>(&wnd))
        PaintListView(painter, wnd, rect);
    else if (dynamic_cast<plat::ProgressCtrl*>(&wnd))
        PaintProgress(painter, wnd, rect);
    else if (dynamic_cast<plat::Static*>(&wnd))
        PaintStatic(painter, wnd, rect);
    else
        PaintRecorded(painter, wnd, own);
    painter.restore();

    // Bottom of the z-order first, so that the topmost child ends up in front.
    const std::vector<plat::Wnd*>& children = wnd.GetChildren();
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if (plat::IsWindow(*it) && ((*it)->GetStyle() & plat::WS_VISIBLE))
            PaintWindow(painter, **it, own);
}

void WindowPainter::PaintFrame(QPainter& painter, plat::Wnd& wnd, const QRect& rect)
{
    const QPalette palette = QApplication::palette();
    painter.fillRect(rect, palette.color(QPalette::Window));
    const plat::LOGFONTA logFont = plat::DefaultLogFont();
    const QtTextMeasure::Entry& font = m_measure.Find(logFont);
    const int line = m_measure.LineHeight(logFont);
    painter.setFont(font.font);
    for (const BarItem& item : LayOutBar(wnd, m_measure)) {
        const QRect place = item.rect.translated(rect.topLeft());
        const bool open = item.position == m_highlight;
        if (open)
            painter.fillRect(place, palette.color(QPalette::Highlight));
        painter.setPen(palette.color(open ? QPalette::HighlightedText : QPalette::WindowText));
        painter.drawText(place, Qt::AlignCenter | Qt::TextShowMnemonic, ToQString(item.label));
    }
    if (rect.height() < 2 * line)
        return;
    // The status line: the prompt at the left, the indicators and the input method's state
    // at the right.
    QRect status(rect.left(), rect.bottom() + 1 - line, rect.width(), line);
    painter.setPen(palette.color(QPalette::Mid));
    painter.drawLine(status.topLeft(), status.topRight());
    painter.setPen(palette.color(QPalette::WindowText));
    QRect text = status.adjusted(4, 0, -4, 0);
    plat::Wnd* focus = plat::Wnd::GetFocus();
    if (focus && (focus == &wnd || wnd.IsChild(focus)))
        if (const plat::InputContext* ime = plat::FindInputContext(focus)) {
            const QString mark = ime->open ? QStringLiteral("あ") : QStringLiteral("A");
            const QRect box(text.right() - line, text.top(), line, line);
            painter.drawRect(box.adjusted(0, 1, -1, -1));
            painter.drawText(box, Qt::AlignCenter, mark);
            text.setRight(box.left() - 8);
        }
    if (auto* frame = dynamic_cast<plat::FrameWnd*>(&wnd)) {
        const QString indicators = ToQString(frame->GetIndicatorText());
        const int indicatorsWidth = m_measure.Width(logFont, frame->GetIndicatorText());
        painter.drawText(text, Qt::AlignRight | Qt::AlignVCenter, indicators);
        text.setRight(text.right() - indicatorsWidth - (indicators.isEmpty() ? 0 : 12));
        painter.save();
        painter.setClipRect(text, Qt::IntersectClip);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, ToQString(frame->GetMessageText()));
        painter.restore();
    }
}

void WindowPainter::PaintSheetTabs(QPainter& painter, plat::Wnd& wnd)
{
    auto& sheet = static_cast<plat::PropertySheet&>(wnd);
    const QPalette palette = QApplication::palette();
    painter.setFont(FontOf(wnd).font);
    for (int i = 0; i < sheet.GetPageCount(); ++i) {
        plat::RECT tab = sheet.GetTabRect(i);
        sheet.ClientToScreen(&tab);
        const QRect place(tab.left - m_origin.x(), tab.top - m_origin.y(), tab.Width(), tab.Height());
        const bool selected = i == sheet.GetActiveIndex();
        QStyleOptionTab option;
        option.rect = selected ? place : place.adjusted(0, 2, 0, 0);
        option.text = ToQString(sheet.GetPage(i)->GetCaption());
        option.shape = QTabBar::RoundedNorth;
        option.state = QStyle::State_Enabled | (selected ? QStyle::State_Selected : QStyle::State_None);
        if (selected && plat::Wnd::GetFocus() == &wnd)
            option.state |= QStyle::State_HasFocus;
        option.palette = palette;
        option.fontMetrics = FontOf(wnd).metrics;
        // The caption is drawn whole in the tab the sheet measured for it; the style's own
        // label would lose it to its padding in a narrow tab.
        Style().drawControl(QStyle::CE_TabBarTabShape, &option, &painter, nullptr);
        painter.setPen(palette.color(QPalette::WindowText));
        painter.drawText(option.rect, Qt::AlignCenter | Qt::TextShowMnemonic, option.text);
    }
}

void WindowPainter::PaintStatic(QPainter& painter, plat::Wnd& wnd, const QRect& rect)
{
    const plat::DWORD style = wnd.GetStyle();
    const QPalette palette = QApplication::palette();
    if ((style & SS_TYPEMASK) == plat::SS_ETCHEDHORZ) {
        const int y = rect.center().y();
        painter.setPen(palette.color(QPalette::Mid));
        painter.drawLine(rect.left(), y, rect.right(), y);
        painter.setPen(palette.color(QPalette::Light));
        painter.drawLine(rect.left(), y + 1, rect.right(), y + 1);
        return;
    }
    int flags = (style & SS_NOPREFIX) ? 0 : Qt::TextShowMnemonic;
    const plat::DWORD align = style & SS_TYPEMASK;
    flags |= align == plat::SS_CENTER ? Qt::AlignHCenter : align == plat::SS_RIGHT ? Qt::AlignRight : Qt::AlignLeft;
    const QtTextMeasure::Entry& font = FontOf(wnd);
    flags |= rect.height() < 2 * font.summary.height ? Qt::AlignVCenter : (Qt::AlignTop | Qt::TextWordWrap);
    painter.setFont(font.font);
    painter.setPen(palette.color(wnd.IsWindowEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(rect, flags, ToQString(wnd.GetWindowText()));
}

void WindowPainter::PaintButton(QPainter& painter, plat::Wnd& wnd, const QRect& rect)
{
    auto& button = static_cast<plat::Button&>(wnd);
    const QPalette palette = QApplication::palette();
    const QtTextMeasure::Entry& font = FontOf(wnd);
    painter.setFont(font.font);
    QStyleOptionButton option;
    option.palette = palette;
    option.fontMetrics = font.metrics;
    option.rect = rect;
    option.text = ToQString(wnd.GetWindowText());
    option.state = QStyle::State_None;
    if (wnd.IsWindowEnabled())
        option.state |= QStyle::State_Enabled;
    else
        option.palette.setCurrentColorGroup(QPalette::Disabled);
    if (IsFocus(wnd))
        option.state |= QStyle::State_HasFocus;
    const plat::UINT kind = button.GetButtonStyle();
    switch (kind) {
    case plat::BS_GROUPBOX: {
        // An etched frame whose top edge passes through the middle of the caption.
        const int half = font.summary.height / 2;
        const QRect frame = rect.adjusted(0, half, -1, -1);
        painter.setPen(palette.color(QPalette::Mid));
        painter.drawRect(frame);
        painter.setPen(palette.color(QPalette::Light));
        painter.drawRect(frame.translated(1, 1));
        const int width = m_measure.Width(plat::WindowLogFont(wnd), plat::StripMnemonic(wnd.GetWindowText()));
        if (width > 0) {
            const QRect label(rect.left() + 8, rect.top(), width + 6, font.summary.height);
            painter.fillRect(label, palette.color(QPalette::Window));
            painter.setPen(palette.color(wnd.IsWindowEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
            painter.drawText(label, Qt::AlignCenter | Qt::TextShowMnemonic, option.text);
        }
        return;
    }
    case plat::BS_CHECKBOX:
    case plat::BS_AUTOCHECKBOX:
    case plat::BS_3STATE:
    case plat::BS_AUTO3STATE:
    case plat::BS_RADIOBUTTON:
    case plat::BS_AUTORADIOBUTTON: {
        const bool radio = kind == plat::BS_RADIOBUTTON || kind == plat::BS_AUTORADIOBUTTON;
        const int check = button.GetCheck();
        option.state |= check == plat::BST_CHECKED ? QStyle::State_On
                        : check == plat::BST_INDETERMINATE ? QStyle::State_NoChange
                                                           : QStyle::State_Off;
        Style().drawControl(radio ? QStyle::CE_RadioButton : QStyle::CE_CheckBox, &option, &painter, nullptr);
        return;
    }
    default:
        option.state |= QStyle::State_Raised;
        if (kind == plat::BS_DEFPUSHBUTTON || IsFocus(wnd))
            option.features |= QStyleOptionButton::DefaultButton;
        Style().drawControl(QStyle::CE_PushButton, &option, &painter, nullptr);
        return;
    }
}

void WindowPainter::PaintEdit(QPainter& painter, plat::Wnd& wnd, const QRect& rect)
{
    auto& edit = static_cast<plat::Edit&>(wnd);
    const QPalette palette = QApplication::palette();
    const bool enabled = wnd.IsWindowEnabled();
    const bool focused = edit.ShowsCaret();
    const QColor base = palette.color(enabled && !edit.IsReadOnly() ? QPalette::Base : QPalette::Window);
    painter.fillRect(rect, base);
    QStyleOptionFrame frame;
    frame.rect = rect;
    frame.palette = palette;
    frame.lineWidth = 1;
    frame.state = QStyle::State_Sunken | (enabled ? QStyle::State_Enabled : QStyle::State_None) |
                  (IsFocus(wnd) ? QStyle::State_HasFocus : QStyle::State_None);
    // A dialog's edits are framed; a grid's in-place editor lies inside its cell's own lines.
    if (wnd.GetStyle() & plat::WS_BORDER || wnd.GetExStyle() & plat::WS_EX_CLIENTEDGE || dynamic_cast<plat::Dialog*>(wnd.GetParent()))
        Style().drawPrimitive(QStyle::PE_FrameLineEdit, &frame, &painter, nullptr);

    const plat::LOGFONTA logFont = plat::WindowLogFont(wnd);
    const QtTextMeasure::Entry& font = m_measure.Find(logFont);
    painter.setFont(font.font);
    const QColor text = enabled ? ToQColor(edit.TextColor(plat::RGB(0, 0, 0))) : palette.color(QPalette::Disabled, QPalette::Text);
    const std::string shown = edit.GetShownText();
    if (wnd.GetStyle() & plat::ES_MULTILINE) {
        painter.setPen(text);
        painter.drawText(rect.adjusted(2, 1, -2, -1), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, ToQString(shown));
        return;
    }
    const plat::Edit::View view = edit.GetView();
    const int lineTop = rect.top() + std::max(0, (rect.height() - font.summary.height) / 2);
    const int firstX = m_measure.OffsetOf(logFont, shown, view.firstShown);
    auto xOf = [&](int index) { return rect.left() + view.textLeft + m_measure.OffsetOf(logFont, shown, index) - firstX; };
    int selStart = 0;
    int selEnd = 0;
    edit.GetSel(selStart, selEnd);
    painter.save();
    painter.setClipRect(rect.adjusted(1, 1, -1, -1), Qt::IntersectClip);
    // The composition at the caret: underlined, the segment being converted on a tint of the
    // highlight and underlined thicker, as desktop text fields show it.
    const plat::CompositionString& composition = edit.GetComposition();
    const auto composed = static_cast<int>(composition.attributes.size());
    for (int i = 0; i < composed; ++i)
        if (composition.attributes[static_cast<std::size_t>(i)] == plat::ATTR_TARGET_CONVERTED) {
            QColor tint = palette.color(QPalette::Highlight);
            tint.setAlpha(70);
            painter.fillRect(QRect(xOf(selEnd + i), lineTop, xOf(selEnd + i + 1) - xOf(selEnd + i), font.summary.height), tint);
        }
    if (focused && selEnd > selStart) {
        const int from = xOf(std::max(selStart, view.firstShown));
        painter.fillRect(QRect(from, lineTop, xOf(selEnd) - from, font.summary.height), palette.color(QPalette::Highlight));
    }
    const std::size_t firstByte = ByteOfCharacter(shown, view.firstShown);
    painter.setPen(text);
    painter.drawText(QPoint(xOf(view.firstShown), lineTop + font.summary.ascent), ToQString(std::string_view(shown).substr(firstByte)));
    if (focused && selEnd > selStart) {
        // Selected characters drawn again in the highlight's text colour, over its fill.
        const std::size_t from = ByteOfCharacter(shown, std::max(selStart, view.firstShown));
        const std::size_t to = ByteOfCharacter(shown, selEnd);
        painter.setPen(palette.color(QPalette::HighlightedText));
        painter.drawText(QPoint(xOf(std::max(selStart, view.firstShown)), lineTop + font.summary.ascent),
                         ToQString(std::string_view(shown).substr(from, to - from)));
    }
    // Under the baseline, kept inside the editor, whose last rows the cell's line may take.
    const int underline = std::min(lineTop + font.summary.ascent + 2, rect.bottom() - 2);
    for (int start = 0, end = 0; start < composed; start = end) {
        const plat::BYTE kind = composition.attributes[static_cast<std::size_t>(start)];
        while (end < composed && composition.attributes[static_cast<std::size_t>(end)] == kind)
            ++end;
        // A pixel's gap at each end keeps the segments apart.
        const bool target = kind == plat::ATTR_TARGET_CONVERTED;
        const int left = xOf(selEnd + start) + 1;
        painter.fillRect(QRect(left, underline - (target ? 1 : 0), xOf(selEnd + end) - 1 - left, target ? 2 : 1), text);
    }
    if (focused) {
        const int caret = xOf(edit.ShownCaret());
        painter.setPen(palette.color(QPalette::Text));
        painter.drawLine(caret, lineTop, caret, lineTop + font.summary.height - 1);
    }
    painter.restore();
}

void WindowPainter::PaintComboBox(QPainter& painter, plat::Wnd& wnd, const QRect& rect)
{
    auto& combo = static_cast<plat::ComboBox&>(wnd);
    const QtTextMeasure::Entry& font = FontOf(wnd);
    const QRect box(rect.topLeft(), QSize(rect.width(), ComboBoxHeight(wnd, m_measure)));
    painter.setFont(font.font);
    QStyleOptionComboBox option;
    option.rect = box;
    option.palette = QApplication::palette();
    option.fontMetrics = font.metrics;
    option.editable = !combo.IsDropDownList();
    option.currentText = ToQString(wnd.GetWindowText());
    option.state = (wnd.IsWindowEnabled() ? QStyle::State_Enabled : QStyle::State_None) |
                   (IsFocus(wnd) ? QStyle::State_HasFocus : QStyle::State_None);
    option.subControls = QStyle::SC_All;
    if (!wnd.IsWindowEnabled())
        option.palette.setCurrentColorGroup(QPalette::Disabled);
    Style().drawComplexControl(QStyle::CC_ComboBox, &option, &painter, nullptr);
    Style().drawControl(QStyle::CE_ComboBoxLabel, &option, &painter, nullptr);
}

void WindowPainter::PaintListBox(QPainter& painter, plat::Wnd& wnd, const QRect& rect)
{
    auto& list = static_cast<plat::ListBox&>(wnd);
    const QPalette palette = QApplication::palette();
    const QtTextMeasure::Entry& font = FontOf(wnd);
    painter.fillRect(rect, palette.color(QPalette::Base));
    painter.setFont(font.font);
    const plat::RECT inside = plat::ControlInterior(wnd);
    const QRect interior(rect.left() + inside.left, rect.top() + inside.top, inside.Width(), inside.Height());
    painter.save();
    painter.setClipRect(interior, Qt::IntersectClip);
    // Rows where the list hit-tests clicks.
    const int sel = list.GetCurSel();
    for (int i = list.GetTopIndex(); i < list.GetCount(); ++i) {
        const plat::RECT place = list.GetItemRect(i);
        const QRect row(rect.left() + place.left, rect.top() + place.top, place.Width(), place.Height());
        if (row.top() > interior.bottom())
            break;
        const bool selected = i == sel;
        if (selected)
            painter.fillRect(row, palette.color(QPalette::Highlight));
        painter.setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter.drawText(row.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, ToQString(list.GetText(i)));
    }
    painter.restore();
    if (plat::HasControlFrame(wnd)) {
        painter.setPen(palette.color(IsFocus(wnd) ? QPalette::Highlight : QPalette::Mid));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

void WindowPainter::PaintListView(QPainter& painter, plat::Wnd& wnd, const QRect& rect)
{
    auto& view = static_cast<plat::ListView&>(wnd);
    const QPalette palette = QApplication::palette();
    const QtTextMeasure::Entry& font = FontOf(wnd);
    painter.fillRect(rect, palette.color(QPalette::Base));
    painter.setFont(font.font);
    const bool report = (wnd.GetStyle() & plat::LVS_TYPEMASK) == plat::LVS_REPORT;
    struct Column {
        int left;
        int right;
        int format;
    };
    std::vector<Column> columns;
    const plat::RECT inside = plat::ControlInterior(wnd);
    const QRect interior(rect.left() + inside.left, rect.top() + inside.top, inside.Width(), inside.Height());
    painter.save();
    painter.setClipRect(interior, Qt::IntersectClip);
    int x = interior.left();
    const int columnCount = report ? std::max(1, view.GetColumnCount()) : 1;
    for (int i = 0; i < columnCount; ++i) {
        const plat::ListViewColumn* column = report ? view.GetColumn(i) : nullptr;
        const int width = column && column->width > 0 ? column->width : std::max(0, interior.right() + 1 - x);
        columns.push_back(Column{x, x + width, column ? column->format : plat::LVCFMT_LEFT});
        x += width;
    }
    auto alignOf = [](int format) {
        return format == plat::LVCFMT_RIGHT ? Qt::AlignRight : format == plat::LVCFMT_CENTER ? Qt::AlignHCenter : Qt::AlignLeft;
    };
    if (report && !(wnd.GetStyle() & plat::LVS_NOCOLUMNHEADER)) {
        for (int i = 0; i < view.GetColumnCount(); ++i) {
            QStyleOptionHeader header;
            header.rect = QRect(columns[static_cast<std::size_t>(i)].left, interior.top(),
                                columns[static_cast<std::size_t>(i)].right - columns[static_cast<std::size_t>(i)].left, view.RowHeight());
            header.text = ToQString(view.GetColumn(i)->heading);
            header.textAlignment = alignOf(columns[static_cast<std::size_t>(i)].format) | Qt::AlignVCenter;
            header.palette = palette;
            header.state = QStyle::State_Enabled | QStyle::State_Raised;
            header.fontMetrics = font.metrics;
            Style().drawControl(QStyle::CE_Header, &header, &painter, nullptr);
        }
    }
    const int focus = view.GetNextItem(-1, plat::LVNI_FOCUSED);
    for (int item = view.GetTopIndex(); item < view.GetItemCount(); ++item) {
        const plat::RECT place = view.GetItemRect(item);
        const QRect row(rect.left() + place.left, rect.top() + place.top, place.Width(), place.Height());
        if (row.top() > interior.bottom())
            break;
        const bool selected = (view.GetItemState(item, plat::LVIS_SELECTED) & plat::LVIS_SELECTED) != 0;
        if (selected)
            painter.fillRect(row, palette.color(QPalette::Highlight));
        painter.setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const QRect cell(columns[i].left + 4, row.top(), columns[i].right - columns[i].left - 8, row.height());
            painter.drawText(cell, alignOf(columns[i].format) | Qt::AlignVCenter, ToQString(view.GetItemText(item, static_cast<int>(i))));
        }
        if (item == focus && IsFocus(wnd)) {
            painter.setPen(QPen(palette.color(QPalette::Text), 1, Qt::DotLine));
            painter.drawRect(row.adjusted(0, 0, -1, -1));
        }
    }
    painter.restore();
    if (plat::HasControlFrame(wnd)) {
        painter.setPen(palette.color(IsFocus(wnd) ? QPalette::Highlight : QPalette::Mid));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

void WindowPainter::PaintProgress(QPainter& painter, plat::Wnd& wnd, const QRect& rect)
{
    auto& progress = static_cast<plat::ProgressCtrl&>(wnd);
    int low = 0;
    int high = 0;
    progress.GetRange(low, high);
    QStyleOptionProgressBar option;
    option.rect = rect;
    option.palette = QApplication::palette();
    option.minimum = low;
    option.maximum = std::max(low + 1, high);
    option.progress = progress.GetPos();
    option.state = QStyle::State_Enabled | QStyle::State_Horizontal;
    Style().drawControl(QStyle::CE_ProgressBar, &option, &painter, nullptr);
}

void WindowPainter::PaintRecorded(QPainter& painter, plat::Wnd& wnd, const QRect& clip)
{
    plat::POINT origin;
    wnd.ClientToScreen(&origin);
    PixelReplay replay(painter, m_measure, QPoint(origin.x, origin.y) - m_origin, clip, &m_area);
    plat::Replay(wnd.GetDrawing(), replay);
}

} // namespace qtfe
