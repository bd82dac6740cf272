// Runs independent steps of a batch (one file each) on the machine's cores,
// so that a folder of thousands of records is read in a fraction of the time.
#pragma once

#include <cstddef>
#include <functional>

namespace records {

// Calls step(i) once for each i in [0, count), from up to one thread per
// core, and returns when all calls are done. Steps must not touch shared
// state. The first exception a step throws is rethrown here once every
// thread has finished.
void ParallelFor(std::size_t count, const std::function<void(std::size_t)>& step);

} // namespace records
