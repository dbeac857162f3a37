#pragma once

#include <QFont>

// The face the window's frames, labels and fields ask for, falling back to a
// face with the same metrics where it is missing, then to any sans face.
QFont FormFont();

// The application's font, which menus and message boxes take: the form's faces
// at the desktop's own size.
QFont ApplicationFont();
