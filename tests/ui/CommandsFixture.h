#pragma once

#include "ExpectedOffsets.h"
#include "GameImage.h"
#include "RomImage.h"
#include "WindowTest.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <array>
#include <filesystem>

inline const QString pokemon = QString::fromUtf8("Pok\xC3\xA9mon");

inline QString Path(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

// What the fifteen controls show: a list's selected position or a box's text.
struct Shown {
    std::array<int, StarterValueCount> positions{};
    std::array<QString, StarterValueCount> levels{};
    bool operator==(const Shown&) const = default;
};

// A main window with ROMs of its own to open and save, driven through its menus.
class CommandsTest : public WindowTest {
protected:
    using Box = BoxWatcher::Box;

    std::filesystem::path Rom(const char* name, const char* code, const StarterSettings& values) const
    {
        return scratch.Write(name, WithValuesAtReadOffsets(MakeGameRom(code), OffsetsFor(code), values));
    }

    void Open(const std::filesystem::path& path)
    {
        chooser.choices.push_back({Path(path)});
        Trigger("mnuOpen");
    }

    // Runs a menu command whose save dialog the person answers with this file and filter entry.
    void ChooseToSave(const char* action, const std::filesystem::path& path, int filterIndex = 1)
    {
        chooser.choices.push_back({Path(path), filterIndex});
        Trigger(action);
    }

    void CancelOpen()
    {
        chooser.choices.push_back({});
        Trigger("mnuOpen");
    }

    void Trigger(const char* action) { window->findChild<QAction*>(action)->trigger(); }
    bool Enabled(const char* action) const { return window->findChild<QAction*>(action)->isEnabled(); }

    QComboBox* List(StarterValue value) const
    {
        return window->findChild<QComboBox*>(QString::fromLatin1(StarterValueNames[IndexOf(value)]));
    }

    QLineEdit* LevelBox(StarterValue value) const
    {
        return window->findChild<QLineEdit*>(QString::fromLatin1(StarterValueNames[IndexOf(value)]));
    }

    QString Label(const char* name) const { return window->findChild<QLabel*>(name)->text(); }

    Shown Showing() const
    {
        Shown shown;
        for (StarterValue value : AllStarterValues) {
            if (KindOf(value) == ValueKind::level)
                shown.levels[IndexOf(value)] = LevelBox(value)->text();
            else
                shown.positions[IndexOf(value)] = List(value)->currentIndex();
        }
        return shown;
    }

    // What the window shows for these bytes, worked out without the window.
    static Shown ShownFor(const StarterSettings& values)
    {
        Shown shown;
        for (StarterValue value : AllStarterValues) {
            if (KindOf(value) == ValueKind::level)
                shown.levels[IndexOf(value)] = QString::number(values[value]);
            else
                shown.positions[IndexOf(value)] = values[value];
        }
        return shown;
    }

    void Type(StarterValue level, const QString& text)
    {
        LevelBox(level)->selectAll();
        QTest::keyClicks(LevelBox(level), text);
    }

    Box Warning(const QString& text) const { return {window, text, "Tidewell", BoxIcon::exclamation}; }
    Box Error(const QString& text, int number) const
    {
        return {window, text, "Error: " + QString::number(number), BoxIcon::none};
    }
    // After a Save that changed the rival's starters.
    static inline const QString rivalsFollow = "\nThe rival's later teams now follow the starters he was given.";
    Box Success(const QString& notes = {}) const
    {
        return {window, "Starter " + pokemon + " changed successfully!" + notes, "Tidewell", BoxIcon::information};
    }

    ScratchFolder scratch;
};

