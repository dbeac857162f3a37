#include "Catalogues.h"
#include "Form1.h"
#include "FormFont.h"
#include "QtPrinters.h"
#include "WindowTest.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct Control {
    const char* name;
    const char* kind;
    const char* container;
    QRect geometry;
    QString caption;
    bool enabled;
};

const QString pokeBall = QString::fromUtf8("Pok\xC3\xA9" "Ball");

// The window as it must look at start-up, written out apart from the form.
const std::vector<Control> startupControls = {
    {"Image1", "QLabel", "centralWidget", {0, 0, 562, 89}, "", true},
    {"Frame5", "QGroupBox", "centralWidget", {8, 96, 545, 57}, "ROM Information", false},
    {"txtName", "QLabel", "Frame5", {32, 24, 65, 17}, "Game Name:", false},
    {"headr", "QLabel", "Frame5", {104, 24, 89, 17}, "", true},
    {"txtCDE", "QLabel", "Frame5", {216, 24, 65, 17}, "Game Code:", false},
    {"txtCode", "QLabel", "Frame5", {288, 24, 65, 17}, "", true},
    {"lang", "QLabel", "Frame5", {376, 24, 57, 17}, "Language:", false},
    {"language", "QLabel", "Frame5", {432, 24, 65, 17}, "", true},
    {"Frame1", "QGroupBox", "centralWidget", {8, 160, 177, 129}, pokeBall + " 1", false},
    {"Frame3", "QGroupBox", "centralWidget", {192, 160, 177, 129}, pokeBall + " 2", false},
    {"Frame4", "QGroupBox", "centralWidget", {376, 160, 177, 129}, pokeBall + " 3", false},
    {"Frame6", "QGroupBox", "centralWidget", {8, 296, 177, 89}, "Rival's Starter 1", false},
    {"Frame7", "QGroupBox", "centralWidget", {192, 296, 177, 89}, "Rival's Starter 2", false},
    {"Frame8", "QGroupBox", "centralWidget", {376, 296, 177, 89}, "Rival's Starter 3", false},
    {"Frame2", "QGroupBox", "centralWidget", {8, 392, 545, 41}, "", true},
    {"Label2", "QLabel", "Frame1", {8, 24, 41, 17}, "Species", false},
    {"poke1", "QComboBox", "Frame1", {64, 24, 105, 23}, "", false},
    {"Label3", "QLabel", "Frame1", {8, 56, 33, 17}, "Level", false},
    {"lvl1", "QLineEdit", "Frame1", {64, 56, 41, 19}, "", false},
    {"Label4", "QLabel", "Frame1", {8, 88, 49, 17}, "Held Item", false},
    {"item1", "QComboBox", "Frame1", {64, 88, 105, 23}, "", false},
    {"Label7", "QLabel", "Frame3", {8, 24, 41, 17}, "Species", false},
    {"poke2", "QComboBox", "Frame3", {64, 24, 105, 23}, "", false},
    {"Label6", "QLabel", "Frame3", {8, 56, 33, 17}, "Level", false},
    {"lvl2", "QLineEdit", "Frame3", {64, 56, 41, 19}, "", false},
    {"Label5", "QLabel", "Frame3", {8, 88, 49, 17}, "Held Item", false},
    {"item2", "QComboBox", "Frame3", {64, 88, 105, 23}, "", false},
    {"Label10", "QLabel", "Frame4", {8, 24, 41, 17}, "Species", false},
    {"poke3", "QComboBox", "Frame4", {64, 24, 105, 23}, "", false},
    {"Label9", "QLabel", "Frame4", {8, 56, 33, 17}, "Level", false},
    {"lvl3", "QLineEdit", "Frame4", {64, 56, 41, 19}, "", false},
    {"Label8", "QLabel", "Frame4", {8, 88, 49, 17}, "Held Item", false},
    {"item3", "QComboBox", "Frame4", {64, 88, 105, 23}, "", false},
    {"Label13", "QLabel", "Frame6", {8, 24, 41, 17}, "Species", false},
    {"rival1", "QComboBox", "Frame6", {64, 24, 105, 23}, "", false},
    {"Label12", "QLabel", "Frame6", {8, 56, 33, 17}, "Level", false},
    {"rlvl1", "QLineEdit", "Frame6", {64, 56, 41, 19}, "", false},
    {"Label11", "QLabel", "Frame7", {8, 24, 41, 17}, "Species", false},
    {"rival2", "QComboBox", "Frame7", {64, 24, 105, 23}, "", false},
    {"Label14", "QLabel", "Frame7", {8, 56, 33, 17}, "Level", false},
    {"rlvl2", "QLineEdit", "Frame7", {64, 56, 41, 19}, "", false},
    {"Label15", "QLabel", "Frame8", {8, 24, 41, 17}, "Species", false},
    {"rival3", "QComboBox", "Frame8", {64, 24, 105, 23}, "", false},
    {"Label16", "QLabel", "Frame8", {8, 56, 33, 17}, "Level", false},
    {"rlvl3", "QLineEdit", "Frame8", {64, 56, 41, 19}, "", false},
    {"Label1", "QLabel", "Frame2", {200, 16, 169, 17}, "", true},
};

