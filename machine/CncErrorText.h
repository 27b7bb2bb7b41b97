#pragma once

#include <QCoreApplication>
#include <QString>

#include <functional>

// Translates LinuxCNC's error texts into the operator's words. An empty
// result means the error is not shown (and causes no emergency stop).
class CncErrorText
{
    Q_DECLARE_TR_FUNCTIONS(CncErrorText)
public:
    // machineOn: asked (with a fresh status) only for soft-limit errors.
    static QString translate(const QString &text, const std::function<bool()> &machineOn);
};
