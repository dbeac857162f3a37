#include "RecentRoms.h"

#include <QDir>
#include <QMenu>
#include <QSettings>

namespace {
const QString key = QStringLiteral("recentRoms");
}

RecentRoms::RecentRoms(QMenu& menu) : QObject(&menu), menu_(menu)
{
    FillMenu();
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
    FillMenu();
}

void RecentRoms::FillMenu()
{
    menu_.clear();
    for (const QString& path : Paths()) {
        QAction* item = menu_.addAction(QDir::toNativeSeparators(path).replace('&', "&&"));
        connect(item, &QAction::triggered, this, [this, path] { emit chosen(path); });
    }
    menu_.setEnabled(!menu_.isEmpty());
}
