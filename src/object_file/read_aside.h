#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace vestrak {

// Work on a file's pieces done on a thread of its own while the calling thread reads the file and
// takes what the work hands back, in order. The file system is used only on the calling thread,
// which reads while the other thread cuts and prepares what it read before: a load of a big file
// costs about the larger of the two instead of both. The work hands its results in a few batches
// that are used again once taken, so what is held at once stays small.
class ReadAside {
public:
    // Gives take() the file's pieces, in order, until it returns false; false when the file cannot
    // be read. Runs on the calling thread.
    using TakePiece = std::function<bool(std::string_view)>;
    using ReadFile = std::function<bool(const TakePiece&)>;

    // A batch number, or one of these.
    static constexpr std::size_t Forget = static_cast<std::size_t>(-1);

    // What the work's thread sees.
    class Side {
    public:
        virtual ~Side() = default;
        // Has the calling thread read the file once more, handing its pieces to take(); the pieces
        // are valid only while take() looks at them.
        virtual bool readPieces(const TakePiece& take) = 0;
        // A batch not held by the calling thread, to be filled and handed back; waits for one.
        virtual std::size_t freeBatch() = 0;
        // Hands a batch (or Forget) to the calling thread's receive().
        virtual void hand(std::size_t batch) = 0;
    };

    // Where the work runs: on a thread of its own, or on the calling thread between the reads,
    // as it does when the system gives no thread.
    enum class WorkThread { Aside, Calling };

    // Runs work(side) on a thread of its own and, on the calling thread, reads the file whenever
    // the work asks and calls receive(batch) for each batch handed, in order; a batch is free
    // again when receive() returns. An exception of either side ends both and is thrown here.
    static void Run(std::size_t batches, const ReadFile& read,
        const std::function<void(std::size_t)>& receive, const std::function<void(Side&)>& work,
        WorkThread workThread = WorkThread::Aside);
};

} // namespace vestrak
