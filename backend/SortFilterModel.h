#pragma once

#include <QSortFilterProxyModel>
#include <QStringList>
#include <QVariantMap>

// A sorted and filtered view of a list model for QML lists: sorted by the
// role named sortRole (the source order when empty), filtered by a text
// contained in the role filterRole (without regard to case) and by the
// accepted values of the role valueRole (all when the list is empty).
class SortFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT
    Q_PROPERTY(QAbstractItemModel *source READ sourceModel WRITE setSource NOTIFY sourceChanged)
    Q_PROPERTY(QString sortRole READ sortRoleName WRITE setSortRoleName NOTIFY sortChanged)
    Q_PROPERTY(bool ascending READ ascending WRITE setAscending NOTIFY sortChanged)
    Q_PROPERTY(QString filterRole READ filterRoleName WRITE setFilterRoleName NOTIFY filterChanged)
    Q_PROPERTY(QString filterText READ filterText WRITE setFilterText NOTIFY filterChanged)
    Q_PROPERTY(QString valueRole READ valueRole WRITE setValueRole NOTIFY filterChanged)
    Q_PROPERTY(QStringList acceptedValues READ acceptedValues WRITE setAcceptedValues NOTIFY filterChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    explicit SortFilterModel(QObject *parent = nullptr);

    void setSource(QAbstractItemModel *model);
    QString sortRoleName() const { return m_sortRole; }
    void setSortRoleName(const QString &role);
    bool ascending() const { return m_ascending; }
    void setAscending(bool ascending);
    QString filterRoleName() const { return m_filterRole; }
    void setFilterRoleName(const QString &role);
    QString filterText() const { return m_filterText; }
    void setFilterText(const QString &text);
    QString valueRole() const { return m_valueRole; }
    void setValueRole(const QString &role);
    QStringList acceptedValues() const { return m_acceptedValues; }
    void setAcceptedValues(const QStringList &values);
    int count() const { return rowCount(); }
    QHash<int, QByteArray> roleNames() const override;

    // The entry of a row as a map of its roles.
    Q_INVOKABLE QVariantMap get(int row) const;
    // The row of the source model shown at `row` (-1 when none).
    Q_INVOKABLE int sourceRow(int row) const;

signals:
    void sourceChanged();
    void sortChanged();
    void filterChanged();
    void countChanged();

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    int roleOf(const QString &name) const;
    void resort();

    QString m_sortRole;
    bool m_ascending = true;
    QString m_filterRole;
    QString m_filterText;
    QString m_valueRole;
    QStringList m_acceptedValues;
    // List models gain roles with their first entries; views learn them by a reset.
    int m_roleCount = 0;
    QMetaObject::Connection m_rolesWatch;
};
