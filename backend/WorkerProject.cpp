// Worker: project files (saving with backups, opening, the change check).
#include "backend/Worker.h"

#include "backend/Backups.h"
#include "backend/FeederFile.h"
#include "util/FileUrl.h"
#include "backend/FileValues.h"
#include "backend/IniFile.h"
#include "backend/PackageBase.h"
#include "backend/ProjectFile.h"
#include "backend/ProjectStatistics.h"
#include "util/SafeFile.h"

#include <QDebug>
#include <QFileInfo>
#include <QQuickItem>
#include <QImage>
#include <QMetaProperty>

namespace {

// Number of backups of a project beyond which the oldest one goes.
constexpr int projectBackupsKept = 10;

QString damagedProjectText(const QString &path)
{
    return Worker::tr("Файл проекта повреждён: его значения не читаются. Проект не открыт: ") + path;
}

} // namespace

// False, with the operator told and the project left unnamed (so that no
// save replaces the file), when the file's values cannot be decoded.
bool Worker::readable(QSettings &settings, const QString &path)
{
    if (FileValues::parseAll(settings))
        return true;
    emit showError(damagedProjectText(path), false, QString());
    if (FileUrl::toLocalPath(rootProperty("projectName").toString()) == path)
        setRootProperty("projectName", QString());
    return false;
}

QString Worker::changeCheckPath(const QString &fileName)
{
    if (!m_changeCheckDir || !m_changeCheckDir->isValid())
        m_changeCheckDir = std::make_unique<QTemporaryDir>();
    if (!m_changeCheckDir->isValid())
        return QString();
    return m_changeCheckDir->filePath(fileName);
}

bool Worker::isChangeCheckFile(const QString &path) const
{
    if (path == QLatin1String("/tmp/tempProject.project") || path.startsWith(QLatin1String("/tmp/tempFeeders.")))
        return true;
    return m_changeCheckDir && m_changeCheckDir->isValid()
        && QFileInfo(path).absolutePath() == QFileInfo(m_changeCheckDir->path()).absoluteFilePath();
}

void Worker::writeProject(QSettings &settings)
{
    settings.clear();
    QVariantMap device;
    for (const char *key : {"workAreaX1", "workAreaX2", "workAreaY1", "workAreaY2"})
        device.insert(QLatin1String(key), rootProperty(key));
    ProjectFile::writeDevice(settings, device);
    ProjectFile::FeederBanks banks;
    banks.b = rootProperty("feederFileB").toString();
    banks.l = rootProperty("feederFileL").toString();
    banks.u = rootProperty("feederFileU").toString();
    banks.r = rootProperty("feederFileR").toString();
    ProjectFile::writeFeederBanks(settings, banks);
    savePcb(&settings);
    saveElements(&settings);
    saveProjectLog(&settings);
    saveProjectStat(&settings);
}

void Worker::saveProject(QUrl fileName)
{
    const QString path = FileUrl::toLocalPath(fileName);
    if (path.isEmpty()) {
        emit showError(tr("Не указан файл проекта для сохранения."), false, QString());
        return;
    }
    if (!isChangeCheckFile(path))
        Backups::beforeSave(path, projectBackupsKept);
    IniFileWriter writer(path);
    writeProject(*writer.settings());
    // A value that is not a finite number never reaches the file.
    const QString refused = ProjectFile::checkWritten(*writer.settings());
    if (!refused.isEmpty()) {
        emit showError(refused, false, QString());
        return;
    }
    if (!writer.commit()) {
        emit showError(tr("Не удалось сохранить проект в файл: ") + QFileInfo(path).absoluteFilePath() + " ("
                           + writer.errorString() + ")",
                       false, QString());
    }
}

bool Worker::checkProjectHasChanges(QUrl fileName)
{
    const QString path = FileUrl::toLocalPath(fileName);
    const QString temp = changeCheckPath(QStringLiteral("tempProject.project"));
    if (path.isEmpty() || temp.isEmpty())
        return true;
    IniFileWriter writer(temp);
    writeProject(*writer.settings());
    if (!ProjectFile::checkWritten(*writer.settings()).isEmpty() || !writer.commit())
        return true;
    return IniFile::differ(temp, path, ProjectFile::isCounterKey);
}

