#pragma once

#include <QString>

#include <expected>
#include <system_error>

class QWidget;

// Option bits of the file dialogs, numbered as the Windows dialogs number them.
namespace DialogFlags {
inline constexpr int overwritePrompt = 0x0002;
inline constexpr int hideReadOnly = 0x0004;
inline constexpr int pathMustExist = 0x0800;
inline constexpr int fileMustExist = 0x1000;
} // namespace DialogFlags

// What a file dialog is asked and what it answers. One record serves every
// call on a dialog object: a field that a call does not set keeps what the
// previous call left in it.
struct OpenFileName {
    QWidget* owner = nullptr;
    QString title;
    // Descriptions and pattern lists ("*.gb;*.gbc") alternate, each ended by a NUL.
    QString filter;
    // The initial name going in, the chosen full path coming out.
    QString file;
    QString initialDir;
    int flags = 0;
    // 1-based entry of the filter; 0 selects the first.
    int filterIndex = 0;
    QString defaultExtension;
};

// The platform's modal file chooser. Answers false when the user cancels or
// the dialog fails.
class FileDialogPlatform {
public:
    virtual ~FileDialogPlatform() = default;
    virtual bool GetOpenFileName(OpenFileName& record) = 0;
    virtual bool GetSaveFileName(OpenFileName& record) = 0;
};

// The open and save dialogs behind a small interface that remembers the last
// chosen path and filter entry between calls on the same object.
class clsCommonDialog {
public:
    explicit clsCommonDialog(FileDialogPlatform& platform) : platform(platform) {}

    // The chosen file's full path, or empty text when nothing was chosen.
    QString ShowOpen(QWidget* owner, const QString& Title, const QString& InitDir = {},
                     const QString& Filter = "All Files (*.*)|*.*|",
                     int flags = DialogFlags::fileMustExist | DialogFlags::pathMustExist
                         | DialogFlags::hideReadOnly);

    // As ShowOpen; a FileName longer than the 128-character name field is refused.
    // DefaultExt is added to a typed name that has none.
    std::expected<QString, std::error_code>
    ShowSave(QWidget* owner, const QString& Title, const QString& FileName = {},
             const QString& InitDir = {}, const QString& Filter = {},
             int flags = DialogFlags::fileMustExist | DialogFlags::pathMustExist
                 | DialogFlags::overwritePrompt,
             const QString& DefaultExt = ".gpl");

    int FilterIndex() const { return LastFilterIndex; }

    static constexpr qsizetype saveNameLength = 128;

private:
    FileDialogPlatform& platform;
    OpenFileName DialogRecord;
    QString LastPath;
    int LastFilterIndex = 0;
};