const QStringList focusOrder = {"poke1", "lvl1", "item1", "poke2", "lvl2", "item2",
                                "poke3", "lvl3", "item3", "rival1", "rlvl1", "rival2",
                                "rlvl2", "rival3", "rlvl3"};

const QStringList speciesLists = {"poke1", "poke2", "poke3", "rival1", "rival2", "rival3"};
const QStringList itemLists = {"item1", "item2", "item3"};
const QStringList levelBoxes = {"lvl1", "lvl2", "lvl3", "rlvl1", "rlvl2", "rlvl3"};

QString Caption(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget))
        return frame->title();
    return {};
}

// A control's own enabled setting, whatever its frame's.
bool OwnEnabled(const QWidget* widget)
{
    return !widget->testAttribute(Qt::WA_ForceDisabled);
}

class MainWindowTest : public WindowTest {
protected:
    template <typename T = QWidget>
    T* find(const QString& name) const
    {
        T* child = window->findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name.toStdString();
        return child;
    }
};

TEST_F(MainWindowTest, ControlsStandWhereTheTableSays)
{
    for (const Control& control : startupControls) {
        SCOPED_TRACE(control.name);
        const QWidget* widget = find(control.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_STREQ(widget->metaObject()->className(), control.kind);
        EXPECT_EQ(widget->parentWidget()->objectName(), control.container);
        EXPECT_EQ(widget->geometry(), control.geometry);
        if (QString(control.name) != "Label1") {
            EXPECT_EQ(Caption(widget), control.caption);
        }
        EXPECT_EQ(OwnEnabled(widget), control.enabled);
    }
    EXPECT_FALSE(find<QLabel>("Label1")->text().isEmpty());
}

TEST_F(MainWindowTest, ExactlyTheControlsThatNeedARomAreDisabledAtStartup)
{
    QSet<QString> disabled;
    for (const QWidget* widget : window->findChildren<QWidget*>())
        if (!widget->objectName().isEmpty() && !widget->objectName().startsWith("qt_") && !OwnEnabled(widget))
            disabled << widget->objectName();
    for (const QAction* action : window->findChildren<QAction*>())
        if (!action->isEnabled() && !action->objectName().isEmpty())
            disabled << action->objectName();

    // The recent list is greyed only while it is empty.
    disabled.remove("mnuRecent");
    QSet<QString> expected{"mnuSave", "mnuSaveAs", "mnuExportPatch", "mnuDefault"};
    for (const Control& control : startupControls)
        if (!control.enabled)
            expected << control.name;
    EXPECT_EQ(expected.size(), 44);
    EXPECT_EQ(disabled, expected);
}

TEST_F(MainWindowTest, WindowHasAFixedClientAreaBelowItsMenus)
{
    EXPECT_EQ(window->windowTitle(), "Tidewell");
    const QWidget* client = window->centralWidget();
    EXPECT_EQ(client->size(), QSize(562, 440));
    EXPECT_EQ(client->y(), window->menuBar()->height());
    EXPECT_EQ(window->size(), QSize(562, 440 + window->menuBar()->height()));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());

    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
}

