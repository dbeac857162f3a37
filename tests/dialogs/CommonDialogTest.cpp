#include "StandIns.h"
#include "QtFileDialogs.h"
#include "RomImage.h"
#include "clsCommonDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

namespace {

const QChar nul(u'\0');

TEST(CommonDialog, OpenOnANewObjectPassesTheCallersArguments)
{
    PersonAtTheChooser person{{{"/roms/gold.gbc"}}};
    clsCommonDialog dialog(person);
    EXPECT_EQ(dialog.ShowOpen(nullptr, "Pick", "", "GB ROMs (*.gb)|*.gb;*.gbc", 0x1804), "/roms/gold.gbc");

    const OpenFileName& asked = person.asked.at(0);
    EXPECT_EQ(asked.title, "Pick");
    EXPECT_EQ(asked.filter, QString("GB ROMs (*.gb)") + nul + "*.gb;*.gbc" + nul);
    EXPECT_EQ(asked.initialDir, "");
    EXPECT_EQ(asked.flags, 0x1804);
    EXPECT_EQ(asked.filterIndex, 0);
    EXPECT_EQ(asked.file, "");
    EXPECT_EQ(dialog.FilterIndex(), 1);
}

TEST(CommonDialog, DefaultsMatchEverythingAndAskForAnExistingFile)
{
    PersonAtTheChooser person{{{""}}};
    clsCommonDialog dialog(person);
    dialog.ShowOpen(nullptr, "Pick");
    EXPECT_EQ(person.asked.at(0).filter, QString("All Files (*.*)") + nul + "*.*" + nul);
    EXPECT_EQ(person.asked.at(0).flags, DialogFlags::fileMustExist | DialogFlags::pathMustExist
                                            | DialogFlags::hideReadOnly);
}

TEST(CommonDialog, CancelKeepsWhatTheObjectRemembers)
{
    PersonAtTheChooser person{{{""}, {"/roms/b.gbc", 2}, {""}}};
    clsCommonDialog dialog(person);
    EXPECT_EQ(dialog.ShowOpen(nullptr, "Pick"), "");
    EXPECT_EQ(dialog.FilterIndex(), 0);
    EXPECT_EQ(dialog.ShowOpen(nullptr, "Pick", "", "A|*.a|B|*.b"), "/roms/b.gbc");
    EXPECT_EQ(dialog.FilterIndex(), 2);
    EXPECT_EQ(dialog.ShowOpen(nullptr, "Pick"), "");
    EXPECT_EQ(dialog.FilterIndex(), 2);
    EXPECT_EQ(person.asked.at(2).initialDir, "/roms/b.gbc");
}

TEST(CommonDialog, ASecondOpenStartsAtTheLastChoice)
{
    PersonAtTheChooser person{{{"/roms/a/crystal.gbc", 1}, {"/roms/b/gold.gb", 1}, {"/x.gb", 1}}};
    clsCommonDialog dialog(person);
    dialog.ShowOpen(nullptr, "Pick", "", "A|*.a|B|*.b");
    dialog.ShowOpen(nullptr, "Pick");
    dialog.ShowOpen(nullptr, "Pick", "/start/here");
    EXPECT_EQ(person.asked.at(1).initialDir, "/roms/a/crystal.gbc");
    EXPECT_EQ(person.asked.at(1).filterIndex, 1) << "the entry chosen last stays selected";
    EXPECT_EQ(person.asked.at(2).initialDir, "/start/here");
}

TEST(CommonDialog, FilterIsPreparedOnce)
{
    PersonAtTheChooser person{{{""}, {""}, {""}}};
    clsCommonDialog dialog(person);
    dialog.ShowOpen(nullptr, "Pick", "", "");
    dialog.ShowOpen(nullptr, "Pick", "", "All Files (*.*)|*.*|");
    dialog.ShowOpen(nullptr, "Pick", "", "A|*.a|B|*.b;*.c");
    EXPECT_EQ(person.asked.at(0).filter, QString(nul));
    EXPECT_EQ(person.asked.at(1).filter, QString("All Files (*.*)") + nul + "*.*" + nul);
    EXPECT_EQ(person.asked.at(2).filter, QString("A") + nul + "*.a" + nul + "B" + nul + "*.b;*.c" + nul);
}

TEST(CommonDialog, LongUnicodePathsComeBackWhole)
{
    const QString deep = "/roms/" + QString(300, u'd') + QString::fromUtf8("/Pok\xC3\xA9mon \xE2\x98\x85.gbc");
    PersonAtTheChooser person{{{deep}}};
    clsCommonDialog dialog(person);
    EXPECT_EQ(dialog.ShowOpen(nullptr, "Pick"), deep);
}

TEST(CommonDialog, SaveStartsWithTheNameInAFixedField)
{
    PersonAtTheChooser person{{{"/out/a.gpl", 1}, {"/out/b.gpl", 1}, {""}}};
    clsCommonDialog dialog(person);
    EXPECT_EQ(dialog.ShowSave(nullptr, "Save", "").value(), "/out/a.gpl");
    EXPECT_EQ(person.asked.at(0).file, QString(128, nul));
    EXPECT_EQ(person.asked.at(0).flags, 0x1802);
    EXPECT_EQ(person.asked.at(0).defaultExtension, ".gpl");

    const QString full(128, u'n');
    EXPECT_EQ(dialog.ShowSave(nullptr, "Save", full).value(), "/out/b.gpl");
    EXPECT_EQ(person.asked.at(1).file, full);

    EXPECT_EQ(dialog.ShowSave(nullptr, "Save", full + "n").error(), std::errc::filename_too_long);
    EXPECT_EQ(person.asked.size(), 2u);
}

TEST(CommonDialog, SaveKeepsTheLastOpenedPathAndLeavesItsExtensionBehind)
{
    PersonAtTheChooser person{{{"/roms/gold.gbc", 1}, {"/out/x.gpl", 3}, {""}}};
    clsCommonDialog dialog(person);
    dialog.ShowOpen(nullptr, "Pick");
    EXPECT_EQ(person.asked.at(0).defaultExtension, "");
    EXPECT_EQ(dialog.ShowSave(nullptr, "Save", "x", "/out", "A|*.a|B|*.b|C|*.c").value(), "/out/x.gpl");
    EXPECT_EQ(person.asked.at(1).initialDir, "/out");
    EXPECT_EQ(dialog.FilterIndex(), 3);

    dialog.ShowOpen(nullptr, "Pick");
    EXPECT_EQ(person.asked.at(2).initialDir, "/roms/gold.gbc");
    EXPECT_EQ(person.asked.at(2).defaultExtension, ".gpl");
    EXPECT_EQ(person.asked.at(2).filterIndex, 3);
}

} // namespace

// A name typed without an ending takes the ending of the filter the person chose.
TEST(QtFileDialogs, ABareNameTakesTheChosenFiltersEnding)
{
    ScratchFolder scratch;
    QtFileDialogs platform;
    OpenFileName record;
    record.filter = QString("BPS patches") + QChar(0) + "*.bps" + QChar(0) + "IPS patches" + QChar(0) + "*.ips"
                    + QChar(0);
    record.initialDir = QString::fromStdString(scratch.File("").string());
    record.defaultExtension = ".bps";
    QTimer::singleShot(0, [] {
        QFileDialog* dialog = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            dialog = dialog ? dialog : qobject_cast<QFileDialog*>(window);
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        types->setCurrentIndex(1);
        emit types->textActivated(types->currentText()); // as a click on the entry does
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText("bare");
        QMetaObject::invokeMethod(dialog, "accept");
    });
    ASSERT_TRUE(platform.GetSaveFileName(record));
    EXPECT_TRUE(record.file.endsWith("/bare.ips")) << record.file.toStdString();
    EXPECT_EQ(record.filterIndex, 2);
}
