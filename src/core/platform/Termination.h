// Keeps a termination request (SIGTERM, SIGINT, SIGHUP) from cutting a step that
// writes several board files in two: the signal waits until the step is done and
// then takes its usual course.
#pragma once

#include <signal.h>

namespace kesto::platform {

class DeferTermination {
  public:
    DeferTermination() noexcept;
    ~DeferTermination();
    DeferTermination(const DeferTermination&) = delete;
    DeferTermination& operator=(const DeferTermination&) = delete;

  private:
    sigset_t saved_;
};

} // namespace kesto::platform