TEST_F(MainWindowTest, MenusOfferTheCommandsWithTheirKeys)
{
    struct Item { QString name; QString text; QString keys; };
    struct Menu { QString name; QString title; std::vector<Item> items; };
    const std::vector<Menu> expected = {
        {"mnuFile", "&File", {{"mnuOpen", "Open ROM", "Ctrl+O"}, {"", "Open Recent", {}},
                              {"mnuSave", "Save ROM", "Ctrl+S"},
                              {"mnuSaveAs", QString::fromUtf8("Save ROM As\xE2\x80\xA6"), "Ctrl+Shift+S"},
                              {"mnuExportPatch", QString::fromUtf8("Export Patch\xE2\x80\xA6"), {}},
                              {"mnuBreak", "", {}}, {"mnuExit", "Exit", "Ctrl+Q"}}},
        {"mnuOptions", "&Options", {{"mnuDefault", "Default Selection", {}}, {"mnuLabText", "Update Lab Dialogue", {}},
                                    {"mnuRivalTeams", "Update Rival's Later Teams", {}}}},
        {"mnuHelp", "&Help", {{"mnuAbout", "About", {}}}},
    };
    const QList<QAction*> bar = window->menuBar()->actions();
    ASSERT_EQ(bar.size(), 3);
    for (std::size_t m = 0; m < expected.size(); ++m) {
        const QMenu* menu = bar[static_cast<qsizetype>(m)]->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->objectName(), expected[m].name);
        EXPECT_EQ(menu->title(), expected[m].title);
        const QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(expected[m].items.size()));
        for (std::size_t i = 0; i < static_cast<std::size_t>(items.size()); ++i) {
            const QAction* item = items[static_cast<qsizetype>(i)];
            const Item& want = expected[m].items[i];
            if (item->menu() != nullptr) {
                EXPECT_EQ(item->menu()->objectName(), "mnuRecent");
                EXPECT_EQ(item->menu()->title(), want.text);
                continue;
            }
            EXPECT_EQ(item->objectName(), want.name);
            EXPECT_EQ(item->text(), want.text);
            EXPECT_EQ(item->shortcut().toString(), want.keys) << want.name.toStdString();
        }
    }
    const QAction* labText = find<QAction>("mnuLabText");
    EXPECT_TRUE(labText->isCheckable() && labText->isChecked());
}

TEST_F(MainWindowTest, KeysReachTheMenusAndTheirCommands)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(find<QMenu>("mnuFile")->isVisible());
    QTest::keyClick(find<QMenu>("mnuFile"), Qt::Key_Escape);

    QTest::keySequence(window, QKeySequence("Ctrl+O"));
    EXPECT_EQ(chooser.asked.size(), 1u) << "Ctrl+O asks for a ROM";
    QTest::keySequence(window, QKeySequence("Ctrl+Q"));
    EXPECT_TRUE(window.isNull() || !window->isVisible());
}

TEST_F(MainWindowTest, ListsHoldTheWholeCatalogueAndNoSelection)
{
    for (const QString& name : speciesLists + itemLists) {
        SCOPED_TRACE(name.toStdString());
        const auto* list = find<QComboBox>(name);
        EXPECT_FALSE(list->isEditable());
        EXPECT_EQ(list->currentIndex(), -1);
        EXPECT_EQ(list->currentText(), "");
        EXPECT_EQ(list->insertPolicy(), QComboBox::InsertAtBottom);
    }
    for (const QString& name : speciesLists) {
        const auto* list = find<QComboBox>(name);
        ASSERT_EQ(list->count(), 252);
        EXPECT_EQ(list->itemText(0), "?????");
        EXPECT_EQ(list->itemText(152), "Chikorita");
        EXPECT_EQ(list->itemText(155), "Cyndaquil");
        EXPECT_EQ(list->itemText(158), "Totodile");
        EXPECT_EQ(list->itemText(251), "Celebi");
    }
    for (const QString& name : itemLists) {
        const auto* list = find<QComboBox>(name);
        ASSERT_EQ(list->count(), 256);
        EXPECT_EQ(list->itemText(5), QString::fromUtf8("Pok\xC3\xA9 Ball"));
        EXPECT_EQ(list->itemText(21), "Max Elixer");
        EXPECT_EQ(list->itemText(64), "Max Ether");
        EXPECT_EQ(list->itemText(173), "Berry");
        EXPECT_EQ(list->itemText(255), "?????");
    }
    const auto* list = find<QComboBox>("item2");
    for (int i = 0; i < list->count(); ++i)
        EXPECT_EQ(list->itemText(i).toStdString(), ItemCatalogue[static_cast<std::size_t>(i)]);
}

TEST_F(MainWindowTest, LevelBoxesTakeAnyThreeCharacters)
{
    for (const QString& name : levelBoxes) {
        auto* box = find<QLineEdit>(name);
        EXPECT_EQ(box->text(), "");
        EXPECT_EQ(box->maxLength(), 3);
        box->parentWidget()->setEnabled(true);
        box->setEnabled(true);
        QTest::keyClicks(box, "-x7!");
        EXPECT_EQ(box->text(), "-x7");
    }
}

