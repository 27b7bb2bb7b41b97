#include "backend/OpModel.h"

OpModel::OpModel(QObject *parent)
    : QAbstractItemModel(parent)
{
}

QModelIndex OpModel::index(int row, int column, const QModelIndex &parent) const
{
    Q_UNUSED(row)
    Q_UNUSED(column)
    Q_UNUSED(parent)
    return QModelIndex();
}

QModelIndex OpModel::parent(const QModelIndex &child) const
{
    Q_UNUSED(child)
    return QModelIndex();
}

int OpModel::rowCount(const QModelIndex &parent) const
{
    Q_UNUSED(parent)
    return 0;
}

int OpModel::columnCount(const QModelIndex &parent) const
{
    Q_UNUSED(parent)
    return 1;
}

QVariant OpModel::data(const QModelIndex &index, int role) const
{
    Q_UNUSED(index)
    Q_UNUSED(role)
    return QVariant();
}

QHash<int, QByteArray> OpModel::roleNames() const
{
    return {{OpRole, "op"},         {EnabledRole, "enabled"},       {OpFuncRole, "opFunc"},
            {ImageRole, "image"},   {CompleteRole, "complete"},     {ErrorCountRole, "errorCount"},
            {P1Role, "p1"},         {P2Role, "p2"},                 {NumberRole, "number"}};
}
