#include "object_file/read_aside.h"

#include <array>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace vestrak {

namespace {

// Pieces read but not yet cut: enough for the reading to run ahead while the work catches up.
constexpr std::size_t PieceSlots = 8;

// Thrown on the work's thread to leave the work once the calling thread has given up.
struct WorkCancelled { };

// What the work asks of the calling thread, in order.
enum class Ask { Read, Batch, Done };

struct Message {
    Ask ask = Ask::Done;
    std::size_t batch = 0;
};

class Channel final : public ReadAside::Side {
public:
    explicit Channel(std::size_t batches)
    {
        for (std::size_t slot = 0; slot < PieceSlots; ++slot)
            m_FreeSlots.push_back(slot);
        for (std::size_t batch = 0; batch < batches; ++batch)
            m_FreeBatches.push_back(batch);
    }

    // The work's side.

    bool readPieces(const ReadAside::TakePiece& take) override
    {
        {
            const std::lock_guard lock(m_Mutex);
            m_ReadEnded = false;
            m_StopReading = false;
            m_ToCaller.push_back({ Ask::Read });
        }
        m_CallerWakes.notify_one();
        bool wanted = true;
        while (true) {
            std::size_t slot = 0;
            {
                std::unique_lock lock(m_Mutex);
                m_WorkWakes.wait(lock, [this] { return m_Cancelled || !m_FullSlots.empty() || m_ReadEnded; });
                if (m_Cancelled)
                    throw WorkCancelled();
                if (m_FullSlots.empty())
                    return m_ReadResult;
                slot = m_FullSlots.front();
                m_FullSlots.pop_front();
            }
            // Pieces that came after the work wanted no more are passed over.
            if (wanted)
                wanted = take(m_Slots[slot]);
            {
                const std::lock_guard lock(m_Mutex);
                m_FreeSlots.push_back(slot);
                m_StopReading = !wanted;
            }
            m_CallerWakes.notify_one();
        }
    }

    std::size_t freeBatch() override
    {
        std::unique_lock lock(m_Mutex);
        m_WorkWakes.wait(lock, [this] { return m_Cancelled || !m_FreeBatches.empty(); });
        if (m_Cancelled)
            throw WorkCancelled();
        const std::size_t batch = m_FreeBatches.back();
        m_FreeBatches.pop_back();
        return batch;
    }

    void hand(std::size_t batch) override { tellCaller({ Ask::Batch, batch }); }

    void workDone(std::exception_ptr failure)
    {
        {
            const std::lock_guard lock(m_Mutex);
            m_WorkFailure = std::move(failure);
        }
        tellCaller({ Ask::Done });
    }

    // The calling thread's side.

    Message nextMessage()
    {
        std::unique_lock lock(m_Mutex);
        m_CallerWakes.wait(lock, [this] { return !m_ToCaller.empty(); });
        const Message message = m_ToCaller.front();
        m_ToCaller.pop_front();
        return message;
    }

    // Hands a piece to the work once a slot is free, taking batches meanwhile; false once the
    // work wants no more of this reading, or has ended.
    bool givePiece(std::string_view piece, const std::function<void(std::size_t)>& receive)
    {
        while (true) {
            std::unique_lock lock(m_Mutex);
            m_CallerWakes.wait(
                lock, [this] { return m_StopReading || !m_FreeSlots.empty() || !m_ToCaller.empty(); });
            if (m_StopReading)
                return false;
            if (!m_FreeSlots.empty()) {
                const std::size_t slot = m_FreeSlots.back();
                m_FreeSlots.pop_back();
                lock.unlock();
                m_Slots[slot].assign(piece);
                lock.lock();
                m_FullSlots.push_back(slot);
                lock.unlock();
                m_WorkWakes.notify_one();
                return true;
            }
            const Message message = m_ToCaller.front();
            if (message.ask != Ask::Batch) {
                // The work ended while the file was read: what it asks next waits for the reading to stop.
                return false;
            }
            m_ToCaller.pop_front();
            lock.unlock();
            takeBatch(message.batch, receive);
        }
    }

    void readingEnded(bool result)
    {
        {
            const std::lock_guard lock(m_Mutex);
            m_ReadEnded = true;
            m_ReadResult = result;
        }
        m_WorkWakes.notify_one();
    }

