// The desktop driver's loop: requests the widgets handed in are carried out between events,
// at points where the platform's windows may change; painting only reads the tree.
#include "frontends/qt/QtDriver.h"

#include "frontends/qt/DropListPopup.h"
#include "frontends/qt/QtInputMethod.h"
#include "frontends/qt/WindowWidget.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Ime.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/UpdatePass.h"
#include "platform/ui/Wnd.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputMethod>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <unordered_set>

namespace qtfe {

namespace {

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Left and Right in a menu bar's open menu move to the neighbouring menu, as on the bar.
class BarKeys final : public QObject {
public:
    int step = 0;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* menu = static_cast<QMenu*>(watched);
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool onSubMenu = menu->activeAction() && menu->activeAction()->menu();
        if (key == Qt::Key_Left || (key == Qt::Key_Right && !onSubMenu)) {
            step = key == Qt::Key_Left ? -1 : 1;
            menu->close();
            return true;
        }
        return false;
    }
};

} // namespace

class QtDriver::Clipboard final : public plat::ClipboardBackend {
public:
    void SetText(std::string_view text) override { QGuiApplication::clipboard()->setText(ToQString(text)); }
    std::optional<std::string> GetText() override { return QGuiApplication::clipboard()->text().toStdString(); }
};

QtDriver::QtDriver(QSize initialSize)
    : m_guiFont(DesktopLogFont()), m_clipboard(std::make_unique<Clipboard>()), m_timers(std::make_unique<QObject>()), m_initialSize(initialSize)
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    plat::SetClipboardBackend(m_clipboard.get());
}

QtDriver::~QtDriver()
{
    plat::SetClipboardBackend(nullptr);
    for (auto& [wnd, widget] : m_windows)
        widget->Forget();
}

plat::SIZE QtDriver::ScreenSize() const
{
    QSize size = m_initialSize;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize());
    return plat::SIZE{size.width(), size.height()};
}

int QtDriver::LogPixels() const
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? std::max(1, qRound(screen->logicalDotsPerInch())) : plat::kScreenDpi;
}

bool QtDriver::IsKeyDown(int virtualKey) const
{
    switch (virtualKey) {
    case plat::VK_SHIFT: return m_current.shift;
    case plat::VK_CONTROL: return m_current.control;
    case plat::VK_MENU: return m_current.alt;
    default: return false;
    }
}

void QtDriver::WindowChanged(plat::Wnd&) { m_dirty = true; }

