#pragma once
// The seed of a randomised test: KAVINA_SEED when set, otherwise a fresh one. It is printed,
// so a failing run can be repeated with KAVINA_SEED=<seed>.

#include <cstdio>
#include <cstdlib>
#include <random>

namespace testing_support {

inline unsigned testSeed() {
    const char* given = std::getenv("KAVINA_SEED");
    const unsigned seed = given && *given ? unsigned(std::strtoul(given, nullptr, 10)) : std::random_device{}();
    std::printf("seed %u (repeat with KAVINA_SEED=%u)\n", seed, seed);
    std::fflush(stdout);
    return seed;
}

}  // namespace testing_support