    void takeBatch(std::size_t batch, const std::function<void(std::size_t)>& receive)
    {
        receive(batch);
        if (batch == ReadAside::Forget)
            return;
        {
            const std::lock_guard lock(m_Mutex);
            m_FreeBatches.push_back(batch);
        }
        m_WorkWakes.notify_one();
    }

    void cancel()
    {
        {
            const std::lock_guard lock(m_Mutex);
            m_Cancelled = true;
        }
        m_WorkWakes.notify_one();
    }

    [[nodiscard]] std::exception_ptr workFailure()
    {
        const std::lock_guard lock(m_Mutex);
        return m_WorkFailure;
    }

private:
    void tellCaller(Message message)
    {
        {
            const std::lock_guard lock(m_Mutex);
            m_ToCaller.push_back(message);
        }
        m_CallerWakes.notify_one();
    }

    std::mutex m_Mutex;
    std::condition_variable m_CallerWakes;
    std::condition_variable m_WorkWakes;
    // A slot is written by the calling thread while free and read by the work while full.
    std::array<std::string, PieceSlots> m_Slots;
    std::vector<std::size_t> m_FreeSlots;
    std::deque<std::size_t> m_FullSlots;
    bool m_ReadEnded = false;
    bool m_ReadResult = false;
    bool m_StopReading = false;
    std::vector<std::size_t> m_FreeBatches;
    std::deque<Message> m_ToCaller;
    bool m_Cancelled = false;
    std::exception_ptr m_WorkFailure;
};

// Ends the work and waits for its thread, also when the calling thread leaves by an exception.
class JoinedWork {
public:
    JoinedWork(Channel& channel, std::thread thread)
        : m_Channel(channel)
        , m_Thread(std::move(thread))
    {
    }
    JoinedWork(const JoinedWork&) = delete;
    JoinedWork& operator=(const JoinedWork&) = delete;
    ~JoinedWork()
    {
        m_Channel.cancel();
        m_Thread.join();
    }

private:
    Channel& m_Channel;
    std::thread m_Thread;
};

// The work on the calling thread: each piece is cut as it is read, and each batch taken as soon
// as it is handed.
class CallingSide final : public ReadAside::Side {
public:
    CallingSide(const ReadAside::ReadFile& read, const std::function<void(std::size_t)>& receive)
        : m_Read(read)
        , m_Receive(receive)
    {
    }

    bool readPieces(const ReadAside::TakePiece& take) override { return m_Read(take); }
    std::size_t freeBatch() override { return 0; }
    void hand(std::size_t batch) override { m_Receive(batch); }

private:
    const ReadAside::ReadFile& m_Read;
    const std::function<void(std::size_t)>& m_Receive;
};

} // namespace

void ReadAside::Run(std::size_t batches, const ReadFile& read,
    const std::function<void(std::size_t)>& receive, const std::function<void(Side&)>& work,
    WorkThread workThread)
{
    const auto onCallingThread = [&] {
        CallingSide side(read, receive);
        work(side);
    };
    if (workThread == WorkThread::Calling) {
        onCallingThread();
        return;
    }
    Channel channel(batches);
    std::thread thread;
    try {
        thread = std::thread([&channel, &work] {
            std::exception_ptr failure;
            try {
                work(channel);
            } catch (const WorkCancelled&) {
            } catch (...) {
                failure = std::current_exception();
            }
            channel.workDone(failure);
        });
    } catch (const std::system_error&) {
        // No thread to be had (a limit of the system's): the work is done here, only slower.
        onCallingThread();
        return;
    }
    {
        const JoinedWork joined(channel, std::move(thread));
        for (Message message = channel.nextMessage(); message.ask != Ask::Done;
             message = channel.nextMessage()) {
            if (message.ask == Ask::Read) {
                const bool result
                    = read([&](std::string_view piece) { return channel.givePiece(piece, receive); });
                channel.readingEnded(result);
            } else {
                channel.takeBatch(message.batch, receive);
            }
        }
    }
    if (const std::exception_ptr failure = channel.workFailure())
        std::rethrow_exception(failure);
}

} // namespace vestrak
