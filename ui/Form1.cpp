#include "Form1.h"

#include "Banner.h"
#include "Catalogues.h"
#include "Form2.h"
#include "FormFont.h"
#include "GameIdentification.h"
#include "MessageBoxes.h"
#include "RomErrors.h"
#include "clsCommonDialog.h"
#include "ui_Form1.h"

#include <QApplication>
#include <QFileInfo>
#include <QLayout>

#include <span>
#include <string_view>

namespace {

const QString programTitle = QStringLiteral("Tidewell");

// Enabled one after the other once a ROM is shown; exactly the controls that
// start disabled.
constexpr std::array<const char*, 42> loadedStateControls{
    "mnuSave", "Frame5", "mnuDefault", "txtName", "txtCDE", "lang",
    "Frame1", "Frame3", "Frame4", "Frame6", "Frame7", "Frame8",
    "Label2", "Label3", "Label4", "Label5", "Label6", "Label7", "Label8",
    "Label9", "Label10", "Label11", "Label12", "Label13", "Label14", "Label15", "Label16",
    "poke1", "poke2", "poke3", "rival1", "rival2", "rival3",
    "lvl1", "lvl2", "lvl3", "rlvl1", "rlvl2", "rlvl3",
    "item1", "item2", "item3",
};

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void FillList(QComboBox* list, std::span<const std::string_view> catalogue)
{
    QStringList names;
    names.reserve(static_cast<qsizetype>(catalogue.size()));
    for (std::string_view name : catalogue)
        names << FromUtf8(name);
    list->addItems(names);
    list->setCurrentIndex(-1);
}

} // namespace

Form1::Form1(FileDialogPlatform& fileDialogs, MessageBoxes& messageBoxes, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                              | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                              | Qt::WindowCloseButtonHint)
    , ui(std::make_unique<Ui::Form1>())
    , fileDialogs(fileDialogs)
    , messageBoxes(messageBoxes)
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
    for (std::size_t i = 0; i < StarterValueCount; ++i)
        valueControls[i] = findChild<QWidget*>(FromUtf8(StarterValueNames[i]));
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
    for (StarterValue value : AllStarterValues) {
        if (KindOf(value) == ValueKind::species)
            FillList(list(value), SpeciesCatalogue);
        else if (KindOf(value) == ValueKind::item)
            FillList(list(value), ItemCatalogue);
    }
}

QComboBox* Form1::list(StarterValue value) const
{
    return static_cast<QComboBox*>(valueControls[IndexOf(value)]);
}

QLineEdit* Form1::levelBox(StarterValue value) const
{
    return static_cast<QLineEdit*>(valueControls[IndexOf(value)]);
}

void Form1::setValue(StarterValue value, std::uint8_t byte)
{
    if (KindOf(value) == ValueKind::level) {
        levelBox(value)->setText(QString::number(byte));
        return;
    }
    // Species bytes above the catalogue have no entry: the list shows none.
    QComboBox* shown = list(value);
    shown->setCurrentIndex(byte < shown->count() ? byte : -1);
}

void Form1::openRom()
{
    clsCommonDialog dialog(fileDialogs);
    const QString chosen = dialog.ShowOpen(this, "Open Pokémon Gold, Silver or Crystal ROM...", "",
                                           "GB ROMs (*.gb)|*.gb;*.gbc", 0x1804);
    if (!chosen.isEmpty())
        openRomFile(QFileInfo(chosen).filesystemFilePath());
}

bool Form1::openRomFile(const std::filesystem::path& path)
{
    auto opened = OpenRom(path);
    if (!opened) {
        refuse(opened.error());
        return false;
    }
    showRom(*opened->game, opened->values);
    shownRom = std::move(*opened);
    enableLoadedControls();
    return true;
}

void Form1::refuse(const OpenRefusal& refusal)
{
    if (refusal.error == RomErrc::unsupportedGame)
        warn("Unsupported ROM.");
    else if (refusal.error == RomErrc::notRecognised)
        warn("This ROM does not keep its starters where " + FromUtf8(refusal.game->name)
             + " does, so Tidewell cannot change them safely.");
    else
        showError(refusal.error);
}

void Form1::showRom(const Game& game, const StarterSettings& values)
{
    ui->headr->setText(FromUtf8(game.name));
    ui->txtCode->setText(FromUtf8(game.code));
    ui->language->setText(FromUtf8(game.language));
    setWindowTitle(FromUtf8(game.windowCaption));
    for (StarterValue value : OpenReadOrder)
        setValue(value, values[value]);
}

void Form1::enableLoadedControls()
{
    for (const char* name : loadedStateControls)
        findChild<QObject*>(name)->setProperty("enabled", true);
}

void Form1::saveRom()
{
    const auto values = valuesToSave();
    if (!values)
        return;
    const auto saved = SaveInPlace(*shownRom, *values, {});
    if (!saved) {
        reportSaveFailure(saved.error());
        return;
    }
    messageBoxes.Show(this, "Starter Pokémon changed successfully!", programTitle,
                      BoxIcon::information);
}

void Form1::reportSaveFailure(const SaveFailure& failure)
{
    switch (failure.left) {
    case RomLeft::untouched:
        if (failure.error == RomErrc::romChanged)
            warn("The ROM file has changed since it was opened. Open it again before saving.");
        else
            showError(failure.error);
        break;
    case RomLeft::restored:
        showError(failure.error, "The ROM was left as it was.");
        break;
    case RomLeft::partlyChanged:
        showError(failure.error, "The ROM may be partly changed. Open it again to see what it holds.");
        break;
    }
}

std::optional<StarterSettings> Form1::valuesToSave()
{
    StarterSettings values;
    bool levelsValid = true;
    bool everyListChosen = true;
    for (StarterValue value : AllStarterValues) {
        if (KindOf(value) == ValueKind::level) {
            const auto level = LevelByte(levelBox(value)->text().toStdString());
            levelsValid = levelsValid && level.has_value();
            values[value] = level.value_or(0);
        } else {
            const int position = list(value)->currentIndex();
            everyListChosen = everyListChosen && position >= 0;
            values[value] = static_cast<std::uint8_t>(position);
        }
    }
    if (!levelsValid) {
        warn("Please enter levels between 0 and 100.");
        return std::nullopt;
    }
    if (!everyListChosen) {
        warn("Please choose a species in every list.");
        return std::nullopt;
    }
    return values;
}

void Form1::defaultSelection()
{
    for (const auto& [value, byte] : DefaultSelection)
        setValue(value, byte);
}

void Form1::about()
{
    if (!aboutWindow)
        aboutWindow = new Form2(this);
    aboutWindow->show();
    aboutWindow->raise();
    aboutWindow->activateWindow();
}

void Form1::showError(const std::error_code& error, const QString& secondLine)
{
    QString text = QString::fromLocal8Bit(error.message());
    if (!secondLine.isEmpty())
        text += '\n' + secondLine;
    messageBoxes.Show(this, text, "Error: " + QString::number(error.value()), BoxIcon::none);
}

void Form1::warn(const QString& text)
{
    messageBoxes.Show(this, text, programTitle, BoxIcon::exclamation);
}
