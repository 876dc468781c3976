// A tick that also draws into the magnifier allocates nothing.
#include <gtest/gtest.h>

#include <QWidget>
#include <atomic>
#include <cstdlib>
#include <new>

#include "common/grid.h"
#include "core/simulation.h"
#include "output/magnifier.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

using namespace molvane;

TEST(MagnifierAllocation, TicksDrawingIntoTheMagnifierAllocateNothing) {
    QWidget main;
    main.resize(800, 600);
    AnimationSurface* surface = nullptr;
    MagnifierLink link;
    link.attach = [&surface](AnimationSurface* s) { surface = s; };
    Louloupe loupe(&main, link);
    loupe.show();
    ASSERT_NE(surface, nullptr);

    GridModel table(52, 6);
    Simulation sim(table);
    sim.parameters.counts = {"500", "500", "0", "0"};
    sim.parameters.durationTag = "10";
    sim.Command5_Click(nullptr);
    Display display;
    display.louloupe = surface;
    sim.majaff(display);  // the stamps for radius 4 are made once
    const long before = allocations.load();
    for (int t = 0; t < 100; ++t) sim.Timer1_Timer(display);
    EXPECT_EQ(allocations.load() - before, 0);
}
