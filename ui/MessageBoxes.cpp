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

BoxAnswer QtMessageBoxes::AskToSave(QWidget* owner, const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::Question, title, text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, owner);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save: return BoxAnswer::save;
    case QMessageBox::Discard: return BoxAnswer::discard;
    default: return BoxAnswer::cancel;
    }
}

BoxAnswer QtMessageBoxes::AskToSaveAnyway(QWidget* owner, const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Save | QMessageBox::Cancel, owner);
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Save ? BoxAnswer::save : BoxAnswer::cancel;
}
