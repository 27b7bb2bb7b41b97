// Worker: placement list import, BOM import and the feeder list export.
#include "backend/Worker.h"

#include "backend/BomList.h"
#include "backend/FeederListExport.h"
#include "util/FileUrl.h"
#include "backend/PlacementList.h"
#include "backend/TextTable.h"
#include "util/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QQuickItem>

namespace {

// The text of a list file, or an error message for the operator.
bool readListFile(const QString &path, QString *text, QString *error)
{
    QFile file(path);
    if (!file.exists()) {
        *error = Worker::tr("Не удалось найти файл!");
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error = Worker::tr("Не удалось открыть файл!");
        return false;
    }
    *text = TextTable::decode(file.readAll());
    return true;
}

} // namespace

void Worker::openFileImport(QString name, QString delim, int elPackCol, int elPartNumberCol, int elDesigCol,
                            int elXCol, int elYCol, int elACol)
{
    QString text, error;
    if (!readListFile(FileUrl::toLocalPath(name), &text, &error)) {
        emit showError(error, false, QString());
        return;
    }
    PlacementList::Settings st;
    st.separator = PlacementList::separatorOf(delim);
    st.packCol = elPackCol;
    st.partNumberCol = elPartNumberCol;
    st.designatorCol = elDesigCol;
    st.xCol = elXCol;
    st.yCol = elYCol;
    st.angleCol = elACol;
    st.commentCol = rootProperty("importCommentCol").toInt();
    st.sideEnabled = rootProperty("importSideEnabled").toBool();
    st.side = rootProperty("importSide").toInt();
    st.sideCol = rootProperty("importSideCol").toInt();
    st.sideInverse = rootProperty("importSideInverse").toInt();
    st.boardX1 = rootProperty("boardX1").toDouble();
    st.boardY1 = rootProperty("boardY1").toDouble();

    QVector<PlacementList::Feeder> feeders;
    for (const char *bank : {"L", "R", "B", "U"}) {
        const QVariantList entries = invoke(m_feedersInvoker, QByteArray("get").append(bank).constData()).toList();
        for (int i = 0; i < entries.size(); ++i) {
            const QVariantMap f = entries.at(i).toMap();
            feeders.append({QLatin1String(bank), i, f.value("pack").toString(), f.value("partNumber").toString()});
        }
    }

    const PlacementList::Result result = PlacementList::read(text, st, feeders);
    emit showError(tr("Импортировано записей: %1.\nТипов компонентов: %2.").arg(result.accepted).arg(result.groups.size()),
                   true, QStringLiteral("notice"));
    for (const PlacementList::Group &g : result.groups) {
        QVariantList xs, ys, angles, designators;
        for (const PlacementList::Line &l : g.lines) {
            xs.append(l.x);
            ys.append(l.y);
            angles.append(l.angle);
            designators.append(l.designator);
        }
        emit addImportElement(g.pack, g.partNumber, g.designators(), int(g.lines.size()), xs, ys, angles,
                              designators, g.model, g.index, g.comment);
    }
}

void Worker::openFeederFileImport(QString name, QString delim, int feederPackCol, int feederPartNumberCol,
                                  int feederDesigCol, int feederCountCol)
{
    QString text, error;
    if (!readListFile(FileUrl::toLocalPath(name), &text, &error)) {
        emit showError(error, false, QString());
        return;
    }
    BomList::Settings st;
    st.separator = BomList::separatorOf(delim);
    st.packCol = feederPackCol;
    st.partNumberCol = feederPartNumberCol;
    st.designatorCol = feederDesigCol;
    st.countCol = feederCountCol;
    for (const BomList::Line &line : BomList::read(text, st))
        emit addImportFeeder(line.pack, line.partNumber, line.designators, line.count);
}

void Worker::feederListExportGet(QString fileURL)
{
    QString path = FileUrl::toLocalPath(fileURL);
    if (!path.endsWith(QLatin1String(".txt")))
        path += QStringLiteral(".txt");

    FeederListExport::Settings st;
    st.separatorType = rootProperty("exportSeparatorType").toInt();
    st.sortType = rootProperty("exportSortType").toInt();
    st.header = rootProperty("exportHeaderEnabled").toBool();
    st.emptyFeeders = rootProperty("exportEmptyFeeders").toBool();
    st.feeder = rootProperty("exportFeederModel").toBool();
    st.number = rootProperty("exportFeederNumber").toBool();
    st.installed = rootProperty("exportInstalledCount").toBool();
    st.toBasket = rootProperty("exportToBasketCount").toBool();
    st.designator = rootProperty("exportDesignator").toBool();
    for (const QVariant &c : SettingsStore::plain(rootProperty("exportColumnOrder")).toList())
        st.columnOrder.append(c.toString());
    const QString project = rootProperty("projectName").toString();
    st.projectName = project.isEmpty() ? QString() : QFileInfo(FileUrl::toLocalPath(project)).fileName();

    QVector<FeederListExport::Row> rows;
    for (const char *bank : {"B", "L", "U", "R"}) {
        const QVariantList entries = invoke(m_feedersInvoker, QByteArray("get").append(bank).constData()).toList();
        for (int i = 0; i < entries.size(); ++i) {
            const QVariantMap f = entries.at(i).toMap();
            FeederListExport::Row r;
            r.bank = QLatin1String(bank);
            r.number = i + 1;
            r.pack = f.value("pack").toString();
            r.partNumber = f.value("partNumber").toString();
            r.installed = f.value("setCount").toInt();
            r.toBasket = f.value("basketCount").toInt();
            r.count = invoke(m_feedersInvoker, "getFeederElementCount", {r.bank, i}).toInt();
            if (r.count > 0 || st.emptyFeeders)
                r.designators = invoke(m_feedersInvoker, "getFeederElementRefDes", {r.bank, i}).toString();
            rows.append(r);
        }
    }
    const FeederListExport::Result result = FeederListExport::write(rows, st);
    QString error;
    if (!SafeFile::write(path, result.text.toUtf8(), &error)) {
        emit showError(tr("Не удалось записать в файл!") + " " + QFileInfo(path).absoluteFilePath() + " (" + error + ")",
                       false, QString());
        return;
    }
    emit showError(tr("Экспорт завершен. Экспортировано строк: %1").arg(result.rows), true, QStringLiteral("notice"));
}
