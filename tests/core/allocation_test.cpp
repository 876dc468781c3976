// A tick allocates nothing: the arrays are sized by initialise.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "core/simulation.h"
#include "fakes.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

using namespace molvane;

TEST(Allocation, TicksAllocateNothing) {
    GridModel table(52, 6);
    Simulation sim(table);
    sim.parameters.counts = {"500", "500", "0", "0"};
    sim.parameters.durationTag = "10";
    sim.parameters.curves = {true, true, true, true};
    test::CountingAnimation animpic, louloupe;
    sim.Command5_Click(nullptr);
    Display display;
    display.animpic = &animpic;
    display.louloupe = &louloupe;
    sim.majaff(display);
    const long before = allocations.load();
    for (int t = 0; t < 100; ++t) sim.Timer1_Timer(display);  // the whole recording, rows included
    EXPECT_EQ(allocations.load() - before, 0);
    EXPECT_EQ(animpic.circles, 101 * 1000);
    EXPECT_EQ(louloupe.lastRadius, 4.0f);
    EXPECT_EQ(sim.ligne, 52);
}
