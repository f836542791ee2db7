#pragma once

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

namespace vestrak {

/// A list of callbacks raised in the order they were connected. Handlers may connect further
/// handlers while the signal is being raised; those run from the next raise on.
template<typename... Args> class Signal {
public:
    /// A callback of the signal.
    using Handler = std::function<void(Args...)>;

    /// Adds a handler after those connected before.
    void connect(Handler handler) { m_Handlers.push_back(std::move(handler)); }
    /// Removes every handler.
    void disconnectAll() { m_Handlers.clear(); }
    /// True when at least one handler is connected.
    [[nodiscard]] bool isConnected() const { return !m_Handlers.empty(); }

    /// Raises the signal: calls the handlers connected so far, in order.
    void operator()(Args... args) const
    {
        const std::size_t count = m_Handlers.size();
        for (std::size_t i = 0; i < count && i < m_Handlers.size(); ++i) {
            // A copy, so a handler that connects another one cannot pull the running one away.
            Handler handler = m_Handlers[i];
            handler(args...);
        }
    }

private:
    std::vector<Handler> m_Handlers;
};

/// The host-facing event of a control: no arguments, the host reads properties in its handler.
using Event = Signal<>;

} // namespace vestrak