void QtDriver::WaitCursorChanged(bool shown)
{
    if (shown)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void QtDriver::CursorChanged(int cursorId)
{
    if (!m_underMouse)
        return;
    switch (cursorId) {
    case plat::IDC_SIZEWE: m_underMouse->setCursor(Qt::SplitHCursor); break;
    case plat::IDC_IBEAM: m_underMouse->setCursor(Qt::IBeamCursor); break;
    case plat::IDC_WAIT: m_underMouse->setCursor(Qt::WaitCursor); break;
    default: m_underMouse->unsetCursor(); break;
    }
}

void QtDriver::PostMove(WindowWidget& widget, plat::POINT screen)
{
    if (m_underMouse != &widget) {
        // The cursor asked for over another window does not come along.
        if (m_underMouse)
            m_underMouse->unsetCursor();
        m_underMouse = &widget;
        plat::SetCursor(plat::IDC_ARROW);
    }
    if (!m_events.empty() && m_events.back().kind == plat::InputEvent::Kind::Move)
        m_events.pop_back();
    Post(plat::InputEvent::MouseMove(screen));
}

void QtDriver::Post(const plat::InputEvent& event)
{
    m_events.push_back(event);
    ScheduleDispatch();
}

void QtDriver::RequestMenuBar(plat::Wnd& frame, int position)
{
    m_barRequest = std::make_pair(&frame, position);
    ScheduleDispatch();
}

void QtDriver::RequestResize(plat::Wnd& top, QSize size)
{
    plat::RECT rect;
    top.GetWindowRect(&rect);
    if (rect.Width() == size.width() && rect.Height() == size.height())
        return;
    m_resizes.push_back(PendingResize{&top, size});
    ScheduleDispatch();
}

void QtDriver::RequestClose(plat::Wnd& top)
{
    m_closes.push_back(&top);
    ScheduleDispatch();
}

void QtDriver::RequestPaneFocus(plat::Wnd& pane, bool take)
{
    m_paneFocus.emplace_back(&pane, take);
    ScheduleDispatch();
}

void QtDriver::RequestListPick(plat::Wnd& combo, int row)
{
    m_listPick = std::make_pair(plat::WndRef(&combo), row);
    ScheduleDispatch();
}

DropListPopup* QtDriver::DropListOf(const plat::Wnd& combo) const
{
    auto it = m_dropLists.find(&combo);
    return it != m_dropLists.end() ? it->second.data() : nullptr;
}

void QtDriver::ScheduleDispatch()
{
    // Under the platform's own loop the events wait for NextEvent; under a host's loop they
    // are dispatched as soon as Qt's loop comes round, never from inside a Qt event handler.
    if (m_ownLoop || m_pumping > 0 || m_waiting > 0 || m_dispatchScheduled)
        return;
    m_dispatchScheduled = true;
    QTimer::singleShot(0, m_timers.get(), [this] {
        m_dispatchScheduled = false;
        PumpWaiting();
    });
}

void QtDriver::PumpWaiting()
{
    ++m_pumping;
    ApplyRequests();
    while (!m_events.empty()) {
        plat::PumpMessage(*this);
        ApplyRequests();
    }
    while (plat::DispatchOnePostedMessage()) {
    }
    --m_pumping;
    Refresh();
}

void QtDriver::ApplyRequests()
{
    std::vector<PendingResize> resizes;
    resizes.swap(m_resizes);
    for (const PendingResize& resize : resizes)
        if (plat::IsWindow(resize.top)) {
            plat::RECT rect;
            resize.top->GetWindowRect(&rect);
            resize.top->MoveWindow(rect.left, rect.top, resize.size.width(), resize.size.height());
            m_dirty = true;
        }
    std::vector<plat::Wnd*> closes;
    closes.swap(m_closes);
    for (plat::Wnd* top : closes)
        if (plat::IsWindow(top) && top->IsWindowEnabled())
            top->SendMessage(plat::WM_CLOSE);
    if (m_listPick) {
        const auto [combo, row] = *m_listPick;
        m_listPick.reset();
        if (auto* box = dynamic_cast<plat::ComboBox*>(combo.Get()); box && box->GetDroppedState()) {
            box->UserSelect(row);
            if (plat::IsWindow(box))
                box->ShowDropDown(false);
            m_dirty = true;
        }
    }
    std::vector<std::pair<plat::WndRef, bool>> focusChanges;
    focusChanges.swap(m_paneFocus);
    for (const auto& [pane, take] : focusChanges) {
        if (!plat::IsWindow(pane))
            continue;
        plat::Wnd* before = m_paneFocusBefore[pane.Get()];
        if (take) {
            const bool within = plat::Wnd::GetFocus() == pane.Get() || pane->IsChild(plat::Wnd::GetFocus());
            if (!within)
                (before && pane->IsChild(before) && before->IsWindowVisible() && before->IsWindowEnabled() ? before : pane.Get())->SetFocus();
        } else if (plat::Wnd* focus = plat::Wnd::GetFocus(); focus == pane.Get() || pane->IsChild(focus)) {
            m_paneFocusBefore[pane.Get()] = focus;
            pane->DropFocusWithin();
        }
        m_dirty = true;
    }
    if (m_barRequest) {
        const auto [frame, position] = *m_barRequest;
        m_barRequest.reset();
        // A composition goes into its cell before the menu's command can act on the cell.
        plat::CompleteComposition();
        if (plat::IsWindow(frame))
            TrackMenuBar(*frame, position);
    }
}

void QtDriver::CompositionEnded(plat::Wnd&)
{
    ++m_endingComposition;
    QGuiApplication::inputMethod()->reset();
    --m_endingComposition;
}

std::optional<plat::InputEvent> QtDriver::NextEvent()
{
    if (m_pumping == 0)
        m_ownLoop = true;
    for (;;) {
        ApplyRequests();
        if (!m_events.empty()) {
            m_current = m_events.front();
            m_events.pop_front();
            // A move only asks which cursor to show; what it changes, it invalidates.
            if (m_current.kind != plat::InputEvent::Kind::Move)
                m_dirty = true;
            return m_current;
        }
        if (QCoreApplication::closingDown())
            return std::nullopt;
        Refresh();
        ++m_waiting;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
        --m_waiting;
    }
}

void QtDriver::AttachEmbedded(plat::Wnd& top, WindowWidget& widget)
{
    m_embedded[&top] = &widget;
    m_dirty = true;
}

void QtDriver::DetachEmbedded(plat::Wnd& top)
{
    m_embedded.erase(&top);
    m_paneFocusBefore.erase(&top);
}

WindowWidget* QtDriver::WidgetOf(const plat::Wnd& top) const
{
    if (auto it = m_embedded.find(&top); it != m_embedded.end())
        return it->second;
    auto it = m_windows.find(&top);
    return it != m_windows.end() ? it->second.get() : nullptr;
}

QWidget* QtDriver::OwnerWidget(const plat::Wnd* owner) const
{
    if (!owner || !plat::IsWindow(owner))
        return nullptr;
    if (WindowWidget* widget = WidgetOf(*owner->GetTopLevelParent()))
        return widget->window();
    return nullptr;
}

void QtDriver::Refresh()
{
    if (!m_dirty)
        return;
    m_dirty = false;
    plat::UpdateWindows();
    std::unordered_set<const plat::Wnd*> shown;
    for (plat::Wnd* top : plat::Wnd::GetTopLevelWindows())
        if (plat::IsWindow(top) && top->IsWindowVisible() && !m_embedded.count(top)) {
            ShowWindow(*top);
            shown.insert(top);
        }
    for (auto it = m_windows.begin(); it != m_windows.end();) {
        if (shown.count(it->first)) {
            ++it;
            continue;
        }
        // Hidden or gone: the desktop window goes once Qt's loop is back to where it can.
        WindowWidget* widget = it->second.release();
        widget->Forget();
        widget->hide();
        widget->deleteLater();
        it = m_windows.erase(it);
    }
    RepaintAll();
    ShowDropLists();
    // The caret may have moved, the grid scrolled or the window changed size, the cell under
    // the caret may take composed text or not: the input method asks again.
    TellInputMethod(m_composes);
}

void QtDriver::ShowDropLists()
{
    std::unordered_map<plat::Wnd*, WindowWidget*> open;
    const auto find = [&open](WindowWidget* widget) {
        plat::Wnd* top = widget ? widget->GetWnd() : nullptr;
        if (!top || !plat::IsWindow(top) || !top->IsWindowVisible())
            return;
        top->ForEachDescendant([&](plat::Wnd& wnd) {
            auto* combo = dynamic_cast<plat::ComboBox*>(&wnd);
            if (combo && combo->GetDroppedState() && combo->IsWindowVisible())
                open.emplace(combo, widget);
        });
    };
    for (auto& [top, widget] : m_windows)
        find(widget.get());
    for (auto& [top, widget] : m_embedded)
        find(widget);
    for (auto it = m_dropLists.begin(); it != m_dropLists.end();) {
        if (it->second && open.count(const_cast<plat::Wnd*>(it->first))) {
            ++it;
            continue;
        }
        if (it->second) {
            it->second->hide();
            it->second->deleteLater();
        }
        it = m_dropLists.erase(it);
    }
    for (const auto& [combo, widget] : open) {
        QPointer<DropListPopup>& popup = m_dropLists[combo];
        if (!popup)
            popup = new DropListPopup(*this, *combo, *widget);
        popup->Place(*widget);
    }
}

void QtDriver::ShowWindow(plat::Wnd& top)
{
    plat::RECT rect;
    top.GetWindowRect(&rect);
    const QSize size(std::max<int>(1, rect.Width()), std::max<int>(1, rect.Height()));
    std::unique_ptr<WindowWidget>& widget = m_windows[&top];
    const QString title = ToQString(top.GetWindowText());
    if (!widget) {
        widget = std::make_unique<WindowWidget>(*this, &top);
        widget->setWindowTitle(title);
        widget->resize(size);
        plat::WinApp* app = plat::GetApp();
        const bool main = app && app->GetMainWnd() == &top;
        if (QWidget* owner = main ? nullptr : OwnerWidget(top.GetOwner())) {
            // Placed over its owner as the tree places it, and kept above it.
            plat::RECT ownerRect;
            top.GetOwner()->GetTopLevelParent()->GetWindowRect(&ownerRect);
            widget->move(owner->pos() + QPoint(rect.left - ownerRect.left, rect.top - ownerRect.top));
            widget->setAttribute(Qt::WA_NativeWindow);
            widget->winId();
            if (QWindow* handle = widget->windowHandle())
                handle->setTransientParent(owner->windowHandle());
        }
        if (top.IsInModalLoop())
            widget->setWindowModality(Qt::ApplicationModal);
        widget->show();
        widget->activateWindow();
        widget->setFocus();
        return;
    }
    if (widget->windowTitle() != title)
        widget->setWindowTitle(title);
    if (widget->size() != size)
        widget->resize(size);
    if (!widget->isVisible())
        widget->show();
}

void QtDriver::RepaintAll()
{
    for (auto& [wnd, widget] : m_windows)
        widget->ShowChanges();
    for (auto& [wnd, widget] : m_embedded)
        widget->ShowChanges();
}

int QtDriver::MessageBox(plat::Wnd* owner, const std::string& text, const std::string& caption, plat::UINT style)
{
    Refresh();
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (style & plat::MB_ICONMASK) {
    case plat::MB_ICONHAND: icon = QMessageBox::Critical; break;
    case plat::MB_ICONQUESTION: icon = QMessageBox::Question; break;
    case plat::MB_ICONEXCLAMATION: icon = QMessageBox::Warning; break;
    case plat::MB_ICONASTERISK: icon = QMessageBox::Information; break;
    default: break;
    }
    QMessageBox box(icon, ToQString(caption), ToQString(text), QMessageBox::NoButton, OwnerWidget(owner));
    box.setWindowModality(Qt::ApplicationModal);
    const std::vector<int> answers = plat::MessageBoxButtons(style);
    std::vector<QPushButton*> buttons;
    for (int answer : answers) {
        QMessageBox::ButtonRole role = answer == plat::IDCANCEL ? QMessageBox::RejectRole
                                       : answer == plat::IDNO   ? QMessageBox::NoRole
                                       : answer == plat::IDYES  ? QMessageBox::YesRole
                                                                : QMessageBox::AcceptRole;
        buttons.push_back(box.addButton(ToQString(plat::MessageBoxButtonText(answer)), role));
    }
    box.setDefaultButton(buttons[static_cast<std::size_t>(plat::MessageBoxDefaultIndex(style))]);
    // Escape and the close box answer as the platform's box does: Cancel, or the only OK.
    if (auto cancel = std::find(answers.begin(), answers.end(), plat::IDCANCEL); cancel != answers.end())
        box.setEscapeButton(buttons[static_cast<std::size_t>(cancel - answers.begin())]);
    else if (answers.size() == 1)
        box.setEscapeButton(buttons.front());
    box.exec();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i])
            return answers[i];
    return answers.size() == 1 ? answers.front() : plat::IDCANCEL;
}

