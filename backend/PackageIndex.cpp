#include "backend/PackageIndex.h"

#include "backend/PackageBase.h"

QStringList PackageIndex::addFrom(const QFileInfoList &entries)
{
    PackageBase::SearchResult found;
    PackageBase::search(entries, m_lower, found);
    for (int i = 0; i < found.names.size(); ++i) {
        const int position = m_entries.size();
        const QString &name = found.names.at(i);
        m_entries.append({name, name.toLower(), found.files.at(i)});
        m_exact.insert(name, position);
        m_lower.insert(name.toLower(), position);
    }
    return found.duplicates;
}

int PackageIndex::indexOf(const QString &name) const
{
    const auto exact = m_exact.constFind(name);
    if (exact != m_exact.constEnd())
        return exact.value();
    return m_lower.value(name.toLower(), -1);
}
