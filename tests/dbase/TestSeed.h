#pragma once
// The seed of a randomised test. KAVINA_SEED in the environment replays a failure; otherwise a
// fresh seed is drawn. Either way it is printed, so a failing run can be repeated.

namespace testing_support {

unsigned testSeed();

}  // namespace testing_support
