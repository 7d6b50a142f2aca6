// Optional measurement of where a command spends its time: reading boxes and printing
// results (the rest is computation).  Costs nothing when no PhaseTimes is attached.
#pragma once

#include <chrono>

struct PhaseTimes {
    std::chrono::nanoseconds parse{0};
    std::chrono::nanoseconds format{0};
};

class PhaseTimer {
  public:
    explicit PhaseTimer(std::chrono::nanoseconds* sink) : sink_(sink) {
        if (sink_) start_ = std::chrono::steady_clock::now();
    }
    ~PhaseTimer() {
        if (sink_) *sink_ += std::chrono::steady_clock::now() - start_;
    }
    PhaseTimer(const PhaseTimer&) = delete;
    PhaseTimer& operator=(const PhaseTimer&) = delete;

  private:
    std::chrono::nanoseconds* sink_;
    std::chrono::steady_clock::time_point start_{};
};
