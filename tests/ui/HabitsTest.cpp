#include "CommandsFixture.h"
#include "QtPrinters.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

using enum StarterValue;

class HabitsTest : public CommandsTest {
protected:
    HabitsTest() : rom(Rom("gold.gbc", "AAUE", Numbered(1))), original(ReadAll(rom)) {}

    void Edit() { List(poke1)->setCurrentIndex(List(poke1)->currentIndex() + 1); }

    bool Closed()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window.isNull();
    }

    void Drop(const fs::path& path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(Path(path))});
        QDragEnterEvent enter({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &drop);
    }

    QStringList RecentNames() const
    {
        QStringList names;
        for (const QAction* item : window->findChild<QMenu*>("mnuRecent")->actions())
            names << QFileInfo(item->text()).fileName();
        return names;
    }

    void Wheel(QWidget* target)
    {
        QWheelEvent wheel({5, 5}, target->mapToGlobal(QPoint(5, 5)), {}, {0, -120}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
    }

    const fs::path rom;
    const Bytes original;
};

TEST_F(HabitsTest, TheCaptionMarksEditsNotYetSaved)
{
    Open(rom);
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(window->focusWidget(), List(poke1)) << "the keyboard can start at once";
    Edit();
    EXPECT_TRUE(window->isWindowModified());
    Type(lvl2, "abc");
    List(poke1)->setCurrentIndex(Numbered(1)[poke1]);
    EXPECT_TRUE(window->isWindowModified()) << "a level Save would refuse is an edit";
    Type(lvl2, QString::number(Numbered(1)[lvl2]));
    EXPECT_FALSE(window->isWindowModified());
    Edit();
    Trigger("mnuSave");
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_TRUE(window->windowTitle().endsWith("[*]"));
}

struct CloseCase {
    BoxAnswer answer;
    bool closes;
    bool saves;
};

class ClosingWithEdits : public HabitsTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingWithEdits, AsksOnceAndDoesWhatTheAnswerSays)
{
    Open(rom);
    Edit();
    boxes.answers = {GetParam().answer};
    window->close();
    EXPECT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked.at(0).text, "Save the changes to the starters of gold.gbc?");
    EXPECT_EQ(Closed(), GetParam().closes);
    EXPECT_EQ(ReadAll(rom) != original, GetParam().saves);
}

INSTANTIATE_TEST_SUITE_P(EachAnswer, ClosingWithEdits,
                         ::testing::Values(CloseCase{BoxAnswer::save, true, true},
                                           CloseCase{BoxAnswer::discard, true, false},
                                           CloseCase{BoxAnswer::cancel, false, false}));

TEST_F(HabitsTest, ASaveThatFailsKeepsTheWindowAndTheEdits)
{
    Open(rom);
    Edit();
    const Shown edited = Showing();
    WriteAll(rom, MakeRom("BYTE"));
    boxes.answers = {BoxAnswer::save};
    Trigger("mnuExit");
    EXPECT_FALSE(Closed());
    EXPECT_EQ(Showing(), edited);
    EXPECT_EQ(boxes.shown.size(), 1u) << "the warning that the ROM changed";
}

TEST_F(HabitsTest, NothingIsAskedWithoutEdits)
{
    Open(rom);
    window->close();
    EXPECT_TRUE(boxes.asked.empty());
    EXPECT_TRUE(Closed());
}

TEST_F(HabitsTest, OpeningAnotherRomAsksFirstHoweverItComes)
{
    const fs::path crystal = Rom("crystal.gbc", "BYTE", Numbered(30));
    Open(rom);
    Edit();
    const Shown edited = Showing();
    boxes.answers = {BoxAnswer::cancel, BoxAnswer::cancel, BoxAnswer::cancel};
    chooser.asked.clear();
    Open(crystal);
    window->openRomFile(Path(crystal));
    Drop(crystal);
    EXPECT_EQ(boxes.asked.size(), 3u);
    EXPECT_TRUE(chooser.asked.empty()) << "no file chooser after Cancel";
    EXPECT_EQ(Showing(), edited);

    boxes.answers = {BoxAnswer::discard};
    Drop(crystal);
    EXPECT_EQ(Showing(), ShownFor(Numbered(30)));
    EXPECT_EQ(ReadAll(rom), original);
}

TEST_F(HabitsTest, ADroppedFileGoesThroughOpen)
{
    Drop(scratch.Write("other.gbc", MakeRom("AAUX")));
    EXPECT_EQ(boxes.shown, std::vector<Box>{Warning("Unsupported ROM.")});
    Drop(rom);
    EXPECT_EQ(Showing(), ShownFor(Numbered(1)));
    EXPECT_TRUE(Enabled("mnuSave"));
}

TEST_F(HabitsTest, RecentRomsNewestFirstAndAMissingOneIsDropped)
{
    for (int i = 0; i < 9; ++i)
        Open(Rom(("rom" + std::to_string(i) + ".gbc").c_str(), "AAXE", Numbered(1)));
    Open(rom);
    EXPECT_EQ(RecentNames(), QStringList({"gold.gbc", "rom8.gbc", "rom7.gbc", "rom6.gbc", "rom5.gbc",
                                          "rom4.gbc", "rom3.gbc", "rom2.gbc"}));

    fs::remove(scratch.File("rom8.gbc"));
    window->findChild<QMenu*>("mnuRecent")->actions().at(1)->trigger();
    EXPECT_EQ(boxes.shown, std::vector<Box>{Error("No such file or directory", ENOENT)});
    EXPECT_EQ(RecentNames().size(), 7);
    EXPECT_FALSE(RecentNames().contains("rom8.gbc"));

    window->findChild<QMenu*>("mnuRecent")->actions().at(1)->trigger();
    EXPECT_EQ(Label("txtCode"), "AAXE");
    EXPECT_EQ(RecentNames().front(), "rom7.gbc");
}

TEST_F(HabitsTest, AListChangesUnderTheWheelOnlyWithFocus)
{
    Open(rom);
    QComboBox* list = List(item2);
    const int before = list->currentIndex();
    Wheel(list);
    EXPECT_EQ(list->currentIndex(), before);
    list->setFocus();
    ASSERT_TRUE(list->hasFocus() || !QApplication::focusWindow());
    if (list->hasFocus()) {
        Wheel(list);
        EXPECT_NE(list->currentIndex(), before);
    }
    EXPECT_EQ(list->view()->font(), list->font()) << "the open list uses the window's font";
}

} // namespace
