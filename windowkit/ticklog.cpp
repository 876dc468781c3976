#include "windowkit/ticklog.h"

#include <QByteArray>
#include <QtGlobal>
#include <algorithm>
#include <cstdio>

namespace molvane {

bool TickLog::wanted() {
    const QByteArray value = qgetenv("MOLVANE_TICK_LOG");
    return !value.isEmpty() && value != "0";
}

void TickLog::beginTick() {
    if (started_) {
        samples_[static_cast<std::size_t>(count_++)] = current_;
        if (count_ == kWindow) {
            sorted_ = samples_;
            auto middle = sorted_.begin() + kWindow / 2;
            std::nth_element(sorted_.begin(), middle, sorted_.end());
            lastMedian_ = *middle;
            std::fprintf(stderr, "molvane: median tick %.3f ms over %d ticks, %d particles\n",
                         static_cast<double>(lastMedian_) / 1e6, kWindow, particles_);
            std::fflush(stderr);
            count_ = 0;
        }
    }
    started_ = true;
    current_ = 0;
}

}  // namespace molvane