void Worker::openProject(QUrl fileName)
{
    const QString path = FileUrl::toLocalPath(fileName);
    // What a save killed midway left beside the file goes first.
    SafeFile::removeLeftovers(path);
    if (!QFileInfo(path).isFile())
        emit showError(tr("Файл проекта не найден: ") + path, false, QString());
    QSettings settings(path, QSettings::IniFormat);
    if (!readable(settings, path))
        return;
    const QString pcbError = openPcbFrom(settings, path);
    if (!pcbError.isEmpty())
        emit showError(pcbError, false, QString());
    openElementsFrom(settings);
    openProjectStatFrom(settings);
    openProjectLogFrom(settings);
    setRootProperty("noCalcOverlaps", false);
    if (m_root && m_root->metaObject()->indexOfMethod("zoomOnPCBAndComponentsTrigger()") >= 0)
        invoke(m_root, "zoomOnPCBAndComponentsTrigger");
}

QString Worker::openPcb(QUrl projectName)
{
    const QString path = FileUrl::toLocalPath(projectName);
    QSettings settings(path, QSettings::IniFormat);
    if (!FileValues::parseAll(settings))
        return damagedProjectText(path);
    return openPcbFrom(settings, path);
}

QString Worker::openPcbFrom(QSettings &settings, const QString &projectPath)
{
    Q_UNUSED(projectPath)
    QString error;
    QVector<ProjectFile::PanelPosition> panel;
    QVector<ProjectFile::Skipped> refused;
    const QVariantMap pcb = ProjectFile::readPcb(settings, &panel, &refused);

    const QString image = pcb.value("pcbImage").toString();
    const double scale = pcb.value("pcbScale").toDouble();
    if (!image.isEmpty()) {
        const QString imagePath = FileUrl::toLocalPath(image);
        QImage picture;
        if (picture.load(imagePath)) {
            setRootProperty("pcbWidth", picture.width() * scale);
            setRootProperty("pcbHeight", picture.height() * scale);
        } else {
            error = tr("Не удалось загрузить файл изображения платы:") + imagePath;
        }
    }
    for (const ProjectFile::Skipped &r : refused)
        error += (error.isEmpty() ? QString() : QStringLiteral("\n")) + r.message;
    invoke(m_pcbMultiNonstandartInvoker, "clear");
    for (const ProjectFile::PanelPosition &p : panel)
        invoke(m_pcbMultiNonstandartInvoker, "append", {QVariantMap{{"x", p.x}, {"y", p.y}, {"rot", p.rot}}});
    for (const ProjectFile::Key &key : ProjectFile::pcbKeys())
        setRootProperty(key.name, pcb.value(QLatin1String(key.name)));
    emit pcbSetXY(pcb.value("pcbX"), pcb.value("pcbY"));
    emit pcbSetRotation(pcb.value("pcbAnchorX"), pcb.value("pcbAnchorY"), pcb.value("pcbRotation"));
    emit setFirstPcbXY();
    return error;
}

void Worker::openElements(QUrl projectName)
{
    const QString path = FileUrl::toLocalPath(projectName);
    QSettings settings(path, QSettings::IniFormat);
    if (readable(settings, path))
        openElementsFrom(settings);
}

