#include "app/Grid.h"

#include <QPainter>

Grid::Grid(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    connect(this, &QQuickItem::scaleChanged, this, &Grid::onScaleChanged);
}

void Grid::paint(QPainter *painter)
{
    painter->setPen(QPen(m_color, m_penWidthF));
    painter->setRenderHint(QPainter::Antialiasing, smooth());
    const double k = m_areaScale * m_gridStep;
    if (k <= 0)
        return; // a zero or negative step would never reach the edge
    const double w = width();
    const double h = height();
    for (int i = 0; i * k < w; ++i) {
        const int x = int(i * k);
        painter->drawLine(x, int(-20 * k), x, int(h * m_areaScale + 20 * k));
    }
    for (int i = 0; i * k < h; ++i) {
        const int y = int(i * k);
        painter->drawLine(int(-20 * k), y, int(w * m_areaScale + 20 * k), y);
    }
}

void Grid::setAreaScale(double value)
{
    if (value == m_areaScale)
        return;
    m_areaScale = value;
    emit areaScaleChanged();
    update();
}

void Grid::setColor(const QColor &value)
{
    if (value == m_color)
        return;
    m_color = value;
    emit colorChanged();
    update();
}

void Grid::setPenWidthF(double value)
{
    if (value == m_penWidthF)
        return;
    m_penWidthF = value;
    emit penWidthFChanged();
    update();
}

void Grid::setGridStep(double value)
{
    if (value == m_gridStep)
        return;
    m_gridStep = value;
    emit gridStepChanged();
    update();
}

void Grid::onScaleChanged()
{
    update();
}
