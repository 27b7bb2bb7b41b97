#pragma once

#include <QAbstractItemModel>

// The operations of a placement run as the job screen shows them: operation
// rows with their component lines. Published as "opModel" and "missedModel".
// The rows are filled by program creation.
class OpModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    enum Roles {
        OpRole = Qt::UserRole + 1,
        EnabledRole,
        OpFuncRole,
        ImageRole,
        CompleteRole,
        ErrorCountRole,
        P1Role,
        P2Role,
        NumberRole
    };

    explicit OpModel(QObject *parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;
};
