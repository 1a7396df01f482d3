// The user-interface state of one application, in one object that the application owns:
// which windows exist and which has the focus, the active and modal windows, the menus by
// handle and the one being worked, the clipboard, the input method state, the resources, the
// dialog fonts, and what the layers above keep application-wide (the grids and their font,
// the error colour, the brushes, the context menu). Each layer keeps its part as a slot of
// its own type.
//
// How a host toolkit maps onto it: the application object (WinApp) owns the context, and its
// driver is the only way in for input. A host that embeds windows of ours among its own
// widgets gives keyboard focus to ours by SetFocus on the window its widget shows, and takes
// it back by SetFocus(nullptr) when its own widget gets it: our focus is "which of our windows
// has it", never the host's. A modal dialog of ours runs its loop on the driver's NextEvent;
// the host keeps its own windows from input meanwhile (a modal host dialog, or disabling its
// top-level windows), and a host's own modal dialog that opens over ours is outside this state
// and needs nothing from it. Everything here is for the thread that runs the application.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace plat {

class UiContext {
public:
    UiContext() = default;
    UiContext(const UiContext&) = delete;
    UiContext& operator=(const UiContext&) = delete;

    // The state of type T, made on first use.
    template <class T>
    [[nodiscard]] T& Get()
    {
        const std::size_t index = SlotIndex<T>();
        if (index >= m_slots.size())
            m_slots.resize(index + 1);
        std::shared_ptr<void>& slot = m_slots[index];
        if (!slot)
            slot = std::make_shared<T>();
        return *static_cast<T*>(slot.get());
    }

    // What a new application takes over from whoever held the state before it.
    void Swap(UiContext& other) noexcept { m_slots.swap(other.m_slots); }

private:
    static std::size_t NextSlotIndex() noexcept;
    template <class T>
    static std::size_t SlotIndex() noexcept
    {
        static const std::size_t index = NextSlotIndex();
        return index;
    }

    std::vector<std::shared_ptr<void>> m_slots;
};

// The application's context, or the process's own before there is an application (windows
// made then move into the application's context when it is made, and back when it ends).
[[nodiscard]] UiContext& CurrentUiContext() noexcept;
// The process's own context, used while no application exists.
[[nodiscard]] UiContext& ProcessUiContext() noexcept;

} // namespace plat
