#ifndef N_RANDOM_H
#define N_RANDOM_H
//------------------------------------------------------------------------------
/**
    @file nrandom.h
    @ingroup Game

    The engine's random generator: a seedable linear congruential
    generator with 15-bit output, so that n_rand15() / N_RAND_MAX always
    lies in [0, 1]. The C library's rand() cannot serve here: its range
    differs between platforms (up to 2^31-1 on Linux). Main thread only;
    tests seed it to get a known sequence.
*/

/// the largest value n_rand15 returns
constexpr int N_RAND_MAX = 32767;

/// restart the sequence from a seed; the same seed gives the same sequence
void n_srand(unsigned int seed);
/// the next value of the sequence, in 0..N_RAND_MAX
int n_rand15();
/// the next value scaled to [0, 1]
float n_rand_unit();
#endif
