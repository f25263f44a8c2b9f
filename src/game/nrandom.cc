//------------------------------------------------------------------------------
//  nrandom.cc
//------------------------------------------------------------------------------
#include "game/nrandom.h"

namespace
{

/// the generator's state; seeded with 1 like the C library's rand()
unsigned int randomState = 1;

}  // namespace

/*
 * n_srand --
 *     Side effects: the next n_rand15 starts the sequence of the seed.
 */
void n_srand(unsigned int seed)
{
    randomState = seed;
}

/*
 * n_rand15 --
 *     Results: the next value in 0..N_RAND_MAX. The low bits of an LCG
 *     repeat quickly, so the 15 bits are taken from the upper half.
 *     Side effects: advances the state.
 */
int n_rand15()
{
    randomState = randomState * 1103515245u + 12345u;
    return static_cast<int>((randomState >> 16) & static_cast<unsigned int>(N_RAND_MAX));
}

/*
 * n_rand_unit --
 *     Results: the next value divided by N_RAND_MAX, in [0, 1].
 *     Side effects: advances the state.
 */
float n_rand_unit()
{
    return static_cast<float>(n_rand15()) / static_cast<float>(N_RAND_MAX);
}
