#pragma once

// Park–Miller minimal-standard generator (multiplier 16807, modulus
// 2^31 - 1, Schrage's decomposition) with a 32-entry Bays–Durham shuffle.
// A seed of zero or below refills the shuffle table, so a generator seeded
// with the same negative number always gives the same sequence.
class ParkMillerRandom
{
public:
    explicit ParkMillerRandom(long seed = -21) : m_seed(seed) {}

    // Next number in (0, 0.99999988].
    double next();

private:
    static constexpr int TableSize = 32;
    long m_seed;
    long m_last = 0;
    long m_table[TableSize] = {};
};
