// Counts the allocations of the whole test process, so that a test can check
// that a tick makes none. The program's operator new is replaced in allocations.cpp.
#pragma once

namespace molvane::test {

long allocationsSoFar();

}  // namespace molvane::test
