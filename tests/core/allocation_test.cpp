// A tick allocates nothing: the arrays are sized by initialise.
#include <gtest/gtest.h>

#include "allocations.h"
#include "core/simulation.h"
#include "fakes.h"

using namespace molvane;

TEST(Allocation, TicksAllocateNothing) {
    GridModel table(52, 6);
    Simulation sim(table);
    sim.setCounts({"500", "500", "0", "0"});
    sim.setDuration(10);
    sim.setCurves({true, true, true, true});
    test::CountingAnimation animpic, louloupe;
    sim.restart(nullptr);
    Display display;
    display.animpic = &animpic;
    display.louloupe = &louloupe;
    sim.tickInPlace(display);
    const long before = test::allocationsSoFar();
    for (int t = 0; t < 100; ++t) sim.tick(display);  // the whole recording, rows included
    EXPECT_EQ(test::allocationsSoFar() - before, 0);
    EXPECT_EQ(animpic.circles, 101 * 1000);
    EXPECT_EQ(louloupe.lastRadius, 4.0f);
    EXPECT_EQ(sim.ligne(), 52);
}