void QtDriver::FillMenu(QMenu& qmenu, plat::MenuTag* menu, plat::Wnd& target, int positionInParent)
{
    if (plat::IsWindow(&target))
        target.SendMessage(plat::WM_INITMENUPOPUP, reinterpret_cast<plat::WPARAM>(menu),
                           plat::MAKELPARAM(static_cast<plat::WORD>(positionInParent), 0));
    for (int i = 0;; ++i) {
        plat::MenuItemInfo item;
        if (!plat::GetMenuItem(menu, i, item))
            break;
        if (item.IsSeparator()) {
            qmenu.addSeparator();
            continue;
        }
        // The text after a tab is the accelerator, which Qt shows at the right as well.
        const QString label = ToQString(item.text);
        if (item.IsPopup()) {
            QMenu* sub = qmenu.addMenu(label);
            sub->setEnabled(item.IsEnabled());
            FillMenu(*sub, item.subMenu, target, i);
            continue;
        }
        QAction* action = qmenu.addAction(label);
        action->setEnabled(item.IsEnabled());
        action->setCheckable(item.IsChecked());
        action->setChecked(item.IsChecked());
        action->setData(QVariant::fromValue(static_cast<unsigned>(item.id)));
    }
    // The frame's status line shows the prompt of the item under the mouse or the keys.
    QObject::connect(&qmenu, &QMenu::hovered, &qmenu, [this, &target, menu](QAction* action) {
        if (!plat::IsWindow(&target) || !action->data().isValid())
            return;
        const auto id = static_cast<plat::WORD>(action->data().toUInt());
        target.SendMessage(plat::WM_MENUSELECT, plat::MAKEWPARAM(id, 0), reinterpret_cast<plat::LPARAM>(menu));
        RepaintAll();
    });
}

