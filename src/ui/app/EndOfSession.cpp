#include "app/EndOfSession.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kesto::ui {
namespace {

int g_pipeEnds[2] = {-1, -1};
constexpr std::array<int, 3> kEndSignals = {SIGTERM, SIGHUP, SIGINT};
struct sigaction g_savedActions[kEndSignals.size()];

extern "C" void OnEndSignal(int sig) {
    const int saved = errno;
    const char byte = static_cast<char>(sig);
    // A full pipe already holds a request; nothing more is needed.
    [[maybe_unused]] ssize_t n = ::write(g_pipeEnds[1], &byte, 1);
    errno = saved;
}

} // namespace

EndOfSession::EndOfSession(QObject* parent) : QObject(parent) {
    if (::pipe2(g_pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return; // the defaults stay: the end is abrupt
    notifier_ = new QSocketNotifier(g_pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &EndOfSession::ReadPipe);
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kEndSignals.size(); ++i)
        ::sigaction(kEndSignals[i], &action, &g_savedActions[i]);
}

EndOfSession::~EndOfSession() {
    if (!notifier_) return;
    for (std::size_t i = 0; i < kEndSignals.size(); ++i)
        ::sigaction(kEndSignals[i], &g_savedActions[i], nullptr);
    delete notifier_;
    ::close(g_pipeEnds[0]);
    ::close(g_pipeEnds[1]);
    g_pipeEnds[0] = g_pipeEnds[1] = -1;
}

void EndOfSession::ReadPipe() {
    // Several signals in a row ask for one ending.
    char bytes[16];
    int last = 0;
    ssize_t n;
    while ((n = ::read(g_pipeEnds[0], bytes, sizeof bytes)) > 0)
        last = static_cast<unsigned char>(bytes[n - 1]);
    if (last != 0) emit EndRequested(last);
}

} // namespace kesto::ui
