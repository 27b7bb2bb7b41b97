#include "backend/OpModel.h"

#include <QQmlEngine>

namespace {

bool isElementLine(const OpItem *item)
{
    return item->p2.toString() == QLatin1String("element");
}

// Text of a property: an absent one reads as "undefined".
QString textOf(const QJSValue &obj, const char *name)
{
    return obj.property(QLatin1String(name)).toString();
}

} // namespace

int OpItem::row() const
{
    if (!parent)
        return 0;
    for (size_t i = 0; i < parent->children.size(); ++i) {
        if (parent->children[i].get() == this)
            return int(i);
    }
    return 0;
}

OpModel::OpModel(QObject *parent)
    : QAbstractItemModel(parent)
    , m_root(new OpItem)
{
    m_root->number = 1;
    // The models are members of their owner; no script engine may delete them.
    QQmlEngine::setObjectOwnership(this, QQmlEngine::CppOwnership);
}

OpModel::~OpModel() = default;

OpItem *OpModel::itemOf(const QModelIndex &index) const
{
    if (!index.isValid())
        return m_root.get();
    return static_cast<OpItem *>(index.internalPointer());
}

QModelIndex OpModel::indexOf(OpItem *item) const
{
    if (!item || item == m_root.get())
        return QModelIndex();
    return createIndex(item->row(), 0, item);
}

OpItem *OpModel::itemAt(int number, int subNumber) const
{
    if (number < 0 || size_t(number) >= m_root->children.size())
        return nullptr;
    OpItem *row = m_root->children[size_t(number)].get();
    if (subNumber == -1)
        return row;
    if (subNumber < 0 || size_t(subNumber) >= row->children.size())
        return nullptr;
    return row->children[size_t(subNumber)].get();
}

QModelIndex OpModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return QModelIndex();
    OpItem *p = itemOf(parent);
    if (row < 0 || size_t(row) >= p->children.size())
        return QModelIndex();
    return createIndex(row, column, p->children[size_t(row)].get());
}

QModelIndex OpModel::parent(const QModelIndex &child) const
{
    if (!child.isValid())
        return QModelIndex();
    OpItem *item = itemOf(child);
    OpItem *p = item->parent;
    if (!p || p == m_root.get())
        return QModelIndex();
    return createIndex(p->row(), 0, p);
}

int OpModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    return int(itemOf(parent)->children.size());
}

int OpModel::columnCount(const QModelIndex &parent) const
{
    Q_UNUSED(parent)
    return 1;
}

QVariant OpModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const OpItem *item = itemOf(index);
    switch (role) {
    case OpRole: return item->op;
    case EnabledRole: return item->enabled;
    case OpFuncRole: return item->opFunc;
    case ImageRole: return item->image;
    case CompleteRole: return item->complete;
    case ErrorCountRole: return item->errorCount;
    case P1Role: return item->p1.toVariant();
    case P2Role: return item->p2.toVariant();
    case NumberRole: return item->number;
    default: return QVariant();
    }
}

Qt::ItemFlags OpModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return QAbstractItemModel::flags(index);
}

QHash<int, QByteArray> OpModel::roleNames() const
{
    return {{OpRole, "op"},         {EnabledRole, "enabled"},       {OpFuncRole, "opFunc"},
            {ImageRole, "image"},   {CompleteRole, "complete"},     {ErrorCountRole, "errorCount"},
            {P1Role, "p1"},         {P2Role, "p2"},                 {NumberRole, "number"}};
}

int OpModel::topRowCount() const
{
    return int(m_root->children.size());
}

void OpModel::clear()
{
    beginResetModel();
    m_root->children.clear();
    m_root->number = 1;
    m_lineCount = 0;
    endResetModel();
    emit rowCountChanged();
    emit lineCountChanged();
}

std::unique_ptr<OpItem> OpModel::makeItem(const QJSValue &obj, OpItem *parent)
{
    std::unique_ptr<OpItem> item(new OpItem);
    item->parent = parent;
    item->op = textOf(obj, "op");
    item->enabled = obj.property(QStringLiteral("enabled")).toInt();
    item->opFunc = textOf(obj, "opFunc");
    item->image = textOf(obj, "image");
    item->complete = textOf(obj, "complete");
    if (item->complete == QLatin1String("undefined"))
        item->complete.clear();
    item->errorCount = textOf(obj, "errorCount");
    if (item->errorCount == QLatin1String("undefined"))
        item->errorCount.clear();
    item->p1 = obj.property(QStringLiteral("p1"));
    item->p2 = obj.property(QStringLiteral("p2"));
    item->number = m_root->number++;
    return item;
}

void OpModel::lineAdded()
{
    ++m_lineCount;
    emit lineCountChanged();
}

void OpModel::append(QJSValue obj)
{
    const int row = int(m_root->children.size());
    beginInsertRows(QModelIndex(), row, row);
    m_root->children.push_back(makeItem(obj, m_root.get()));
    endInsertRows();
    emit rowCountChanged();
    lineAdded();
}

void OpModel::appendChild(QJSValue obj)
{
    if (m_root->children.empty()) {
        qWarning("OpModel: a line cannot be added before its row");
        return;
    }
    OpItem *row = m_root->children.back().get();
    const int line = int(row->children.size());
    beginInsertRows(indexOf(row), line, line);
    row->children.push_back(makeItem(obj, row));
    endInsertRows();
    lineAdded();
}

void OpModel::emitRowAndLines(OpItem *row)
{
    const QModelIndex rowIndex = indexOf(row);
    emit dataChanged(rowIndex, rowIndex);
    if (!row->children.empty()) {
        emit dataChanged(index(0, 0, rowIndex), index(int(row->children.size()) - 1, 0, rowIndex));
    }
}

