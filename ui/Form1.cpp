#include "Form1.h"

#include "Banner.h"
#include "Catalogues.h"
#include "Form2.h"
#include "FormFont.h"
#include "ui_Form1.h"

#include <QApplication>
#include <QLayout>

#include <span>
#include <string_view>

namespace {

void FillList(QComboBox* list, std::span<const std::string_view> catalogue)
{
    QStringList names;
    names.reserve(static_cast<qsizetype>(catalogue.size()));
    for (std::string_view name : catalogue)
        names << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    list->addItems(names);
    list->setCurrentIndex(-1);
}

} // namespace

Form1::Form1(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                              | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                              | Qt::WindowCloseButtonHint)
    , ui(std::make_unique<Ui::Form1>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    ui->mnuFile->insertSeparator(ui->mnuExit)->setObjectName("mnuBreak");

    // The style sheet that colours the frame captions keeps fonts from passing
    // down to children, so every control gets its own.
    for (QWidget* control : ui->centralWidget->findChildren<QWidget*>())
        control->setFont(control == ui->Frame2 ? QApplication::font() : FormFont());
    ui->Image1->setPixmap(PaintBanner(devicePixelRatioF()));
    fillLists();

    connect(ui->mnuOpen, &QAction::triggered, this, &Form1::openRom);
    connect(ui->mnuSave, &QAction::triggered, this, &Form1::saveRom);
    connect(ui->mnuDefault, &QAction::triggered, this, &Form1::defaultSelection);
    connect(ui->mnuAbout, &QAction::triggered, this, &Form1::about);
    connect(ui->mnuExit, &QAction::triggered, this, &QWidget::close);
}

Form1::~Form1() = default;

void Form1::fillLists()
{
    for (QComboBox* list : {ui->poke1, ui->poke2, ui->poke3, ui->rival1, ui->rival2, ui->rival3})
        FillList(list, SpeciesCatalogue);
    for (QComboBox* list : {ui->item1, ui->item2, ui->item3})
        FillList(list, ItemCatalogue);
}

void Form1::openRom()
{
}

void Form1::saveRom()
{
}

void Form1::defaultSelection()
{
}

void Form1::about()
{
    if (!aboutWindow)
        aboutWindow = new Form2(this);
    aboutWindow->show();
    aboutWindow->raise();
    aboutWindow->activateWindow();
}
