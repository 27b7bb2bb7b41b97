#pragma once

#include <QAbstractItemModel>
#include <QJSValue>

#include <memory>
#include <vector>

// One node of the operations tree: an operation row, a component line under
// a feeder row, or the invisible root (whose number counts the next line).
struct OpItem
{
    OpItem *parent = nullptr;
    std::vector<std::unique_ptr<OpItem>> children;
    QString op;
    int enabled = 0;
    QString opFunc;
    QString image;
    QString complete;
    QString errorCount;
    QJSValue p1;
    QJSValue p2;
    int number = 0;

    int row() const;
};

// The operations of a placement run as the job screen shows them: operation
// rows with their component lines. Published as "opModel" and "missedModel".
// Positions that name no row or line are answered with empty values and
// change nothing.
class OpModel : public QAbstractItemModel
{
    Q_OBJECT
    Q_PROPERTY(int rowCount READ topRowCount NOTIFY rowCountChanged)
    Q_PROPERTY(int lineCount READ lineCount NOTIFY lineCountChanged)
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
    ~OpModel() override;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QHash<int, QByteArray> roleNames() const override;

    int topRowCount() const;
    int lineCount() const { return m_lineCount; }

    Q_INVOKABLE void clear();
    Q_INVOKABLE void append(QJSValue obj);
    Q_INVOKABLE void appendChild(QJSValue obj);
    Q_INVOKABLE void cbClicked(QModelIndex currentIndex);
    Q_INVOKABLE void excludeAllComponents();
    Q_INVOKABLE void includeAllComponents();
    Q_INVOKABLE int getEnabled(int number, int subNumber) const;
    Q_INVOKABLE QString getOpFunc(int number) const;
    Q_INVOKABLE QJSValue getP1(int number, int subNumber) const;
    Q_INVOKABLE QJSValue getP2(int number) const;
    Q_INVOKABLE int getSubSteps(int number) const;
    Q_INVOKABLE QString getComplete(int number) const;
    Q_INVOKABLE QString getErrorCount(int number) const;
    Q_INVOKABLE int getLineNumber(int number, int subNumber) const;
    Q_INVOKABLE int getLineNumberByIndex(QModelIndex index) const;
    Q_INVOKABLE bool getIsElementByIndex(QModelIndex index) const;
    Q_INVOKABLE QJSValue getElPreviewByIndex(QModelIndex index) const;
    Q_INVOKABLE void setComplete(int number, QString newValue);
    Q_INVOKABLE void setErrorCount(int number, QString newValue);
    Q_INVOKABLE void setEnabled(int number, int subNumber, int newValue);

signals:
    void rowCountChanged();
    void lineCountChanged();

private:
    OpItem *itemAt(int number, int subNumber) const;
    OpItem *itemOf(const QModelIndex &index) const;
    QModelIndex indexOf(OpItem *item) const;
    std::unique_ptr<OpItem> makeItem(const QJSValue &obj, OpItem *parent);
    void lineAdded();
    void setAllLines(int fromA, int fromB, int to);
    void emitRowAndLines(OpItem *row);

    std::unique_ptr<OpItem> m_root;
    int m_lineCount = 0;
};
