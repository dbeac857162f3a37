#pragma once

#include <QStringList>

// The ROMs opened last, newest first, remembered between runs.
class RecentRoms {
public:
    static constexpr qsizetype limit = 8;

    QStringList Paths() const;
    void Add(const QString& path);
    void Remove(const QString& path);

private:
    void Store(QStringList paths);
};
