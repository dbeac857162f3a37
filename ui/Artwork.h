#pragma once

#include <QIcon>

// Tidewell's own icon, for its windows and the desktop's lists of them.
QIcon ProgramIcon();
