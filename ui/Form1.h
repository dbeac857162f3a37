#pragma once

#include "OutcomeBoxes.h"
#include "RecentRoms.h"
#include "RomDocument.h"

#include <QMainWindow>
#include <QPointer>

#include <filesystem>
#include <memory>
#include <optional>

class FileDialogPlatform;
class Form2;
class MessageBoxes;
class StarterControls;

namespace Ui {
class Form1;
}

// The main window: a view of the open ROM document, whose values its
// controls show and edit.
class Form1 : public QMainWindow {
    Q_OBJECT

public:
    Form1(FileDialogPlatform& fileDialogs, MessageBoxes& messageBoxes, QWidget* parent = nullptr);
    ~Form1() override;

    // Opens a ROM named from outside the menus, as Open ROM does once a file is
    // chosen: edits not yet saved are asked about first.
    void openRomFile(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private slots:
    void openRom();
    bool save();
    void saveRomAs();
    void exportPatch();
    void defaultSelection();
    void about();
    void updateModified();

private:
    // Where a file made from the shown ROM goes, as the person chose it.
    struct SaveTarget {
        std::filesystem::path path;
        int filterIndex;
    };

    void setShortcuts();
    bool canDiscardEdits();
    bool openPath(const std::filesystem::path& path);
    void showRom();
    void paintBanner();
    std::optional<StarterSettings> valuesToSave();
    SaveOptions saveOptions() const;
    std::optional<SaveTarget> askWhereToSave(const QString& title, const QString& name, const QString& filter,
                                             const QString& extension);
    void showInterruptedSave();
    void showSaved(const StarterSettings& values, const Outcome& saved);
    void openRecent(const QString& path);

    std::unique_ptr<Ui::Form1> ui;
    FileDialogPlatform& fileDialogs;
    OutcomeBoxes outcomes;
    StarterControls* controls;
    QPointer<Form2> aboutWindow;
    RecentRoms* recentRoms;
    // The ROM on screen, whose values the controls show.
    std::optional<RomDocument> document;
};
