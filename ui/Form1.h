#pragma once

#include <QMainWindow>
#include <QPointer>

#include <memory>

class Form2;

namespace Ui {
class Form1;
}

// The main window. Its fifteen value controls are the only copy of the
// starter settings being edited.
class Form1 : public QMainWindow {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

private slots:
    void openRom();
    void saveRom();
    void defaultSelection();
    void about();

private:
    void fillLists();

    std::unique_ptr<Ui::Form1> ui;
    QPointer<Form2> aboutWindow;
};
