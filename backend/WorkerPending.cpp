// Worker: slots of subsystems that are not built yet. Each keeps its final
// signature so that the wiring and the QML that calls it are complete; the
// bodies arrive with their subsystems.
#include "backend/Worker.h"

void Worker::feederPropsToElements(QVariantList list)
{
    Q_UNUSED(list)
}

