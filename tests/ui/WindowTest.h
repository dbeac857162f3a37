#pragma once

#include "Form1.h"
#include "StandIns.h"

#include <QPointer>
#include <QSettings>

#include <gtest/gtest.h>

// A shown main window whose file chooser and message boxes are stood in for.
class WindowTest : public ::testing::Test {
protected:
    // Each test starts as on a first run: no remembered settings.
    WindowTest()
    {
        QSettings().clear();
        window = new Form1(chooser, boxes);
        window->show();
    }
    ~WindowTest() override { delete window; }

    PersonAtTheChooser chooser;
    BoxWatcher boxes;
    QPointer<Form1> window;
};
