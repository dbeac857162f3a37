#pragma once

#include "Banner.h"
#include "RecentRoms.h"
#include "RomSession.h"
#include "StarterLayout.h"
#include "StarterSettings.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

class FileDialogPlatform;
class Form2;
class MessageBoxes;
class QComboBox;
class QLineEdit;
struct Game;

namespace Ui {
class Form1;
}

// The main window. Its fifteen value controls are the only copy of the
// starter settings being edited; the ROM it remembers is always the one
// whose values they show.
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
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void openRom();
    void saveRom();
    void saveRomAs();
    void exportPatch();
    void defaultSelection();
    void about();
    void updateModified();

private:
    // What the value controls hold; a level that Save would refuse, or a list
    // with no entry chosen, leaves its byte unknown.
    struct ControlValues {
        StarterSettings values;
        bool levelsValid = true;
        bool everyListChosen = true;
    };

    // Where a file made from the shown ROM goes, as the person chose it.
    struct SaveTarget {
        QString path;
        int filterIndex;
    };

    void fillLists();
    void calmLists();
    void setShortcuts();
    QComboBox* list(StarterValue value) const;
    QLineEdit* levelBox(StarterValue value) const;
    void setValue(StarterValue value, std::uint8_t byte);
    bool canDiscardEdits();
    bool openPath(const std::filesystem::path& path);
    void refuse(const OpenRefusal& refusal);
    void showRom(const Game& game, const StarterSettings& values);
    void enableLoadedControls();
    void paintBanner();
    ControlValues readControls() const;
    std::optional<StarterSettings> valuesToSave();
    SaveOptions saveOptions() const;
    bool save();
    std::optional<SaveTarget> askWhereToSave(const QString& title, const QString& name, const QString& filter,
                                             const QString& extension);
    void showSaved(const StarterSettings& values, const SavePlan& plan);
    void reportSaveFailure(const SaveFailure& failure);
    void showError(const std::error_code& error, const QString& secondLine = {});
    void warn(const QString& text);
    void rememberRecent(const std::filesystem::path& path);
    void fillRecentMenu();
    void openRecent(const QString& path);

    std::unique_ptr<Ui::Form1> ui;
    FileDialogPlatform& fileDialogs;
    MessageBoxes& messageBoxes;
    std::array<QWidget*, StarterValueCount> valueControls{};
    QPointer<Form2> aboutWindow;
    RecentRoms recentRoms;
    // The ROM on screen: its RomPath and GameCode, and what Save checks before it writes.
    std::optional<OpenedRom> shownRom;
    StarterBanner banner;
};
