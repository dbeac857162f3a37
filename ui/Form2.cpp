#include "Form2.h"

#include "FormFont.h"
#include "ui_Form2.h"

#include <QApplication>

Form2::Form2(QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                         | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , ui(std::make_unique<Ui::Form2>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(FormFont());
    ui->Command1->setFont(QApplication::font());
    ui->Command1->setFocus();
    connect(ui->Command1, &QPushButton::clicked, this, &QWidget::close);
}

Form2::~Form2() = default;
