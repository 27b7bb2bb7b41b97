#include "backend/SortFilterModel.h"

#include <QDateTime>
#include <QJSValue>

SortFilterModel::SortFilterModel(QObject *parent)
    : QSortFilterProxyModel(parent)
{
    setDynamicSortFilter(true);
    connect(this, &QAbstractItemModel::rowsInserted, this, &SortFilterModel::countChanged);
    connect(this, &QAbstractItemModel::rowsRemoved, this, &SortFilterModel::countChanged);
    connect(this, &QAbstractItemModel::modelReset, this, &SortFilterModel::countChanged);
    connect(this, &QAbstractItemModel::layoutChanged, this, &SortFilterModel::countChanged);
}

void SortFilterModel::setSource(QAbstractItemModel *model)
{
    if (model == sourceModel())
        return;
    disconnect(m_rolesWatch);
    setSourceModel(model);
    m_roleCount = model ? model->roleNames().size() : 0;
    if (model) {
        m_rolesWatch = connect(model, &QAbstractItemModel::rowsInserted, this, [this]() {
            const int roles = sourceModel()->roleNames().size();
            if (roles != m_roleCount) {
                m_roleCount = roles;
                beginResetModel();
                endResetModel();
                resort();
            }
        });
    }
    resort();
    emit sourceChanged();
    emit countChanged();
}

QHash<int, QByteArray> SortFilterModel::roleNames() const
{
    return sourceModel() ? sourceModel()->roleNames() : QHash<int, QByteArray>();
}

int SortFilterModel::roleOf(const QString &name) const
{
    if (!sourceModel() || name.isEmpty())
        return -1;
    const QHash<int, QByteArray> roles = sourceModel()->roleNames();
    for (auto it = roles.constBegin(); it != roles.constEnd(); ++it) {
        if (QString::fromUtf8(it.value()) == name)
            return it.key();
    }
    return -1;
}

void SortFilterModel::resort()
{
    sort(0, m_ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void SortFilterModel::setSortRoleName(const QString &role)
{
    if (role == m_sortRole)
        return;
    m_sortRole = role;
    invalidate();
    resort();
    emit sortChanged();
}

void SortFilterModel::setAscending(bool ascending)
{
    if (ascending == m_ascending)
        return;
    m_ascending = ascending;
    resort();
    emit sortChanged();
}

void SortFilterModel::setFilterRoleName(const QString &role)
{
    if (role == m_filterRole)
        return;
    m_filterRole = role;
    invalidateFilter();
    emit filterChanged();
    emit countChanged();
}

void SortFilterModel::setFilterText(const QString &text)
{
    if (text == m_filterText)
        return;
    m_filterText = text;
    invalidateFilter();
    emit filterChanged();
    emit countChanged();
}

void SortFilterModel::setValueRole(const QString &role)
{
    if (role == m_valueRole)
        return;
    m_valueRole = role;
    invalidateFilter();
    emit filterChanged();
    emit countChanged();
}

void SortFilterModel::setAcceptedValues(const QStringList &values)
{
    if (values == m_acceptedValues)
        return;
    m_acceptedValues = values;
    invalidateFilter();
    emit filterChanged();
    emit countChanged();
}

bool SortFilterModel::filterAcceptsRow(int row, const QModelIndex &parent) const
{
    if (!sourceModel())
        return false;
    const QModelIndex index = sourceModel()->index(row, 0, parent);
    if (!m_filterText.isEmpty()) {
        const int role = roleOf(m_filterRole);
        if (role >= 0 && !sourceModel()->data(index, role).toString().contains(m_filterText, Qt::CaseInsensitive))
            return false;
    }
    if (!m_acceptedValues.isEmpty()) {
        const int role = roleOf(m_valueRole);
        if (role >= 0 && !m_acceptedValues.contains(sourceModel()->data(index, role).toString()))
            return false;
    }
    return true;
}

namespace {

QVariant plainValue(const QVariant &v)
{
    return v.userType() == qMetaTypeId<QJSValue>() ? v.value<QJSValue>().toVariant() : v;
}

} // namespace

bool SortFilterModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const int role = roleOf(m_sortRole);
    if (role < 0)
        return left.row() < right.row();
    const QVariant a = plainValue(sourceModel()->data(left, role));
    const QVariant b = plainValue(sourceModel()->data(right, role));
    if (a.type() == QVariant::DateTime || a.type() == QVariant::Date)
        return a.toDateTime() < b.toDateTime();
    bool okA = false, okB = false;
    const double da = a.toDouble(&okA);
    const double db = b.toDouble(&okB);
    if (okA && okB && a.type() != QVariant::String)
        return da < db;
    const int c = QString::localeAwareCompare(a.toString(), b.toString());
    return c != 0 ? c < 0 : left.row() < right.row();
}

QVariantMap SortFilterModel::get(int row) const
{
    QVariantMap map;
    if (row < 0 || row >= rowCount())
        return map;
    const QModelIndex i = index(row, 0);
    const QHash<int, QByteArray> roles = roleNames();
    for (auto it = roles.constBegin(); it != roles.constEnd(); ++it)
        map.insert(QString::fromUtf8(it.value()), plainValue(data(i, it.key())));
    return map;
}

int SortFilterModel::sourceRow(int row) const
{
    if (row < 0 || row >= rowCount())
        return -1;
    return mapToSource(index(row, 0)).row();
}