plat::UINT QtDriver::TrackPopupMenu(plat::MenuTag* menu, plat::UINT flags, plat::POINT screen, plat::Wnd& target)
{
    if (!plat::IsMenu(menu) || !plat::IsWindow(&target))
        return 0;
    WindowWidget* widget = WidgetOf(*target.GetTopLevelParent());
    if (!widget)
        return 0;
    Refresh();
    QMenu qmenu(widget);
    FillMenu(qmenu, menu, target, 0);
    QPoint at = widget->mapToGlobal(widget->FromScreen(screen));
    const QSize size = qmenu.sizeHint();
    if (flags & plat::TPM_RIGHTALIGN)
        at.rx() -= size.width();
    else if (flags & plat::TPM_CENTERALIGN)
        at.rx() -= size.width() / 2;
    QAction* chosen = qmenu.exec(at);
    const plat::UINT id = chosen && chosen->data().isValid() ? chosen->data().toUInt() : 0;
    if (plat::IsWindow(&target) && !(flags & plat::TPM_NONOTIFY))
        target.SendMessage(plat::WM_MENUSELECT, plat::MAKEWPARAM(0, 0xFFFF), 0);
    if (id != 0 && !(flags & plat::TPM_RETURNCMD) && plat::IsWindow(&target))
        target.SendMessage(plat::WM_COMMAND, plat::MAKEWPARAM(static_cast<plat::WORD>(id), 0), 0);
    m_dirty = true;
    return id;
}

