#include "stop_signals.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace vestrak {

namespace {

constexpr std::array StoppingSignals { SIGTERM, SIGHUP, SIGINT };

volatile std::sig_atomic_t CaughtSignal = 0;
// Written by the handler, read on the UI thread; open for the life of the program.
std::array<int, 2> SignalPipe { -1, -1 };

extern "C" void NoteStoppingSignal(int number)
{
    if (CaughtSignal != 0) {
        std::signal(number, SIG_DFL);
        std::raise(number);
        return;
    }
    CaughtSignal = number;
    const int interruptedErrno = errno;
    const char wake = 1;
    [[maybe_unused]] const ssize_t written = write(SignalPipe[1], &wake, 1);
    errno = interruptedErrno;
}

} // namespace

StopSignals::StopSignals(std::function<void()> stopPage)
    : m_StopPage(std::move(stopPage))
{
    if (SignalPipe[0] < 0 && pipe2(SignalPipe.data(), O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_Notifier = std::make_unique<QSocketNotifier>(SignalPipe[0], QSocketNotifier::Read);
    QObject::connect(
        m_Notifier.get(), &QSocketNotifier::activated, m_Notifier.get(), [this] { takeSignal(); });
    struct sigaction action { };
    action.sa_handler = NoteStoppingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : StoppingSignals)
        sigaction(number, &action, nullptr);
}

void StopSignals::takeSignal()
{
    char wake = 0;
    while (read(SignalPipe[0], &wake, 1) > 0) { }
    m_Notifier->setEnabled(false);
    m_StopPage();
}

void StopSignals::EndAsTheSignalWould()
{
    const int number = CaughtSignal;
    if (number == 0)
        return;
    std::signal(number, SIG_DFL);
    std::raise(number);
}

} // namespace vestrak
