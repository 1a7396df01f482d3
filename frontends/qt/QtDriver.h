// The desktop driver: shows each top-level window of the platform's tree as a window of the
// desktop (with its owner, a modal one blocking the rest), paints them in pixels, turns the
// desktop's keys, mouse and wheel into the platform's input events, measures text with real
// fonts, shows message boxes and menus as the desktop's own, and reaches the desktop
// clipboard. A QApplication must exist before it and outlive it.
#pragma once

#include "frontends/qt/QtFonts.h"
#include "frontends/qt/WindowPainter.h"
#include "platform/ui/App.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Wnd.h"

#include <QPointer>
#include <QSize>

#include <deque>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class QMenu;
class QObject;
class QWidget;

namespace qtfe {

class DropListPopup;
class WindowWidget;

class QtDriver final : public plat::Driver {
public:
    // initialSize: what the main window opens at, kept inside the screen's free area.
    explicit QtDriver(QSize initialSize = QSize(1024, 720));
    ~QtDriver() override;
    QtDriver(const QtDriver&) = delete;
    QtDriver& operator=(const QtDriver&) = delete;

    std::optional<plat::InputEvent> NextEvent() override;
    int MessageBox(plat::Wnd* owner, const std::string& text, const std::string& caption, plat::UINT style) override;
    [[nodiscard]] bool IsKeyDown(int virtualKey) const override;
    void WindowChanged(plat::Wnd& wnd) override;
    void WaitCursorChanged(bool shown) override;
    void CursorChanged(int cursorId) override;
    [[nodiscard]] plat::SIZE ScreenSize() const override;
    [[nodiscard]] int LogPixels() const override;
    [[nodiscard]] const plat::TextMeasure& GetTextMeasure() const override { return m_measure; }
    // A framed control's one-pixel line.
    [[nodiscard]] plat::SIZE ControlFrameEdge() const override { return {1, 1}; }
    [[nodiscard]] std::optional<plat::LOGFONTA> DesktopGuiFont() const override { return m_guiFont; }
    plat::UINT TrackPopupMenu(plat::MenuTag* menu, plat::UINT flags, plat::POINT screen, plat::Wnd& target) override;
    void TrackMenuBar(plat::Wnd& frame, int openPosition) override;
    [[nodiscard]] bool InputMethodOpenAtStart() const override { return true; }
    void CompositionEnded(plat::Wnd& wnd) override;
    // True while the input method is told to forget a composition the program ended.
    [[nodiscard]] bool EndingComposition() const noexcept { return m_endingComposition > 0; }

    // What the window widgets hand in. Input waits for the next NextEvent, or, when no loop
    // of the platform's runs (a host's own event loop), is dispatched as soon as Qt's loop
    // comes round.
    void Post(const plat::InputEvent& event);
    // The mouse moved over a widget with no button held; only the latest move waits.
    void PostMove(WindowWidget& widget, plat::POINT screen);
    void RequestMenuBar(plat::Wnd& frame, int position);
    void RequestResize(plat::Wnd& top, QSize size);
    void RequestClose(plat::Wnd& top);
    // An embedded pane's widget took Qt's focus (take) or gave it to a host's widget: the
    // pane's windows take the keyboard back where it was, or give it up.
    void RequestPaneFocus(plat::Wnd& pane, bool take);
    // A row of a combo box's open list was clicked: it is chosen and the list closes.
    void RequestListPick(plat::Wnd& combo, int row);

    // Brings the desktop windows in line with the tree (made, shown, sized, titled, hidden,
    // removed) after the update pass, and repaints them.
    void Refresh();
    // Dispatches every event and posted message waiting, then shows the result.
    void PumpWaiting();

    // A top-level window that a host's widget shows instead of a desktop window of its own.
    void AttachEmbedded(plat::Wnd& top, WindowWidget& widget);
    void DetachEmbedded(plat::Wnd& top);

    // The widget showing a top-level window, or null.
    [[nodiscard]] WindowWidget* WidgetOf(const plat::Wnd& top) const;
    [[nodiscard]] const QtTextMeasure& Measure() const noexcept { return m_measure; }
    [[nodiscard]] WindowPainter& Painter() noexcept { return m_painter; }
    // The pop-up showing a combo box's open list, or null.
    [[nodiscard]] DropListPopup* DropListOf(const plat::Wnd& combo) const;
    // The bar item shown open in a frame's menu bar (-1: none).
    [[nodiscard]] int BarHighlight(const plat::Wnd& frame) const noexcept { return &frame == m_barFrame ? m_barHighlight : -1; }

private:
    class Clipboard;
    struct PendingResize {
        plat::Wnd* top;
        QSize size;
    };

    void ApplyRequests();
    void ShowWindow(plat::Wnd& top);
    void FillMenu(QMenu& qmenu, plat::MenuTag* menu, plat::Wnd& target, int positionInParent);
    void RepaintAll();
    void ShowDropLists();
    [[nodiscard]] QWidget* OwnerWidget(const plat::Wnd* owner) const;
    void ScheduleDispatch();

    QtTextMeasure m_measure;
    plat::LOGFONTA m_guiFont;
    WindowPainter m_painter{m_measure};
    std::unique_ptr<Clipboard> m_clipboard;
    // What scheduled dispatches hang on: they go with the driver.
    std::unique_ptr<QObject> m_timers;
    // The widget the mouse last moved over: the cursor windows ask for is shown on it.
    QPointer<WindowWidget> m_underMouse;
    QSize m_initialSize;
    std::deque<plat::InputEvent> m_events;
    plat::InputEvent m_current;
    std::unordered_map<const plat::Wnd*, std::unique_ptr<WindowWidget>> m_windows;
    std::unordered_map<const plat::Wnd*, WindowWidget*> m_embedded;
    // Owned by the widgets they open from.
    std::unordered_map<const plat::Wnd*, QPointer<DropListPopup>> m_dropLists;
    std::optional<std::pair<plat::WndRef, int>> m_listPick;
    std::vector<PendingResize> m_resizes;
    std::vector<plat::Wnd*> m_closes;
    std::vector<std::pair<plat::WndRef, bool>> m_paneFocus;
    // Where the focus was in each embedded pane when a host's widget took it.
    std::unordered_map<const plat::Wnd*, plat::WndRef> m_paneFocusBefore;
    std::optional<std::pair<plat::Wnd*, int>> m_barRequest;
    const plat::Wnd* m_barFrame = nullptr;
    int m_barHighlight = -1;
    int m_waiting = 0;      // NextEvent waits in Qt's loop
    int m_pumping = 0;      // PumpWaiting runs
    int m_endingComposition = 0;
    std::optional<bool> m_composes; // what the input method was last told of the focus
    bool m_ownLoop = false; // a loop of the platform's (WinApp::Run) takes the events
    bool m_dispatchScheduled = false;
    bool m_dirty = true;
};

} // namespace qtfe
