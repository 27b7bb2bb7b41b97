#pragma once

#include "backend/ParkMillerRandom.h"

#include <vector>

// Ant colony for a short open path through a few points (the reference marks
// of a panel). Every ant starts at the start city; the colony keeps the
// shortest route any ant found. The attractiveness of a city is computed in
// logarithms, so that cities at the same spot and extreme distances give
// finite probabilities; an ant that cannot complete a route after a bounded
// number of attempts makes the whole optimisation fail.
class ACO
{
public:
    ACO(int ants, int cities, int startCity, double alpha, double beta, double q, double rho, double tauMax);
    virtual ~ACO();

    void init();
    void connectCities(int i, int j);
    void setCityPosition(int i, double x, double y);
    // Runs the iterations; false when an ant could not build a route.
    bool optimize(int iterations);

    double getBestLength() const { return m_bestLength; }
    const std::vector<int> &bestRoute() const { return m_bestRoute; }

    // Attempts an ant gets to complete one route.
    static constexpr int MaxRouteAttempts = 1000;

private:
    bool buildRoute(int ant);
    double routeLength(const std::vector<int> &route) const;
    bool routeValid(const std::vector<int> &route) const;
    void updatePheromones();

    int m_ants;
    int m_cities;
    int m_startCity;
    double m_alpha;
    double m_beta;
    double m_q;
    double m_rho;
    double m_tauMax;

    std::vector<double> m_x;
    std::vector<double> m_y;
    std::vector<std::vector<double>> m_distance;
    std::vector<std::vector<double>> m_tau;
    std::vector<std::vector<double>> m_deltaTau;
    std::vector<double> m_choiceProbability;
    std::vector<int> m_choiceCity;
    std::vector<std::vector<int>> m_routes;
    double m_bestLength = 2147483647.0;
    std::vector<int> m_bestRoute;
    ParkMillerRandom m_random{-21};
};
