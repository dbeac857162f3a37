#include "RecentRoms.h"

#include <QSettings>

namespace {
const QString key = QStringLiteral("recentRoms");
}

QStringList RecentRoms::Paths() const
{
    return QSettings().value(key).toStringList();
}

void RecentRoms::Add(const QString& path)
{
    QStringList paths = Paths();
    paths.removeAll(path);
    paths.prepend(path);
    Store(paths);
}

void RecentRoms::Remove(const QString& path)
{
    QStringList paths = Paths();
    paths.removeAll(path);
    Store(paths);
}

void RecentRoms::Store(QStringList paths)
{
    if (paths.size() > limit)
        paths.resize(limit);
    QSettings().setValue(key, paths);
}
