#include "app/EndOfSession.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kesto::ui {
namespace {

int pipeEnds[2] = {-1, -1};
constexpr std::array<int, 3> kEndSignals = {SIGTERM, SIGHUP, SIGINT};
struct sigaction savedActions[kEndSignals.size()];

extern "C" void OnEndSignal(int sig) {
    const int saved = errno;
    const char byte = static_cast<char>(sig);
    // A full pipe already holds a request; nothing more is needed.
    [[maybe_unused]] ssize_t n = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

} // namespace

EndOfSession::EndOfSession(QObject* parent) : QObject(parent) {
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return; // the defaults stay: the end is abrupt
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &EndOfSession::ReadPipe);
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kEndSignals.size(); ++i)
        ::sigaction(kEndSignals[i], &action, &savedActions[i]);
}

EndOfSession::~EndOfSession() {
    if (!notifier_) return;
    for (std::size_t i = 0; i < kEndSignals.size(); ++i)
        ::sigaction(kEndSignals[i], &savedActions[i], nullptr);
    delete notifier_;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void EndOfSession::ReadPipe() {
    // Several signals in a row ask for one ending.
    char bytes[16];
    int last = 0;
    ssize_t n;
    while ((n = ::read(pipeEnds[0], bytes, sizeof bytes)) > 0)
        last = static_cast<unsigned char>(bytes[n - 1]);
    if (last != 0) emit EndRequested(last);
}

} // namespace kesto::ui