void OpModel::cbClicked(QModelIndex currentIndex)
{
    if (!currentIndex.isValid() || currentIndex.model() != this)
        return;
    OpItem *item = itemOf(currentIndex);
    if (!currentIndex.parent().isValid()) {
        if (item->enabled == 1 || item->enabled == 3)
            item->enabled = 0;
        else if (item->enabled == 0)
            item->enabled = 1;
        const QModelIndex rowIndex = indexOf(item);
        emit dataChanged(rowIndex, rowIndex);
        if (item->children.empty())
            return;
        for (auto &line : item->children) {
            line->enabled = item->enabled;
            if (line->p1.isObject())
                line->p1.setProperty(QStringLiteral("disabledTemp"), item->enabled == 0);
        }
        emit dataChanged(index(0, 0, rowIndex), index(int(item->children.size()) - 1, 0, rowIndex));
        return;
    }

    if (item->enabled == 1)
        item->enabled = 0;
    else if (item->enabled == 0)
        item->enabled = 1;
    if (item->p1.isObject())
        item->p1.setProperty(QStringLiteral("disabledTemp"), item->enabled == 0);
    const QModelIndex lineIndex = indexOf(item);
    emit dataChanged(lineIndex, lineIndex);

    OpItem *row = item->parent;
    bool anyOff = false;
    bool anyOn = false;
    for (const auto &line : row->children) {
        anyOff = anyOff || line->enabled == 0;
        anyOn = anyOn || line->enabled == 1;
    }
    if (!anyOff && anyOn)
        row->enabled = 1;
    else if (anyOff && anyOn)
        row->enabled = 3;
    else
        row->enabled = 0;
    const QModelIndex rowIndex = indexOf(row);
    emit dataChanged(rowIndex, rowIndex);
}

// Rows with lines whose value is fromA or fromB take `to`, and so do their lines.
void OpModel::setAllLines(int fromA, int fromB, int to)
{
    for (auto &row : m_root->children) {
        if (row->children.empty())
            continue;
        if (row->enabled == fromA || row->enabled == fromB)
            row->enabled = to;
        for (auto &line : row->children)
            line->enabled = row->enabled;
        emitRowAndLines(row.get());
    }
}

void OpModel::excludeAllComponents()
{
    setAllLines(1, 3, 0);
}

void OpModel::includeAllComponents()
{
    setAllLines(0, 3, 1);
}

int OpModel::getEnabled(int number, int subNumber) const
{
    const OpItem *item = itemAt(number, subNumber);
    return item ? item->enabled : 0;
}

QString OpModel::getOpFunc(int number) const
{
    const OpItem *item = itemAt(number, -1);
    return item ? item->opFunc : QString();
}

QJSValue OpModel::getP1(int number, int subNumber) const
{
    const OpItem *item = itemAt(number, subNumber);
    return item ? item->p1 : QJSValue();
}

QJSValue OpModel::getP2(int number) const
{
    const OpItem *item = itemAt(number, -1);
    return item ? item->p2 : QJSValue();
}

int OpModel::getSubSteps(int number) const
{
    const OpItem *item = itemAt(number, -1);
    return item ? int(item->children.size()) : 0;
}

QString OpModel::getComplete(int number) const
{
    const OpItem *item = itemAt(number, -1);
    return item ? item->complete : QString();
}

QString OpModel::getErrorCount(int number) const
{
    const OpItem *item = itemAt(number, -1);
    return item ? item->errorCount : QString();
}

int OpModel::getLineNumber(int number, int subNumber) const
{
    const OpItem *item = itemAt(number, subNumber);
    return item ? item->number : 0;
}

int OpModel::getLineNumberByIndex(QModelIndex index) const
{
    if (!index.isValid() || index.model() != this)
        return 0;
    return itemOf(index)->number;
}

bool OpModel::getIsElementByIndex(QModelIndex index) const
{
    if (!index.isValid() || index.model() != this)
        return false;
    const OpItem *item = itemOf(index);
    return item->opFunc == QLatin1String("setupFeeder") || isElementLine(item);
}

QJSValue OpModel::getElPreviewByIndex(QModelIndex index) const
{
    if (!index.isValid() || index.model() != this)
        return QJSValue();
    const OpItem *item = itemOf(index);
    return isElementLine(item) ? item->p1 : QJSValue();
}

void OpModel::setComplete(int number, QString newValue)
{
    OpItem *item = itemAt(number, -1);
    if (!item)
        return;
    item->complete = newValue;
    const QModelIndex i = indexOf(item);
    emit dataChanged(i, i);
}

void OpModel::setErrorCount(int number, QString newValue)
{
    OpItem *item = itemAt(number, -1);
    if (!item)
        return;
    item->errorCount = newValue;
    const QModelIndex i = indexOf(item);
    emit dataChanged(i, i);
}

void OpModel::setEnabled(int number, int subNumber, int newValue)
{
    OpItem *line = itemAt(number, subNumber);
    if (!line || subNumber < 0)
        return;
    line->enabled = (newValue == 0 || newValue == 1) ? newValue : 0;
    OpItem *row = line->parent;
    bool anyOn = false;
    bool anyOff = false;
    for (const auto &l : row->children) {
        anyOn = anyOn || l->enabled != 0;
        anyOff = anyOff || l->enabled == 0;
    }
    row->enabled = anyOn && anyOff ? 3 : (anyOn ? 1 : 0);
    const QModelIndex rowIndex = indexOf(row);
    emit dataChanged(rowIndex, rowIndex);
    const QModelIndex lineIndex = indexOf(line);
    emit dataChanged(lineIndex, lineIndex);
}
