#include "clsCommonDialog.h"

namespace {

constexpr QChar nul(u'\0');

// "GB ROMs (*.gb)|*.gb;*.gbc" becomes "GB ROMs (*.gb)\0*.gb;*.gbc\0".
QString PreparedFilter(QString filter)
{
    filter.replace(u'|', nul);
    if (filter.isEmpty() || filter.back() != nul)
        filter += nul;
    return filter;
}

QString UpToFirstNul(const QString& text)
{
    return text.left(text.indexOf(nul));
}

} // namespace

QString clsCommonDialog::ShowOpen(QWidget* owner, const QString& Title, const QString& InitDir,
                                  const QString& Filter, int flags)
{
    DialogRecord.owner = owner;
    DialogRecord.filter = PreparedFilter(Filter);
    DialogRecord.file.clear();
    DialogRecord.initialDir = InitDir.isEmpty() ? LastPath : InitDir;
    DialogRecord.title = Title;
    DialogRecord.flags = flags;

    const QString chosen =
        platform.GetOpenFileName(DialogRecord) ? UpToFirstNul(DialogRecord.file) : QString();
    if (!chosen.isEmpty()) {
        LastPath = chosen;
        LastFilterIndex = DialogRecord.filterIndex;
    }
    return chosen;
}

std::expected<QString, std::error_code>
clsCommonDialog::ShowSave(QWidget* owner, const QString& Title, const QString& FileName,
                          const QString& InitDir, const QString& Filter, int flags,
                          const QString& DefaultExt)
{
    if (FileName.size() > saveNameLength)
        return std::unexpected(std::make_error_code(std::errc::filename_too_long));
    DialogRecord.owner = owner;
    DialogRecord.flags = flags;
    DialogRecord.file = FileName.leftJustified(saveNameLength, nul);
    DialogRecord.filter = PreparedFilter(Filter);
    DialogRecord.initialDir = InitDir;
    DialogRecord.title = Title;
    DialogRecord.defaultExtension = DefaultExt;

    if (!platform.GetSaveFileName(DialogRecord))
        return QString();
    LastFilterIndex = DialogRecord.filterIndex;
    return UpToFirstNul(DialogRecord.file);
}
