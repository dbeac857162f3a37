#include "Form1.h"
#include "Form2.h"
#include "FormFont.h"
#include "QtPrinters.h"
#include "WindowTest.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

void DeleteClosedWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class AboutWindowTest : public WindowTest {
protected:
    Form2* about()
    {
        window->findChild<QAction*>("mnuAbout")->trigger();
        return window->findChild<Form2*>();
    }

    template <typename T>
    T* child(QWidget* parent, const char* name)
    {
        T* found = parent->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

TEST_F(AboutWindowTest, ShowsOneModelessWindowOwnedByTheMainWindow)
{
    Form2* first = about();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->parentWidget(), window);
    EXPECT_TRUE(first->isWindow());
    EXPECT_EQ(first->windowModality(), Qt::NonModal);
    EXPECT_EQ(first->windowHandle()->transientParent(), window->windowHandle());

    first->hide();
    EXPECT_EQ(about(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(window->findChildren<Form2*>().size(), 1);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(AboutWindowTest, IsASmallFixedWindowWithACloseBoxOnly)
{
    Form2* form = about();
    EXPECT_EQ(form->windowTitle(), "About");
    EXPECT_EQ(form->size(), QSize(356, 117));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(form->windowIcon().isNull());
}

TEST_F(AboutWindowTest, ShowsItsTextsWhereTheyBelong)
{
    Form2* form = about();
    auto* ok = child<QPushButton>(form, "Command1");
    EXPECT_EQ(ok->geometry(), QRect(264, 24, 81, 25));
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_EQ(ok->font().families(), QApplication::font().families());
    EXPECT_EQ(ok->font().pointSizeF(), QApplication::font().pointSizeF());
    EXPECT_FALSE(ok->isDefault());

    auto* picture = child<QLabel>(form, "Image1");
    EXPECT_EQ(picture->geometry(), QRect(16, 24, 32, 32));
    EXPECT_EQ(picture->pixmap().size(), QSize(32, 32));

    const std::vector<std::pair<const char*, QRect>> labels = {
        {"Label1", {112, 16, 89, 17}}, {"Label2", {96, 40, 121, 17}}, {"Label3", {16, 72, 321, 33}}};
    for (const auto& [name, geometry] : labels) {
        auto* label = child<QLabel>(form, name);
        EXPECT_EQ(label->geometry(), geometry) << name;
        EXPECT_EQ(label->font().families(), FormFont().families()) << name;
        EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 8.25) << name;
    }
    EXPECT_EQ(child<QLabel>(form, "Label1")->text(), "Tidewell v1.0");
    EXPECT_FALSE(child<QLabel>(form, "Label2")->text().isEmpty());
    auto* description = child<QLabel>(form, "Label3");
    EXPECT_EQ(description->text(),
              QString::fromUtf8("A tool to change the Hero's starter Pok\xC3\xA9mon choices and the first "
                                "Pok\xC3\xA9mon of the Hero's Rival in Gold, Silver and Crystal ROMs."));
    EXPECT_TRUE(description->wordWrap());
    EXPECT_LE(description->heightForWidth(description->width()), description->height());
}

TEST_F(AboutWindowTest, OkHasTheFocusAndAnswersEnterAndSpaceButNotEscape)
{
    QPointer<Form2> form = about();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    auto* ok = child<QPushButton>(form, "Command1");
    EXPECT_EQ(QApplication::focusWidget(), ok);
    for (QWidget* widget : form->findChildren<QWidget*>())
        if (widget != ok) {
            EXPECT_EQ(widget->focusPolicy(), Qt::NoFocus) << widget->objectName().toStdString();
        }

    QTest::keyClick(ok, Qt::Key_Escape);
    DeleteClosedWindows();
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->isVisible());

    QTest::keyClick(ok, Qt::Key_Return);
    DeleteClosedWindows();
    EXPECT_FALSE(form);

    form = about();
    QTest::keyClick(child<QPushButton>(form, "Command1"), Qt::Key_Space);
    DeleteClosedWindows();
    EXPECT_FALSE(form);
}

TEST_F(AboutWindowTest, OkAndTheCloseBoxUnloadItAndLeaveTheMainWindowAlone)
{
    QPointer<Form2> form = about();
    QTest::mouseClick(child<QPushButton>(form, "Command1"), Qt::LeftButton);
    DeleteClosedWindows();
    EXPECT_FALSE(form);
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isEnabled());

    form = about();
    form->close();
    DeleteClosedWindows();
    EXPECT_FALSE(form);
    EXPECT_TRUE(window && window->isVisible());

    EXPECT_NE(about(), nullptr) << "a fresh one comes next time";
}

TEST_F(AboutWindowTest, ExitEndsBothWindowsAtOnce)
{
    QPointer<Form2> form = about();
    window->findChild<QAction*>("mnuExit")->trigger();
    DeleteClosedWindows();
    EXPECT_FALSE(form);
    EXPECT_FALSE(window);
}

TEST_F(AboutWindowTest, MainWindowsCloseBoxEndsBothWindows)
{
    QPointer<Form2> form = about();
    window->close();
    DeleteClosedWindows();
    EXPECT_FALSE(form);
    EXPECT_FALSE(window);
}

} // namespace
