// A tick that also draws into the magnifier allocates nothing.
#include <gtest/gtest.h>

#include <QWidget>

#include "../core/allocations.h"
#include "common/grid.h"
#include "core/simulation.h"
#include "output/magnifier.h"

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
    sim.setCounts({"500", "500", "0", "0"});
    sim.setDuration(10);
    sim.restart(nullptr);
    Display display;
    display.louloupe = surface;
    sim.tickInPlace(display);  // the stamps for radius 4 are made once
    const long before = test::allocationsSoFar();
    for (int t = 0; t < 100; ++t) sim.tick(display);
    EXPECT_EQ(test::allocationsSoFar() - before, 0);
}
