#include "util/NozzleStateFile.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <cstdio>

namespace NozzleStateFile {

bool write(const QString &path, const State &state, QString *error)
{
    const QFileInfo info(path);
    const QString temp = info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".new");
    QByteArray text = QByteArray("valve=") + (state.valve ? "1" : "0") + "\npart=" + (state.part ? "1" : "0") + "\n";
    if (state.part && (state.rlcMode == 'R' || state.rlcMode == 'L' || state.rlcMode == 'C'))
        text += QByteArray("rlcMode=") + state.rlcMode + "\nrlcValue=" + QByteArray::number(state.rlcValue, 'g', 12) +
                "\n";
    QFile file(temp);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size() || !file.flush()) {
        if (error)
            *error = file.errorString();
        file.close();
        QFile::remove(temp);
        return false;
    }
    file.close();
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) != 0) {
        if (error)
            *error = QStringLiteral("cannot rename %1 to %2").arg(temp, path);
        QFile::remove(temp);
        return false;
    }
    return true;
}

bool read(const QString &path, State *state)
{
    *state = State();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = file.read(256).split('\n');
    bool valve = false, part = false;
    char mode = 0;
    double value = 0;
    bool valueOk = false;
    for (const QByteArray &line : lines) {
        const QByteArray l = line.trimmed();
        if (l == "valve=1")
            valve = true;
        else if (l == "part=1")
            part = true;
        else if (l == "rlcMode=R" || l == "rlcMode=L" || l == "rlcMode=C")
            mode = l.at(8);
        else if (l.startsWith("rlcValue="))
            value = l.mid(9).toDouble(&valueOk);
    }
    state->valve = valve;
    state->part = valve && part;
    if (state->part && mode && valueOk && std::isfinite(value) && value > 0) {
        state->rlcMode = mode;
        state->rlcValue = value;
    }
    return true;
}

} // namespace NozzleStateFile
