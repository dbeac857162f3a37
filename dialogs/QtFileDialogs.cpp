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
    dialog.setDefaultSuffix(suffix);
    if (!initialName.isEmpty())
        dialog.selectFile(initialName);

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    record.file = dialog.selectedFiles().constFirst();
    record.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
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
