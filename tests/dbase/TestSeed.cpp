#include "TestSeed.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace testing_support {

unsigned testSeed() {
    unsigned seed = 0;
    if (const char* given = std::getenv("KAVINA_SEED"); given && *given)
        seed = unsigned(std::strtoul(given, nullptr, 10));
    else
        seed = std::random_device{}();
    std::printf("random seed %u (replay with KAVINA_SEED=%u)\n", seed, seed);
    std::fflush(stdout);
    return seed;
}

}  // namespace testing_support
