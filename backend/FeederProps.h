#pragma once

#include <QStringList>

// The persistent fields of a feeder record, in file order. Also the column
// list of feeder import, export and sorting.
namespace FeederProps {
const QStringList &names();
}
