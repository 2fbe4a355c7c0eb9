#include "main/StartupTrace.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace pabuko {

namespace {

double Seconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

struct Origin {
    bool enabled = false;
    double start = 0;  // CLOCK_REALTIME seconds

    Origin() {
        const char* value = std::getenv("PABUKO_STARTUP_TRACE");
        if (value == nullptr || *value == '\0' || *value == '0') return;
        enabled = true;
        const double launch = std::strtod(value, nullptr) * 1e-9;
        const double now = Seconds(CLOCK_REALTIME);
        // Only a launch instant shortly before now is believable.
        start = launch > now - 60 && launch <= now ? launch : now;
    }
};

const Origin& TheOrigin() {
    static const Origin origin;
    return origin;
}

}  // namespace

void StartupMark(const char* what) {
    const Origin& o = TheOrigin();
    if (!o.enabled) return;
    std::fprintf(stderr, "start-up %7.1f ms (CPU %6.1f ms)  %s\n",
                 (Seconds(CLOCK_REALTIME) - o.start) * 1e3, Seconds(CLOCK_PROCESS_CPUTIME_ID) * 1e3,
                 what);
}

}  // namespace pabuko
