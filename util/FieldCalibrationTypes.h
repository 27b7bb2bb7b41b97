#pragma once

#include <QMetaType>
#include <QPointF>
#include <QVector>

// The field-correction table: a grid of measured 2-D points, row by row.
using twoDPoint2fVector = QVector<QVector<QPointF>>;

Q_DECLARE_METATYPE(twoDPoint2fVector)
