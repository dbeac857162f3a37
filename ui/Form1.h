#pragma once

#include "StarterLayout.h"
#include "StarterSettings.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
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
// starter settings being edited; RomPath and GameCode always name the ROM
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
    void showRom(const Game& game, const StarterSettings& values);
    void enableLoadedControls();
    std::optional<StarterSettings> valuesToSave();
    void showError(const std::error_code& error);
    void warn(const QString& text);

    std::unique_ptr<Ui::Form1> ui;
    FileDialogPlatform& fileDialogs;
    MessageBoxes& messageBoxes;
    std::array<QWidget*, StarterValueCount> valueControls{};
    QPointer<Form2> aboutWindow;
    std::filesystem::path RomPath;
    std::string GameCode;
};
