#pragma once

#include "Form1.h"
#include "StandIns.h"

#include <QPointer>

#include <gtest/gtest.h>

// A shown main window whose file chooser and message boxes are stood in for.
class WindowTest : public ::testing::Test {
protected:
    WindowTest() : window(new Form1(chooser, boxes)) { window->show(); }
    ~WindowTest() override { delete window; }

    PersonAtTheChooser chooser;
    BoxWatcher boxes;
    QPointer<Form1> window;
};
