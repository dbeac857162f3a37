#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class Form2;
}

// The About window: modeless, owned by the main window, gone once closed.
class Form2 : public QWidget {
    Q_OBJECT

public:
    explicit Form2(QWidget* owner);
    ~Form2() override;

private:
    std::unique_ptr<Ui::Form2> ui;
};
