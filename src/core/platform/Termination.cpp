#include "Termination.h"

#include <pthread.h>

namespace kesto::platform {

DeferTermination::DeferTermination() noexcept {
    sigset_t deferred;
    sigemptyset(&deferred);
    sigaddset(&deferred, SIGTERM);
    sigaddset(&deferred, SIGINT);
    sigaddset(&deferred, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &deferred, &saved_);
}

DeferTermination::~DeferTermination() {
    // A signal that came meanwhile is delivered here, once the step is whole.
    pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
}

} // namespace kesto::platform
