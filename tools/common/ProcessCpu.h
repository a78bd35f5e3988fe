// The processor time this process has used so far (user + system), for the
// benches that report a loop's share of a core.
#pragma once

#include <ctime>

namespace capzel::tools {

inline double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

}  // namespace capzel::tools
