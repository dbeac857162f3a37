#include "QtFileDialogs.h"

#include <QFileDialog>

namespace {

// Qt writes an entry as "Description (*.gb *.gbc)" and, with the details
// hidden, shows the user only the description.
QStringList NameFilters(const QString& filter)
{
    const QStringList fields = filter.split(u'\0');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < fields.size() && !fields[i].isEmpty(); i += 2)
        entries << fields[i] + " (" + QString(fields[i + 1]).replace(u';', u' ') + ')';
    return entries;
}

// Which entry of the list Qt names: with the details hidden, by its description alone.
qsizetype EntryOf(const QStringList& filters, const QString& named)
{
    for (qsizetype i = 0; i < filters.size(); ++i)
        if (filters[i] == named || filters[i].startsWith(named + " ("))
            return i;
    return -1;
}

// A typed name without an ending gets the chosen filter's first one ("*.ips"
// gives "ips"), or the default where the filter names none.
QString SuffixFor(const QString& filter, qsizetype entry, const QString& fallback)
{
    const QStringList fields = filter.split(u'\0');
    const qsizetype patterns = 2 * entry + 1;
    const QString first = entry >= 0 && patterns < fields.size() ? fields[patterns].section(u';', 0, 0) : QString();
    if (first.startsWith("*.") && first.indexOf(u'*', 1) < 0 && first.indexOf(u'?') < 0)
        return first.mid(2);
    return fallback;
}

bool Run(OpenFileName& record, QFileDialog::AcceptMode mode)
{
    const QString initialName = record.file.left(record.file.indexOf(u'\0'));
    QFileDialog dialog(record.owner, record.title, record.initialDir);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(record.flags & DialogFlags::fileMustExist ? QFileDialog::ExistingFile
                                                                 : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite,
                     !(record.flags & DialogFlags::overwritePrompt));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = NameFilters(record.filter);
    dialog.setNameFilters(filters);
    if (record.filterIndex >= 1 && record.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[record.filterIndex - 1]);
    QString suffix = record.defaultExtension;
    if (suffix.startsWith(u'.'))
        suffix.remove(0, 1);
    if (!suffix.isEmpty()) {
        const auto follow = [&dialog, &record, &filters, suffix](const QString& chosen) {
            dialog.setDefaultSuffix(SuffixFor(record.filter, EntryOf(filters, chosen), suffix));
        };
        follow(dialog.selectedNameFilter());
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
    }
    if (!initialName.isEmpty())
        dialog.selectFile(initialName);

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    record.file = dialog.selectedFiles().constFirst();
    record.filterIndex = static_cast<int>(EntryOf(filters, dialog.selectedNameFilter())) + 1;
    return true;
}

} // namespace

bool QtFileDialogs::GetOpenFileName(OpenFileName& record)
{
    return Run(record, QFileDialog::AcceptOpen);
}

bool QtFileDialogs::GetSaveFileName(OpenFileName& record)
{
    return Run(record, QFileDialog::AcceptSave);
}
