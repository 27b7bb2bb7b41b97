#pragma once

#include <QByteArray>
#include <QTest>

#include <cmath>

// Passes when `actual` lies strictly within `tolerance` of `expected`
// (VERIFY_WITHIN: or at `tolerance` from it); a failure names the expression
// and both values.
#define VERIFY_NEAR(actual, expected, tolerance) VERIFY_NEAR_AS(actual, expected, <, tolerance)
#define VERIFY_WITHIN(actual, expected, tolerance) VERIFY_NEAR_AS(actual, expected, <=, tolerance)
#define VERIFY_NEAR_AS(actual, expected, within, tolerance)                                        \
    do {                                                                                           \
        const double actual_ = (actual);                                                           \
        const double expected_ = (expected);                                                       \
        QVERIFY2(std::fabs(actual_ - expected_) within(tolerance),                                 \
                 (#actual " is " + QByteArray::number(actual_, 'g', 10) + ", expected "            \
                  + QByteArray::number(expected_, 'g', 10))                                        \
                     .constData());                                                                \
    } while (false)