void QtDriver::TrackMenuBar(plat::Wnd& frame, int openPosition)
{
    WindowWidget* widget = WidgetOf(frame);
    plat::Menu* bar = frame.GetMenu();
    if (!widget || !bar)
        return;
    const std::vector<BarItem> items = LayOutBar(frame, m_measure);
    if (items.empty())
        return;
    std::size_t index = 0;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].position == openPosition)
            index = i;
    plat::UINT chosen = 0;
    Refresh();
    for (;;) {
        plat::MenuItemInfo item;
        if (!plat::GetMenuItem(bar->GetSafeHmenu(), items[index].position, item))
            break;
        if (!item.IsPopup()) {
            chosen = item.IsEnabled() ? item.id : 0;
            break;
        }
        m_barFrame = &frame;
        m_barHighlight = items[index].position;
        widget->ShowChanges(true);
        QMenu qmenu(widget);
        FillMenu(qmenu, item.subMenu, frame, items[index].position);
        BarKeys keys;
        qmenu.installEventFilter(&keys);
        QAction* action = qmenu.exec(widget->mapToGlobal(items[index].rect.bottomLeft() + QPoint(0, 1)));
        if (action && action->data().isValid()) {
            chosen = action->data().toUInt();
            break;
        }
        if (keys.step == 0 || !plat::IsWindow(&frame))
            break;
        index = (index + (keys.step > 0 ? 1 : items.size() - 1)) % items.size();
    }
    m_barFrame = nullptr;
    m_barHighlight = -1;
    m_dirty = true;
    if (!plat::IsWindow(&frame))
        return;
    frame.SendMessage(plat::WM_MENUSELECT, plat::MAKEWPARAM(0, 0xFFFF), 0);
    if (chosen != 0)
        frame.SendMessage(plat::WM_COMMAND, plat::MAKEWPARAM(static_cast<plat::WORD>(chosen), 0), 0);
    Refresh();
}

} // namespace qtfe
