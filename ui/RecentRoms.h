#pragma once

#include <QObject>
#include <QStringList>

class QMenu;

// The ROMs opened last, newest first, remembered between runs and listed in
// a menu, which is greyed while empty.
class RecentRoms : public QObject {
    Q_OBJECT

public:
    static constexpr qsizetype limit = 8;

    explicit RecentRoms(QMenu& menu);

    QStringList Paths() const;
    void Add(const QString& path);
    void Remove(const QString& path);

signals:
    void chosen(const QString& path);

private:
    void Store(QStringList paths);
    void FillMenu();

    QMenu& menu_;
};
