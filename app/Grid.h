#pragma once

#include <QColor>
#include <QQuickPaintedItem>

// The millimetre grid under the board view.
class Grid : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(double areaScale READ areaScale WRITE setAreaScale NOTIFY areaScaleChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
    Q_PROPERTY(double penWidthF READ penWidthF WRITE setPenWidthF NOTIFY penWidthFChanged)
    Q_PROPERTY(double gridStep READ gridStep WRITE setGridStep NOTIFY gridStepChanged)
public:
    explicit Grid(QQuickItem *parent = nullptr);

    void paint(QPainter *painter) override;

    double areaScale() const { return m_areaScale; }
    void setAreaScale(double value);
    QColor color() const { return m_color; }
    void setColor(const QColor &value);
    double penWidthF() const { return m_penWidthF; }
    void setPenWidthF(double value);
    double gridStep() const { return m_gridStep; }
    void setGridStep(double value);

public slots:
    void onScaleChanged();

signals:
    void areaScaleChanged();
    void colorChanged();
    void penWidthFChanged();
    void gridStepChanged();

private:
    double m_areaScale = 1.0;
    QColor m_color = Qt::black;
    double m_penWidthF = 1.0;
    double m_gridStep = 20.0;
};
