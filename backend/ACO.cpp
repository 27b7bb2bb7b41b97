#include "backend/ACO.h"

#include <cmath>
#include <limits>

namespace {
// Below this a distance counts as the same spot.
constexpr double SameSpot = 1e-12;
// Shortest route length used for the pheromone deposit.
constexpr double ShortestDeposit = 1e-9;
} // namespace

ACO::ACO(int ants, int cities, int startCity, double alpha, double beta, double q, double rho, double tauMax)
    : m_ants(ants > 0 ? ants : 1)
    , m_cities(cities > 0 ? cities : 0)
    , m_startCity(startCity >= 0 && startCity < cities ? startCity : 0)
    , m_alpha(alpha)
    , m_beta(beta)
    , m_q(q)
    , m_rho(rho)
    , m_tauMax(tauMax)
{
}

ACO::~ACO() = default;

void ACO::init()
{
    const size_t n = size_t(m_cities);
    m_x.assign(n, 0.0);
    m_y.assign(n, 0.0);
    m_distance.assign(n, std::vector<double>(n, 0.0));
    m_tau.assign(n, std::vector<double>(n, 0.0));
    m_deltaTau.assign(n, std::vector<double>(n, 0.0));
    m_choiceProbability.assign(n, 0.0);
    m_choiceCity.assign(n, -1);
    m_routes.assign(size_t(m_ants), std::vector<int>(n, -1));
    m_bestLength = 2147483647.0;
    m_bestRoute.assign(n, -1);
}

void ACO::connectCities(int i, int j)
{
    if (i < 0 || j < 0 || i >= m_cities || j >= m_cities)
        return;
    const double tau = m_random.next() * m_tauMax;
    m_tau[size_t(i)][size_t(j)] = tau;
    m_tau[size_t(j)][size_t(i)] = tau;
}

void ACO::setCityPosition(int i, double x, double y)
{
    if (i < 0 || i >= m_cities)
        return;
    m_x[size_t(i)] = x;
    m_y[size_t(i)] = y;
}

double ACO::routeLength(const std::vector<int> &route) const
{
    double length = 0;
    for (size_t k = 1; k < route.size(); ++k)
        length += m_distance[size_t(route[k - 1])][size_t(route[k])];
    return length;
}

bool ACO::routeValid(const std::vector<int> &route) const
{
    std::vector<bool> seen(size_t(m_cities), false);
    for (int city : route) {
        if (city < 0 || seen[size_t(city)])
            return false;
        seen[size_t(city)] = true;
    }
    return true;
}

// One ant's route: from the current city, every city not yet taken is a
// choice with the weight tau^alpha / d^beta; a city at the current spot is
// preferred over every city farther away.
bool ACO::buildRoute(int ant)
{
    std::vector<int> &route = m_routes[size_t(ant)];
    std::vector<bool> taken(size_t(m_cities), false);
    std::vector<double> logWeight(size_t(m_cities), 0.0);
    for (int attempt = 0; attempt < MaxRouteAttempts; ++attempt) {
        std::fill(route.begin(), route.end(), -1);
        std::fill(taken.begin(), taken.end(), false);
        route[0] = m_startCity;
        taken[size_t(m_startCity)] = true;
        int current = m_startCity;
        for (int position = 1; position < m_cities; ++position) {
            int count = 0;
            bool sameSpot = false;
            for (int j = 0; j < m_cities; ++j) {
                if (j == current || taken[size_t(j)])
                    continue;
                m_choiceCity[size_t(count)] = j;
                ++count;
                sameSpot = sameSpot || m_distance[size_t(current)][size_t(j)] <= SameSpot;
            }
            if (count == 0)
                break;
            double largest = -std::numeric_limits<double>::infinity();
            for (int k = 0; k < count; ++k) {
                const size_t j = size_t(m_choiceCity[size_t(k)]);
                const double d = m_distance[size_t(current)][j];
                const double tau = m_tau[size_t(current)][j];
                double w = -std::numeric_limits<double>::infinity();
                if ((!sameSpot || d <= SameSpot) && tau > 0)
                    w = m_alpha * std::log(tau) - (sameSpot ? 0.0 : m_beta * std::log(d));
                logWeight[size_t(k)] = w;
                if (w > largest)
                    largest = w;
            }
            double sum = 0;
            for (int k = 0; k < count; ++k) {
                const double w = std::isfinite(largest) ? std::exp(logWeight[size_t(k)] - largest) : 1.0;
                m_choiceProbability[size_t(k)] = w;
                sum += w;
            }
            for (int k = 0; k < count; ++k)
                m_choiceProbability[size_t(k)] /= sum;

            const double r = m_random.next();
            double running = 0;
            int chosen = -1;
            for (int k = 0; k < count; ++k) {
                running += m_choiceProbability[size_t(k)];
                if (running >= r) {
                    chosen = m_choiceCity[size_t(k)];
                    break;
                }
            }
            if (chosen < 0)
                break;
            route[size_t(position)] = chosen;
            taken[size_t(chosen)] = true;
            current = chosen;
        }
        if (routeValid(route))
            return true;
    }
    return false;
}

void ACO::updatePheromones()
{
    for (const std::vector<int> &route : m_routes) {
        const double length = std::max(routeLength(route), ShortestDeposit);
        for (size_t k = 1; k < route.size(); ++k) {
            const size_t i = size_t(route[k - 1]);
            const size_t j = size_t(route[k]);
            m_deltaTau[i][j] += m_q / length;
            m_deltaTau[j][i] += m_q / length;
        }
    }
    for (size_t i = 0; i < size_t(m_cities); ++i) {
        for (size_t j = 0; j < size_t(m_cities); ++j) {
            m_tau[i][j] = (1.0 - m_rho) * m_tau[i][j] + m_deltaTau[i][j];
            m_deltaTau[i][j] = 0.0;
        }
    }
}

bool ACO::optimize(int iterations)
{
    if (m_cities == 0 || m_distance.size() != size_t(m_cities))
        return false;
    for (size_t i = 0; i < size_t(m_cities); ++i) {
        for (size_t j = 0; j < size_t(m_cities); ++j)
            m_distance[i][j] = std::hypot(m_x[i] - m_x[j], m_y[i] - m_y[j]);
    }
    for (int iteration = 1; iteration <= iterations; ++iteration) {
        for (int ant = 0; ant < m_ants; ++ant) {
            if (!buildRoute(ant))
                return false;
            const double length = routeLength(m_routes[size_t(ant)]);
            if (length < m_bestLength) {
                m_bestLength = length;
                m_bestRoute = m_routes[size_t(ant)];
            }
        }
        updatePheromones();
        for (std::vector<int> &route : m_routes)
            std::fill(route.begin(), route.end(), -1);
    }
    return true;
}
