#include "backend/IniFile.h"

#include "backend/FileValues.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

IniFileWriter::IniFileWriter(const QString &targetPath)
    : m_target(QFileInfo(targetPath).absoluteFilePath())
{
    const QFileInfo info(m_target);
    QTemporaryFile temp(info.absolutePath() + "/." + info.fileName() + ".XXXXXX");
    temp.setAutoRemove(false);
    if (!temp.open()) {
        m_error = temp.errorString();
        return;
    }
    m_temp = temp.fileName();
    temp.close();
    m_settings = std::make_unique<QSettings>(m_temp, QSettings::IniFormat);
}

IniFileWriter::~IniFileWriter()
{
    m_settings.reset();
    if (!m_committed && !m_temp.isEmpty())
        QFile::remove(m_temp);
}

bool IniFileWriter::commit()
{
    if (!m_settings) {
        if (m_error.isEmpty())
            m_error = QStringLiteral("no temporary file");
        return false;
    }
    m_settings->sync();
    const QSettings::Status status = m_settings->status();
    // Destroyed before the rename: a later sync must not recreate the file.
    m_settings.reset();
    if (status != QSettings::NoError) {
        m_error = status == QSettings::AccessError ? QStringLiteral("write error") : QStringLiteral("format error");
        return false;
    }
    QFile written(m_temp);
    if (!written.open(QIODevice::ReadWrite)) {
        m_error = written.errorString();
        return false;
    }
    if (::fsync(written.handle()) != 0) {
        m_error = QStringLiteral("fsync failed");
        return false;
    }
    written.close();
    const QFileInfo old(m_target);
    QFile::setPermissions(m_temp, old.exists() ? old.permissions()
                                               : QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                     | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    if (std::rename(QFile::encodeName(m_temp).constData(), QFile::encodeName(m_target).constData()) != 0) {
        m_error = QString::fromLocal8Bit(strerror(errno));
        return false;
    }
    m_committed = true;
    return true;
}

namespace IniFile {

static bool readable(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}

bool differ(const QString &pathA, const QString &pathB, const std::function<bool(const QString &key)> &ignoreValue)
{
    if (!readable(pathA) || !readable(pathB))
        return true;
    QSettings a(pathA, QSettings::IniFormat);
    QSettings b(pathB, QSettings::IniFormat);
    if (a.status() != QSettings::NoError || b.status() != QSettings::NoError || !FileValues::parseAll(a)
        || !FileValues::parseAll(b))
        return true;
    QStringList keysA = a.allKeys();
    QStringList keysB = b.allKeys();
    if (keysA.size() != keysB.size())
        return true;
    keysA.sort();
    keysB.sort();
    for (int i = 0; i < keysA.size(); ++i) {
        if (keysA.at(i) != keysB.at(i))
            return true;
        if (ignoreValue && ignoreValue(keysA.at(i)))
            continue;
        if (a.value(keysA.at(i)) != b.value(keysB.at(i)))
            return true;
    }
    return false;
}

} // namespace IniFile
