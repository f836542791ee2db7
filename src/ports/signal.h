#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace vestrak {

/// @cond
namespace signal_parts {

// The handlers of one signal, shared with the connections to it so that a connection can outlive
// the signal and a raise can outlive a handler that ends the signal.
class SlotList {
public:
    struct Slot {
        std::uint64_t id = 0;
        // The handler, held by each raise that runs it: empty once disconnected.
        std::shared_ptr<const void> handler;
    };

    std::uint64_t add(std::shared_ptr<const void> handler)
    {
        m_Slots.push_back({ ++m_LastId, std::move(handler) });
        return m_LastId;
    }

    void remove(std::uint64_t id)
    {
        for (Slot& slot : m_Slots) {
            if (slot.id == id)
                slot.handler.reset();
        }
        dropRemoved();
    }

    void removeAll()
    {
        for (Slot& slot : m_Slots)
            slot.handler.reset();
        dropRemoved();
    }

    [[nodiscard]] const std::vector<Slot>& entries() const { return m_Slots; }

    // While a raise walks the slots they keep their places; removed ones are dropped after it.
    class Raising {
    public:
        explicit Raising(SlotList& list)
            : m_List(list)
        {
            ++m_List.m_RaiseDepth;
        }
        ~Raising()
        {
            --m_List.m_RaiseDepth;
            m_List.dropRemoved();
        }
        Raising(const Raising&) = delete;
        Raising& operator=(const Raising&) = delete;
        Raising(Raising&&) = delete;
        Raising& operator=(Raising&&) = delete;

    private:
        SlotList& m_List;
    };

private:
    void dropRemoved()
    {
        if (m_RaiseDepth == 0)
            std::erase_if(m_Slots, [](const Slot& slot) { return slot.handler == nullptr; });
    }

    std::vector<Slot> m_Slots;
    std::uint64_t m_LastId = 0;
    std::int32_t m_RaiseDepth = 0;
};

} // namespace signal_parts
/// @endcond

/// Keeps one handler connected to a signal and disconnects it when it goes. It may outlive the
/// signal; it can be moved, not copied. An empty connection holds nothing.
class [[nodiscard]] Connection {
public:
    /// An empty connection.
    Connection() = default;
    /// Made by Signal::connect() for the handler with that id.
    Connection(std::weak_ptr<signal_parts::SlotList> list, std::uint64_t id)
        : m_Slots(std::move(list))
        , m_Id(id)
    {
    }
    /// Takes over the other's handler; the other is left empty.
    Connection(Connection&& other) noexcept
        : m_Slots(std::exchange(other.m_Slots, {}))
        , m_Id(std::exchange(other.m_Id, 0))
    {
    }
    /// Disconnects the handler held so far and takes over the other's.
    Connection& operator=(Connection&& other) noexcept
    {
        if (this != &other) {
            disconnect();
            m_Slots = std::exchange(other.m_Slots, {});
            m_Id = std::exchange(other.m_Id, 0);
        }
        return *this;
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { disconnect(); }

    /// Takes the handler off its signal; a raise that is running does not call it any more.
    void disconnect()
    {
        if (const std::shared_ptr<signal_parts::SlotList> list = m_Slots.lock())
            list->remove(m_Id);
        m_Slots.reset();
    }

private:
    std::weak_ptr<signal_parts::SlotList> m_Slots;
    std::uint64_t m_Id = 0;
};

/// The connections of one owner, disconnected together when it goes. Declare it after the members
/// its handlers use, so that it goes first.
class Connections {
public:
    /// Keeps one more connection.
    Connections& operator+=(Connection connection)
    {
        m_Connections.push_back(std::move(connection));
        return *this;
    }

private:
    std::vector<Connection> m_Connections;
};

/// A list of callbacks raised in the order they were connected. Handlers may connect further
/// handlers while the signal is being raised; those run from the next raise on. A handler
/// disconnected during a raise is not called by it any more; the signal may end during a raise.
template<typename... Args> class Signal {
public:
    /// A callback of the signal.
    using Handler = std::function<void(Args...)>;

    Signal() = default;
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;
    Signal(Signal&&) = delete;
    Signal& operator=(Signal&&) = delete;
    ~Signal()
    {
        if (m_Slots)
            m_Slots->removeAll();
    }

    /// Adds a handler after those connected before; it stays connected while the returned
    /// connection lives.
    Connection connect(Handler handler)
    {
        if (!m_Slots)
            m_Slots = std::make_shared<signal_parts::SlotList>();
        const std::uint64_t id = m_Slots->add(std::make_shared<const Handler>(std::move(handler)));
        return { m_Slots, id };
    }

    /// Raises the signal: calls the handlers connected so far, in order.
    void operator()(Args... args) const
    {
        if (!m_Slots)
            return;
        // Held, so that a handler that ends the signal or disconnects itself cannot pull the
        // list or the running handler away.
        const std::shared_ptr<signal_parts::SlotList> list = m_Slots;
        const signal_parts::SlotList::Raising raising(*list);
        const std::size_t count = list->entries().size();
        for (std::size_t i = 0; i < count; ++i) {
            const std::shared_ptr<const void> handler = list->entries()[i].handler;
            if (handler)
                (*std::static_pointer_cast<const Handler>(handler))(args...);
        }
    }

private:
    std::shared_ptr<signal_parts::SlotList> m_Slots;
};

/// The host-facing event of a control: no arguments, the host reads properties in its handler.
using Event = Signal<>;

} // namespace vestrak
