// Optional measure of the window's tick: the simulation, then the painting of
// the vessel, the graph and the table that the tick caused. With
// MOLVANE_TICK_LOG set (and not "0") the window prints the median of the last
// ticks to the error output every few seconds.
#pragma once

#include <QElapsedTimer>
#include <array>
#include <cstdint>

namespace molvane {

class TickLog {
public:
    // Whether the environment asks for the log.
    static bool wanted();

    // A tick begins: the previous tick, with the paints it caused, is complete.
    void beginTick();
    // Time spent on behalf of the current tick (the handler, a paint).
    void add(std::int64_t nanoseconds) { current_ += nanoseconds; }
    // Number of particles, shown with the figure.
    void setParticles(int count) { particles_ = count; }

    static constexpr int kWindow = 50;  // ticks per printed median: 5 s at 100 ms

    // The median of the last full window, in nanoseconds (0 before the first).
    std::int64_t lastMedian() const { return lastMedian_; }

private:
    std::array<std::int64_t, kWindow> samples_{};
    std::array<std::int64_t, kWindow> sorted_{};
    int count_ = 0;
    bool started_ = false;
    std::int64_t current_ = 0;
    std::int64_t lastMedian_ = 0;
    int particles_ = 0;
};

// Adds the time of a scope to a log, when there is one.
class TickScope {
public:
    explicit TickScope(TickLog* log) : log_(log) {
        if (log_) timer_.start();
    }
    ~TickScope() {
        if (log_) log_->add(timer_.nsecsElapsed());
    }
    TickScope(const TickScope&) = delete;
    TickScope& operator=(const TickScope&) = delete;

private:
    TickLog* log_;
    QElapsedTimer timer_;
};

}  // namespace molvane