void Worker::openElementsFrom(QSettings &settings)
{
    QVector<ProjectFile::Skipped> skipped;
    for (const QVariantMap &r : ProjectFile::readRefs(settings, &skipped)) {
        emit setRefPoint(r.value("rX"), r.value("rY"), r.value("disabled"), r.value("indiv"), r.value("type"),
                         r.value("size"), r.value("size2"), r.value("inv"), r.value("roi"),
                         r.value("templateMathCoeff"), r.value("t1"), r.value("t2"), r.value("photo"),
                         r.value("id"));
    }

    QStringList notCreated;
    QString lastName;
    int lastIndex = -1;
    bool first = true;
    for (const QVariantMap &e : ProjectFile::readElements(settings, &skipped)) {
        QString pack = e.value("pack").toString();
        if (pack.isEmpty())
            pack = PackageBase::nameFromPath(e.value(ProjectFile::packagePathKey()).toString());
        if (first || pack != lastName) {
            lastIndex = m_packages.indexOf(pack);
            lastName = pack;
            first = false;
        }
        if (lastIndex < 0) {
            notCreated.append(tr("Компонент %1 не загружен: корпус \"%2\" не найден в базе корпусов (X %3, Y %4)")
                                  .arg(e.value("designator").toString(), pack, e.value("rX").toString(),
                                       e.value("rY").toString()));
            continue;
        }
        emit createElement(lastIndex, e.value("partNumber"), e.value("model"), e.value("index"), e.value("rX"),
                           e.value("rY"), e.value("angle"), e.value("disabled"), e.value("designator"),
                           e.value("preferredRef1"), e.value("preferredRef2"),
                           FeederFile::imageToText(e.value("elPhoto")));
    }

    for (const QVariantMap &d : ProjectFile::readDots(settings, &skipped)) {
        emit setDot(d.value("model"), d.value("index"), d.value("rX"), d.value("rY"), d.value("disabled"),
                    d.value("preferredRef1"), d.value("preferredRef2"));
    }

    for (const ProjectFile::Skipped &s : skipped)
        notCreated.append(s.message);
    for (const QString &line : notCreated)
        emit errorSend(line);
    if (!notCreated.isEmpty()) {
        emit showError(tr("Часть объектов проекта не загружена (%1). Список — в окне ошибок. "
                          "Если сохранить проект, они будут потеряны.")
                           .arg(notCreated.size()),
                       false, QString());
    }

    emit calcElementRectSend();
    emit mapFeedersToElementsSend(true);
}

void Worker::savePcb(QSettings *pSettings)
{
    if (!pSettings)
        return;
    QVariantMap pcb;
    for (const ProjectFile::Key &key : ProjectFile::pcbKeys())
        pcb.insert(QLatin1String(key.name), SettingsStore::plain(rootProperty(key.name)));
    QVector<ProjectFile::PanelPosition> panel;
    for (const QVariant &entry : invoke(m_pcbMultiNonstandartInvoker, "getAll").toList()) {
        const QVariantMap p = entry.toMap();
        panel.append({p.value("x").toDouble(), p.value("y").toDouble(), p.value("rot").toDouble()});
    }
    ProjectFile::writePcb(*pSettings, pcb, panel);
}

void Worker::saveElements(QSettings *pSettings)
{
    if (!pSettings)
        return;
    // Objects of one kind share their meta-object: the property indices are
    // looked up once per meta-object instead of by name on every read.
    struct Reader
    {
        const QMetaObject *meta = nullptr;
        QVector<int> indices;
        QVariant read(QObject *object, int i) const
        {
            return indices.at(i) >= 0 ? meta->property(indices.at(i)).read(object) : QVariant();
        }
    };
    QHash<const QMetaObject *, Reader> readers;
    auto readerOf = [&readers](QObject *object, const QVector<ProjectFile::Key> &keys, const QStringList &extra) {
        const QMetaObject *meta = object->metaObject();
        auto it = readers.find(meta);
        if (it == readers.end()) {
            Reader r;
            r.meta = meta;
            for (const ProjectFile::Key &key : keys)
                r.indices.append(meta->indexOfProperty(key.name));
            for (const QString &name : extra)
                r.indices.append(meta->indexOfProperty(name.toLatin1().constData()));
            it = readers.insert(meta, r);
        }
        return *it;
    };
    auto read = [&readerOf](QObject *object, const QVector<ProjectFile::Key> &keys, const QStringList &extra,
                            QVariantList *extraValues) {
        const Reader r = readerOf(object, keys, extra);
        QVariantMap values;
        for (int i = 0; i < keys.size(); ++i)
            values.insert(QLatin1String(keys.at(i).name), SettingsStore::plain(r.read(object, i)));
        if (extraValues) {
            extraValues->clear();
            for (int i = 0; i < extra.size(); ++i)
                extraValues->append(SettingsStore::plain(r.read(object, keys.size() + i)));
        }
        return values;
    };

    // Only real objects of each kind are written (a deleted one is on its way
    // out of the list).
    QVariantList extra;
    QVector<QVariantMap> refs;
    for (QObject *object : rootObjectList("refList")) {
        QVariantMap r = read(object, ProjectFile::refKeys(), {"refId", "deleted"}, &extra);
        if (!r.value("rX").isValid() || extra.at(1).toBool())
            continue;
        r.insert("id", extra.at(0));
        refs.append(r);
    }
    QVector<QVariantMap> elements;
    elements.reserve(rootProperty("elementCount").toInt());
    for (QObject *object : rootObjectList("elementList")) {
        QVariantMap e = read(object, ProjectFile::elementKeys(), {"rot", "elementPath", "deleted"}, &extra);
        if (!e.value("rX").isValid() || !e.value("pack").isValid() || extra.at(2).toBool())
            continue;
        e.insert("angle", extra.at(0));
        e.insert(ProjectFile::packagePathKey(), extra.at(1));
        // The inspection template is a data URL in the program and a picture
        // in the file.
        e.insert("elPhoto", FeederFile::textToImage(e.value("elPhoto")));
        elements.append(e);
    }
    QVector<QVariantMap> dots;
    for (QObject *object : rootObjectList("dotList")) {
        QVariantMap d = read(object, ProjectFile::dotKeys(), {"deleted"}, &extra);
        if (!d.value("rX").isValid() || extra.at(0).toBool())
            continue;
        dots.append(d);
    }
    ProjectFile::writeRefs(*pSettings, refs);
    ProjectFile::writeElements(*pSettings, elements);
    ProjectFile::writeDots(*pSettings, dots);
}

