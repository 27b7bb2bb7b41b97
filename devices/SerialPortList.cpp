#include "devices/SerialPortList.h"

#include <QDir>

namespace SerialPortList {

QStringList list(const QString &folder)
{
    const QDir dir(folder);
    QStringList paths;
    const QStringList names = dir.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot,
                                            QDir::Name);
    for (const QString &name : names)
        paths.append(dir.absoluteFilePath(name));
    return paths;
}

} // namespace SerialPortList
