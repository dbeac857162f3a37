#include "Artwork.h"

// Built in rather than read through the image readers, which look through
// every image plugin installed the first time they are asked for one.
#include "icons/meganium.xpm"

#include <QPixmap>

QIcon ProgramIcon()
{
    return QIcon(QPixmap(meganium_xpm));
}
