// The link's notifications on Windows: the worker sends each one to a
// message-only window of the session's thread, which handles it while Next
// waits for messages.
#include "Link.h"

#include <deque>
#include <new>

namespace zrnctl {

struct LinkEvents::State {
    HWND hwnd = nullptr;
    std::deque<LinkEvent> queue;

    static State* instance; // the one window's state, for its procedure

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg != WM_ZRN_LINK || instance == nullptr)
            return ::DefWindowProcA(hwnd, msg, wParam, lParam);
        LinkEvent event{static_cast<std::uintptr_t>(wParam), std::nullopt};
        if (lParam != 0)
            event.text = reinterpret_cast<const char*>(lParam); // freed when we return
        instance->queue.push_back(std::move(event));
        return 0;
    }
};

LinkEvents::State* LinkEvents::State::instance = nullptr;

LinkEvents& LinkEvents::Instance() {
    // Built in place and never destroyed (see the class).
    alignas(State) static unsigned char stateStorage[sizeof(State)];
    alignas(LinkEvents) static unsigned char eventsStorage[sizeof(LinkEvents)];
    static LinkEvents* const events = [] {
        State* state = ::new (stateStorage) State;
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &State::Procedure;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ZrnctlLinkEvents";
        ::RegisterClassA(&windowClass);
        state->hwnd = ::CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0,
                                        HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
        State::instance = state;
        return ::new (eventsStorage) LinkEvents(*state);
    }();
    return *events;
}

HWND LinkEvents::Window() {
    return state_.hwnd;
}

void LinkEvents::Clear() {
    state_.queue.clear();
}

std::optional<LinkEvent> LinkEvents::Next(Clock::time_point deadline) {
    for (;;) {
        // Sent messages are handled inside PeekMessage.
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
        if (!state_.queue.empty()) {
            LinkEvent event = std::move(state_.queue.front());
            state_.queue.pop_front();
            return event;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return std::nullopt;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()),
                                    QS_ALLINPUT);
    }
}

} // namespace zrnctl
