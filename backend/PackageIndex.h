#pragma once

#include <QFileInfoList>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// The packages of the package base in discovery order: name, lower-case name
// and picture file of each. The position of a package is its position in the
// package list of the main window; a reload only appends new names.
class PackageIndex
{
public:
    // Searches the entries (see PackageBase::folderEntries()) and appends the
    // packages whose names, without regard to case, are not known yet.
    // Returns the names found again (already known, or twice in the tree).
    QStringList addFrom(const QFileInfoList &entries);

    int size() const { return m_entries.size(); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    QString name(int position) const { return m_entries.at(position).name; }
    QString lowerName(int position) const { return m_entries.at(position).lower; }
    QString file(int position) const { return m_entries.at(position).file; }

    // Position of a package by name, exactly or else without regard to case;
    // -1 when unknown.
    int indexOf(const QString &name) const;

private:
    struct Entry
    {
        QString name;
        QString lower;
        QString file; // absolute path of the picture
    };
    QVector<Entry> m_entries;
    QHash<QString, int> m_exact;
    QHash<QString, int> m_lower;
};
