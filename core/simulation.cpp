#include "core/simulation.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "common/numbers.h"
#include "core/collisionsearch.h"
#include "core/quota.h"
#include "core/vectorstate.h"

namespace molvane {

namespace {

constexpr std::int16_t kCoolDown = 5;
// Measurements reserved at a restart: 2 h of ticks, the longest duration of
// the bar (a longer one, which only a test sets, grows as it goes).
constexpr double kMostSamples = 7200.0 * 1000.0 / kTickMilliseconds;

template <typename T, typename V>
void assignIf(T& target, const std::optional<V>& value) {
    if (value) target = *value;
}

int sgn(float v) {
    return (v > 0.0f) - (v < 0.0f);
}

// Velocity exchange along one axis, v the velocities and p the positions on it.
void exchangeAxis(float* v, const float* p, int i, int j) {
    const int si = sgn(v[i]), sj = sgn(v[j]);
    const float vi = v[i];
    if (si != sj) {  // head-on: both turn back
        v[i] = -vi;
        v[j] = -v[j];
        return;
    }
    // Same way: the one behind takes the reversed velocity of the one ahead.
    const bool iBehind = si == 1 ? p[i] <= p[j] : p[i] > p[j];
    if (iBehind) {
        v[i] = -v[j];
        v[j] = vi;
    } else {
        v[i] = v[j];
        v[j] = -vi;
    }
}

}  // namespace

Simulation::Simulation(GridModel& table) : table_(table) {
    courbes_.reserve(64);
    seed(secondsSinceMidnight());
}

void Simulation::seed(std::uint32_t seed) {
    if (script_)
        script_->seed(seed);
    else
        random_.seed(seed);
}

double Simulation::elapsed() const {
    return parameters_.interval / 1000.0 * nbtics_;
}

double Simulation::duration() const {
    return leadingNumber(parameters_.durationTag);
}

void Simulation::setDuration(double seconds) {
    parameters_.durationTag = numberText(seconds);
    dropKeptCurves();
}

void Simulation::setShowQr(bool shown) {
    parameters_.showQr = shown;
    colourQrColumn(0);
}

void Simulation::setKeepCurves(bool keep) {
    parameters_.keepCurves = keep;
    if (!keep) dropKeptCurves();
}

void Simulation::setVesselSize(float width, float height) {
    vesselWidth_ = width;
    vesselHeight_ = height;
}

void Simulation::initialise() {
    const Parameters& p = parameters_;
    taux1_ = static_cast<float>(p.effectivePercent[0] / 100.0);
    taux2_ = static_cast<float>(p.effectivePercent[1] / 100.0);
    efficaces1_ = inefficaces1_ = efficaces2_ = inefficaces2_ = 0;

    std::array<double, 4> initial{};
    for (int s = 0; s < 4; ++s) initial[s] = leadingNumber(p.counts[s]);
    // A total that does not fit (or a negative one, which no array can have)
    // leaves the previous number of particles.
    if (auto total = roundToInt16(initial[0] + initial[1] + initial[2] + initial[3]); total && *total >= 0)
        nbparticules_ = *total;

    const std::size_t size = static_cast<std::size_t>(nbparticules_) + 1;
    posx_.assign(size, 0.0f);
    posy_.assign(size, 0.0f);
    vitx_.assign(size, 0.0f);
    vity_.assign(size, 0.0f);
    espece_.assign(size, 0);
    choc_.assign(size, 0);

    const double w = vesselWidth_, h = vesselHeight_;
    for (int i = 1; i <= nbparticules_; ++i) {
        posx_[i] = static_cast<float>((w - 4.0) * draw() + 2.0);
        posy_[i] = static_cast<float>((h - 4.0) * draw() + 2.0);
        vitx_[i] = static_cast<float>(draw() - 0.5);
        vity_[i] = static_cast<float>(draw() - 0.5);
        choc_[i] = 0;
    }

    // Species in blocks: 1 to nA0 are A, then B, C and D.
    double runningSum = 0.0;
    int first = 1;
    for (std::int16_t s = 0; s < 4; ++s) {
        runningSum += initial[s];
        const int last = std::min<int>(roundToInt32(runningSum).value_or(first - 1), nbparticules_);
        for (int i = first; i <= last; ++i) espece_[i] = static_cast<std::int16_t>(s + 1);
        first = std::max(first, last + 1);
    }

    nbtics_ = 0;

    table_.clear();
    colourQrColumn(0);
    for (int c = 0; c < 6; ++c) {
        table_.setText(0, c, kTableHeaders[c]);
        table_.setRow(0);
        table_.setCol(c);
        table_.setCellAlignment(kAlignCenterTop);
    }

    ligne_ = 1;
    for (int s = 0; s < 4; ++s) table_.setText(ligne_, s + 1, numberText(initial[s]));
    assignIf(nbA_, roundToInt16(initial[0]));
    assignIf(nbB_, roundToInt16(initial[1]));
    assignIf(nbC_, roundToInt16(initial[2]));
    assignIf(nbD_, roundToInt16(initial[3]));
    closeRow();

    // Room for the whole recording, so that no tick allocates.
    samples_.clear();
    const double ticks = parameters_.interval > 0 ? duration() * 1000.0 / parameters_.interval : 0.0;
    samples_.reserve(static_cast<std::size_t>(std::clamp(ticks, 0.0, kMostSamples)) + 2);
    recordSample();
}

void Simulation::recordSample() {
    const Sample sample{nbtics_, {nbA_, nbB_, nbC_, nbD_}};
    // A second drawing of the same tick (a colour change) replaces its measurement.
    if (!samples_.empty() && samples_.back().tick == nbtics_)
        samples_.back() = sample;
    else
        samples_.push_back(sample);
}

void Simulation::closeRow() {
    // Qr of the row's counts; empty (and qr unchanged) without A or B.
    if (nbA_ != 0 && nbB_ != 0) {
        qr_ = (static_cast<double>(nbC_) / nbA_) * (static_cast<double>(nbD_) / nbB_);
        table_.setText(ligne_, kQrColumn, qrText(qr_, parameters_.decimalSeparator));
    } else {
        table_.setText(ligne_, kQrColumn, "");
    }
    table_.setRow(ligne_);
    for (int c = 1; c <= kQrColumn; ++c) {
        table_.setCol(c);
        table_.setCellAlignment(kAlignCenterTop);
    }
    ++ligne_;
}

void Simulation::colourQrColumn(int fromRow) {
    table_.setCol(kQrColumn);
    for (int r = fromRow; r < table_.rows(); ++r) {
        table_.setRow(r);
        table_.setCellForeColor(parameters_.showQr ? kBlack : kWhite);
    }
}

void Simulation::placeParticle(int i, float x, float y, float vx, float vy) {
    posx_[i] = x;
    posy_[i] = y;
    vitx_[i] = vx;
    vity_[i] = vy;
}

void Simulation::tick(const Display& display) {
    advance();
    tickInPlace(display);
}

void Simulation::tickInPlace(const Display& display) {
    collisions();
    majaff(display);
    timeSlices();
}

void Simulation::advance() {
    ++nbtics_;
    const double k = parameters_.temperature / 100.0;
    const double w = vesselWidth_, h = vesselHeight_;
    const float right = static_cast<float>(w - 1.0), bottom = static_cast<float>(h - 1.0);
    float* px = posx_.data();
    float* py = posy_.data();
    float* vx = vitx_.data();
    float* vy = vity_.data();
    for (int i = 1; i <= nbparticules_; ++i) {
        px[i] = static_cast<float>(px[i] + vx[i] * k);
        py[i] = static_cast<float>(py[i] + vy[i] * k);
        if (px[i] < 2.0f) {
            px[i] = 4.0f - px[i];
            vx[i] = -vx[i];
        }
        if (py[i] < 2.0f) {
            py[i] = 4.0f - py[i];
            vy[i] = -vy[i];
        }
        if (px[i] > right) {
            px[i] = static_cast<float>(2.0 * (w - 1.0) - px[i]);
            vx[i] = -vx[i];
        }
        if (py[i] > bottom) {
            py[i] = static_cast<float>(2.0 * (h - 1.0) - py[i]);
            vy[i] = -vy[i];
        }
    }
}

void Simulation::react(int i, int j, std::int32_t& efficaces, std::int32_t& inefficaces, float taux,
                       std::int16_t productI, std::int16_t productJ) {
    if (!quotaDecision(efficaces, inefficaces, taux)) return;
    espece_[i] = productI;
    espece_[j] = productJ;
}

void Simulation::collisions() {
    releaseWideRegisters();
    // The generator is chosen once, outside the inner loop: a scripted one
    // runs the plain loop below, the default one the batched search, which
    // makes the same draws and finds the same hits in the same order.
    if (script_) {
        collisionsWith([this] { return script_->next(); });
        return;
    }
    collisionsWith(&random_);
}

template <typename Draw>
void Simulation::collisionsWith(Draw draw) {
    const int n = nbparticules_;
    const double threshold = parameters_.temperature / 30.0;
    const double divisor = (n / 500.0) * (n / 500.0) + 1.0;
    const int draws = roundToInt16(std::floor(n / divisor)).value_or(0);
    float* px = posx_.data();
    float* py = posy_.data();
    std::int16_t* sp = espece_.data();
    std::int16_t* cd = choc_.data();
    auto hit = [&](int i, int j) {
        cd[j] = kCoolDown;
        cd[i] = kCoolDown;
        exchangeAxis(vitx_.data(), px, i, j);
        exchangeAxis(vity_.data(), py, i, j);
        const int si = sp[i], sj = sp[j];
        if ((si == 1 && sj == 2) || (si == 2 && sj == 1))
            react(i, j, efficaces1_, inefficaces1_, taux1_, 3, 4);
        else if ((si == 3 && sj == 4) || (si == 4 && sj == 3))
            react(i, j, efficaces2_, inefficaces2_, taux2_, 1, 2);
    };
    if constexpr (std::is_same_v<Draw, FastRandom*>) {
        searchCollisions(SearchArrays{px, py, cd, n}, draws, threshold, *draw, hit);
    } else {
        for (int i = 1; i <= n; ++i) {
            if (cd[i] >= 1) --cd[i];
            if (cd[i] != 0) continue;
            const double xi = std::nearbyint(static_cast<double>(px[i]));
            const double yi = std::nearbyint(static_cast<double>(py[i]));
            for (int m = 0; m < draws; ++m) {
                // In double, so that r x N stays below N for every r < 1.
                const int j = static_cast<int>(static_cast<double>(draw()) * n) + 1;
                if (cd[j] != 0 || j == i) continue;
                const double dx = xi - px[j], dy = yi - py[j];
                if (!(dx * dx + dy * dy < threshold)) continue;
                hit(i, j);
            }
        }
    }
}

void Simulation::majaff(const Display& display) {
    if (display.animpic) display.animpic->clear();
    if (display.louloupe) display.louloupe->clear();
    nbA_ = nbB_ = nbC_ = nbD_ = 0;

    const auto& colours = parameters_.colours;
    std::array<std::int16_t*, 4> counts{&nbA_, &nbB_, &nbC_, &nbD_};
    for (int i = 1; i <= nbparticules_; ++i) {
        const int s = espece_[i] - 1;
        if (s < 0 || s > 3) continue;
        if (display.animpic) display.animpic->circle(posx_[i], posy_[i], 2.0f, colours[s]);
        if (display.louloupe) display.louloupe->circle(2.0f * posx_[i], 2.0f * posy_[i], 4.0f, colours[s]);
        ++*counts[s];
    }

    const double t = elapsed();
    const double d = duration();
    if (maxparticules_ > 0 && t > 0.0 && t <= d) {
        const auto gx = roundToInt16(graphX(t, d));
        std::array<std::optional<std::int16_t>, 4> gy;
        for (int s = 0; s < 4; ++s) gy[s] = roundToInt16(graphY(*counts[s], maxparticules_));
        for (int s = 0; s < 4; ++s) {
            if (parameters_.curves[s] && display.graph && gx && gy[s])
                display.graph->line(xprec_, yprec_[s], *gx, *gy[s], colours[s], 2);
        }
        assignIf(xprec_, gx);
        for (int s = 0; s < 4; ++s) assignIf(yprec_[s], gy[s]);
        recordRow(t);
    }
    if (t <= d) recordSample();
}

void Simulation::recordRow(double t) {
    const std::string now = tickTimeText(t, parameters_.decimalSeparator);
    if (ligne_ >= table_.rows() || trimmed(table_.text(ligne_, 0)) != trimmed(now)) return;
    table_.setText(ligne_, 1, numberText(nbA_));
    table_.setText(ligne_, 2, numberText(nbB_));
    table_.setText(ligne_, 3, numberText(nbC_));
    table_.setText(ligne_, 4, numberText(nbD_));
    closeRow();
}

void Simulation::timeSlices() {
    const double t = elapsed();
    const double d = duration();
    if (t <= d && d != 0.0) {
        const auto k = roundToInt16(std::floor(kSlices * t / d) + 1.0);
        if (!k) return;
        if (*k != tranche_) {
            if (*k == 1) {
                moyennesC_[0] = leadingNumber(parameters_.counts[2]);
            } else if (tranche_ >= 1 && tranche_ <= 60 && nbmesures_ != 0) {
                moyennesC_[tranche_] /= nbmesures_;
            }
            tranche_ = *k;
            if (tranche_ >= 0 && tranche_ < 61) moyennesC_[tranche_] = 0.0;
            nbmesures_ = 0;
        }
        if (tranche_ >= 0 && tranche_ < 61) {
            moyennesC_[tranche_] += nbC_;
            ++nbmesures_;
        }
        return;
    }
    if (tranche_ == -1) return;
    tranche_ = -1;
    if (t == 0.0) return;
    storeCurves();
}

void Simulation::storeCurves() {
    if (!parameters_.keepCurves) dropKeptCurves();
    std::array<double, 4> n0{};
    for (int s = 0; s < 4; ++s) n0[s] = leadingNumber(parameters_.counts[s]);
    for (int s = 0; s < 4; ++s) {
        if (nbcourbes_ >= INT16_MAX) return;
        ++nbcourbes_;
        courbes_.resize(static_cast<std::size_t>(nbcourbes_) + 1);
        CurveRecord& record = courbes_[nbcourbes_];
        for (int b = 0; b <= 60; ++b) {
            const double c = moyennesC_[b];
            // Every reaction of sense 1 takes one A and one B and gives one C and one D.
            switch (s) {
                case 0:
                    record[b] = n0[0] + n0[2] - c;
                    break;
                case 1:
                    record[b] = n0[1] + n0[2] - c;
                    break;
                case 2:
                    record[b] = c;
                    break;
                default:
                    record[b] = n0[3] - n0[2] + c;
                    break;
            }
        }
        record[61] = maxparticules_;
        record[62] = parameters_.colours[s];
        record[63] = s;
    }
}

void Simulation::restart(GraphSurface* graph) {
    tranche_ = -1;
    if (!parameters_.keepCurves) dropKeptCurves();
    initialise();
    echgraphe(graph);
}

}  // namespace molvane
