#pragma once

#include <QQuickImageProvider>

// Image provider "colors": reference-mark cursor pictures. The id is a colour
// "#rrggbb", a minus sign and a shape digit (0 circles, otherwise squares).
class ConcentricCircles : public QQuickImageProvider
{
public:
    ConcentricCircles();

    QPixmap requestPixmap(const QString &id, QSize *size, const QSize &requestedSize) override;

    static constexpr int kSide = 130;
};
