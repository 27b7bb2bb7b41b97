#pragma once

#include <QString>
#include <QStringList>

// Shared helpers of the test programs.
namespace TestSupport {

// Prepares a headless environment before the application object exists:
// offscreen platform, software Qt Quick, a private XDG_RUNTIME_DIR.
void prepareHeadlessEnvironment();

// Messages (warnings and worse) that Qt or QML printed since the last reset;
// collected by a message handler installed by installMessageCollector().
void installMessageCollector();
QStringList collectedWarnings();
void resetCollectedWarnings();

} // namespace TestSupport
