#pragma once

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

private slots:
    void openRom();
    void saveRom();
    void defaultSelection();
    void about();

private:
    void fillLists();
    QComboBox* list(StarterValue value) const;
    QLineEdit* levelBox(StarterValue value) const;
    void setValue(StarterValue value, std::uint8_t byte);
    bool openRomFile(const std::filesystem::path& path);
    void refuse(const OpenRefusal& refusal);
    void showRom(const Game& game, const StarterSettings& values);
    void enableLoadedControls();
    std::optional<StarterSettings> valuesToSave();
    void reportSaveFailure(const SaveFailure& failure);
    void showError(const std::error_code& error, const QString& secondLine = {});
    void warn(const QString& text);

    std::unique_ptr<Ui::Form1> ui;
    FileDialogPlatform& fileDialogs;
    MessageBoxes& messageBoxes;
    std::array<QWidget*, StarterValueCount> valueControls{};
    QPointer<Form2> aboutWindow;
    // The ROM on screen: its RomPath and GameCode, and what Save checks before it writes.
    std::optional<OpenedRom> shownRom;
};
