// Worker: the serial port list of the instrument settings and the freshness
// of vacuum readings.
#include "backend/Worker.h"

#include "devices/SerialPortList.h"
#include "devices/VsProtocol.h"

void Worker::serialPortInfoGet()
{
    setRootProperty("serialPortList", SerialPortList::list());
}

void Worker::vsMeasureTimeFreshCalc()
{
    // The reading's stamp comes from the same forward-only clock.
    const QVariant stamp = rootProperty("vsMeasureTime");
    bool ok = false;
    const double msecs = stamp.toDouble(&ok);
    setRootProperty("vsMeasureTimeFresh", ok && VsProtocol::isFresh(msecs, VsProtocol::clockMsecs()));
}

double Worker::vsClock() const
{
    return double(VsProtocol::clockMsecs());
}
