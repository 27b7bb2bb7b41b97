#include "backend/ParkMillerRandom.h"

namespace {
constexpr long Multiplier = 16807;
constexpr long Modulus = 2147483647;
constexpr long Quotient = 127773;    // Modulus / Multiplier
constexpr long Remainder = 2836;     // Modulus % Multiplier
constexpr long Divisor = 1 + (Modulus - 1) / 32;
constexpr double Scale = 4.656612875245797e-10;
constexpr double Largest = 0.99999988;

long step(long value)
{
    const long k = value / Quotient;
    value = Multiplier * (value - k * Quotient) - Remainder * k;
    if (value < 0)
        value += Modulus;
    return value;
}
} // namespace

double ParkMillerRandom::next()
{
    if (m_seed <= 0 || m_last == 0) {
        m_seed = -m_seed < 1 ? 1 : -m_seed;
        for (int j = TableSize + 7; j >= 0; --j) {
            m_seed = step(m_seed);
            if (j < TableSize)
                m_table[j] = m_seed;
        }
        m_last = m_table[0];
    }
    m_seed = step(m_seed);
    const int j = int(m_last / Divisor);
    m_last = m_table[j];
    m_table[j] = m_seed;
    const double value = Scale * double(m_last);
    return value > Largest ? Largest : value;
}