TEST_F(MainWindowTest, TabMovesThroughTheFieldsInOrder)
{
    for (const QString& name : focusOrder)
        find(name)->setEnabled(true);
    for (const char* frame : {"Frame1", "Frame3", "Frame4", "Frame6", "Frame7", "Frame8"})
        find(frame)->setEnabled(true);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));

    find(focusOrder.first())->setFocus();
    QStringList visited;
    for (int i = 0; i < focusOrder.size(); ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(visited, focusOrder);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), focusOrder.first());
}

TEST_F(MainWindowTest, NothingTakesTheFocusAtStartup)
{
    for (const QWidget* widget : window->findChildren<QWidget*>())
        if (widget->isEnabled() && widget->isVisible() && !widget->isWindow()
            && widget->parentWidget() != window->menuBar() && widget != window->menuBar()) {
            EXPECT_FALSE(widget->focusPolicy() & Qt::TabFocus) << widget->objectName().toStdString();
        }
}

TEST_F(MainWindowTest, FieldsAreNamedByTheirCaptions)
{
    const std::vector<std::pair<QString, QString>> named = {
        {"poke1", "Species"}, {"lvl1", "Level"}, {"item1", "Held Item"}, {"poke2", "Species"},
        {"item3", "Held Item"}, {"rival1", "Species"}, {"rlvl1", "Level"}, {"rlvl3", "Level"}};
    for (const auto& [field, caption] : named) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(find(field));
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->text(QAccessible::Name), caption) << field.toStdString();
    }
}

TEST_F(MainWindowTest, TextsUseTheFormFontAndFrame2TheSystemFont)
{
    // The window as main() makes it, once the application has the form's faces.
    const QFont systemFont = QApplication::font();
    QApplication::setFont(ApplicationFont());
    delete window;
    window = new Form1(chooser, boxes);
    window->show();

    // Where the requested face is missing, one with the same metrics stands in.
    const QStringList faces = {"Arial Unicode MS", "Arial", "Liberation Sans"};
    for (const char* name : {"Frame1", "Frame5", "txtName", "headr", "Label2", "poke1", "lvl1",
                             "item3", "rlvl3", "Label1"}) {
        SCOPED_TRACE(name);
        const QFont font = find(name)->font();
        EXPECT_EQ(font.families().value(0), "@Arial Unicode MS");
        EXPECT_DOUBLE_EQ(font.pointSizeF(), 8.25);
        EXPECT_EQ(font.weight(), QFont::Normal);
        EXPECT_FALSE(font.italic() || font.underline() || font.strikeOut());
        EXPECT_TRUE(faces.contains(QFontInfo(font).family())) << QFontInfo(font).family().toStdString();
    }
    EXPECT_EQ(find("Frame2")->font(), QApplication::font());
    for (const QWidget* menu : {static_cast<QWidget*>(window->menuBar()), find("mnuFile"),
                                find("mnuOptions"), find("mnuHelp")}) {
        SCOPED_TRACE(menu->objectName().toStdString());
        const QFont font = menu->font();
        EXPECT_EQ(font, QApplication::font(menu));
        EXPECT_EQ(font.families().value(0), "@Arial Unicode MS");
        EXPECT_DOUBLE_EQ(font.pointSizeF(), systemFont.pointSizeF());
        EXPECT_TRUE(faces.contains(QFontInfo(font).family())) << QFontInfo(font).family().toStdString();
    }
    QApplication::setFont(systemFont);
}

int BluePixels(QWidget* widget, const QRect& area)
{
    const QImage image = widget->grab(area).toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.blue() > 180 && c.red() < 90 && c.green() < 90;
        }
    return count;
}

TEST_F(MainWindowTest, FrameCaptionsAreBlueOnlyWhenEnabled)
{
    auto* frame = find("Frame1");
    const QRect caption(0, 0, frame->width(), 18);
    EXPECT_EQ(BluePixels(frame, caption), 0);
    frame->setEnabled(true);
    EXPECT_GT(BluePixels(frame, caption), 20);
    EXPECT_EQ(BluePixels(find("Label2"), find("Label2")->rect()), 0);
}

TEST_F(MainWindowTest, BannerAndIconAreTheirOwnSizes)
{
    const QPixmap banner = find<QLabel>("Image1")->pixmap();
    EXPECT_EQ(banner.deviceIndependentSize().toSize(), QSize(562, 89));
    EXPECT_FALSE(banner.hasAlphaChannel());

    const QImage icon(":/icons/meganium.xpm");
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_TRUE(icon.hasAlphaChannel());
    QSet<QRgb> colours;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x)
            colours << icon.pixel(x, y);
    EXPECT_LE(colours.size(), 16);
    EXPECT_FALSE(window->windowIcon().isNull());
}

} // namespace
