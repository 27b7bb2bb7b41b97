#pragma once

#include <QString>
#include <QStringList>

// The serial ports the instruments can use: the stable names under
// /dev/serial/by-path, sorted.
namespace SerialPortList {

QStringList list(const QString &folder = QStringLiteral("/dev/serial/by-path"));

} // namespace SerialPortList
