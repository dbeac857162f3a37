#pragma once

#include "RomContents.h"
#include "StarterLayout.h"
#include "StarterSettings.h"

#include <QObject>
#include <QString>

#include <expected>

#include <array>
#include <cstdint>

class QComboBox;
class QLineEdit;
class QWidget;

// The fifteen controls of a form that show the starter values, each named
// after its value: species and item lists, level boxes. They are the only copy
// of the values being edited.
class StarterControls : public QObject {
    Q_OBJECT

public:
    explicit StarterControls(QWidget& form);

    void Show(StarterValue value, std::uint8_t byte);
    void Show(const StarterSettings& values);
    ShownValues Shown() const;
    // The values shown, or what to ask of the user before they can be saved.
    std::expected<StarterSettings, QString> ValuesToSave() const;
    QComboBox* List(StarterValue value) const;

signals:
    // The user or a command changed a value.
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* LevelBox(StarterValue value) const;
    void FillLists();
    void CalmLists();

    std::array<QWidget*, StarterValueCount> controls_{};
};
