#pragma once

#include <QString>

class QWidget;

enum class BoxIcon { none, exclamation, information };

enum class BoxAnswer { save, discard, cancel };

// Every message to the user: a modal box with one OK button, owned by the
// window, that the command waits on.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void Show(QWidget* owner, const QString& text, const QString& title, BoxIcon icon) = 0;
    // Whether to save unsaved changes first: Save, Discard or Cancel.
    virtual BoxAnswer AskToSave(QWidget* owner, const QString& text, const QString& title) = 0;
    // Whether to save in spite of a warning: Save or Cancel.
    virtual BoxAnswer AskToSaveAnyway(QWidget* owner, const QString& text, const QString& title) = 0;
};

class QtMessageBoxes final : public MessageBoxes {
public:
    void Show(QWidget* owner, const QString& text, const QString& title, BoxIcon icon) override;
    BoxAnswer AskToSave(QWidget* owner, const QString& text, const QString& title) override;
    BoxAnswer AskToSaveAnyway(QWidget* owner, const QString& text, const QString& title) override;
};