void Worker::saveProjectLog(QSettings *pSettings)
{
    if (!pSettings)
        return;
    // One call for the whole log: it may hold ten thousand entries.
    QStringList lines;
    for (const QVariant &line : invoke(m_projectLogInvoker, "getAllLines").toList())
        lines.append(line.toString());
    ProjectFile::writeLog(*pSettings, lines);
}

QString Worker::openProjectLog(QUrl fileName)
{
    const QString path = FileUrl::toLocalPath(fileName);
    QSettings settings(path, QSettings::IniFormat);
    if (!FileValues::parseAll(settings))
        return damagedProjectText(path);
    openProjectLogFrom(settings);
    return QString();
}

void Worker::openProjectLogFrom(QSettings &settings)
{
    QVariantList entries;
    for (const QString &line : ProjectFile::readLog(settings)) {
        ProjectStatistics::LogEntry entry;
        if (ProjectStatistics::parseLogLine(line, &entry))
            entries.append(QVariantMap{{"message", entry.message}, {"time", entry.time}, {"color", entry.color}});
    }
    if (!entries.isEmpty())
        invoke(m_projectLogInvoker, "appendAll", QVariantList{QVariant(entries)});
}

void Worker::saveProjectStat(QSettings *pSettings)
{
    if (!pSettings)
        return;
    ProjectFile::writeDayStat(*pSettings, invoke(m_projectDayStatisticsMInvoker, "get").toString());
}

QString Worker::openProjectStat(QUrl fileName)
{
    const QString path = FileUrl::toLocalPath(fileName);
    QSettings settings(path, QSettings::IniFormat);
    if (!FileValues::parseAll(settings))
        return damagedProjectText(path);
    openProjectStatFrom(settings);
    return QString();
}

void Worker::openProjectStatFrom(QSettings &settings)
{
    for (const ProjectStatistics::Day &day : ProjectStatistics::parseDayStat(ProjectFile::readDayStat(settings)))
        invoke(m_projectDayStatisticsMInvoker, "append", {ProjectStatistics::dayRecord(day)});
}

void Worker::checkFeederBanksMatch(QUrl fileName)
{
    const QString path = FileUrl::toLocalPath(fileName);
    QSettings settings(path, QSettings::IniFormat);
    // A damaged file is refused here, before the open clears the board.
    if (!readable(settings, path))
        return;
    const ProjectFile::FeederBanks banks = ProjectFile::readFeederBanks(settings);
    auto existing = [](const QString &url) {
        return !url.isEmpty() && QFileInfo(FileUrl::toLocalPath(url)).isFile() ? url : QString();
    };
    emit sendPreviouslyOpenedFeederBanks(fileName, existing(banks.b), existing(banks.l), existing(banks.u),
                                         existing(banks.r));
}
