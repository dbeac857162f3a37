#include "MessageBoxes.h"

#include <QMessageBox>

void QtMessageBoxes::Show(QWidget* owner, const QString& text, const QString& title, BoxIcon icon)
{
    const QMessageBox::Icon shown = icon == BoxIcon::exclamation   ? QMessageBox::Warning
                                    : icon == BoxIcon::information ? QMessageBox::Information
                                                                   : QMessageBox::NoIcon;
    QMessageBox box(shown, title, text, QMessageBox::Ok, owner);
    box.exec();
}
