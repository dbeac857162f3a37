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

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLayout>
#include <QLineEdit>
#include <QMimeData>
#include <QSettings>

#include <span>
#include <string_view>

namespace {

const QString programTitle = QStringLiteral("Tidewell");
const QString labTextKey = QStringLiteral("updateLabDialogue");

// Enabled one after the other once a ROM is shown; exactly the controls that
// start disabled.
constexpr std::array<const char*, 44> loadedStateControls{
    "mnuSave", "mnuSaveAs", "mnuExportPatch", "Frame5", "mnuDefault", "txtName", "txtCDE", "lang",
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

// The platform's own keys for a command; some desktops define none for Save As
// or Quit, and then the keys most programs use.
void SetKeys(QAction* action, QKeySequence::StandardKey standard, QKeyCombination usual)
{
    const QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
    action->setShortcuts(keys.isEmpty() ? QList<QKeySequence>{usual} : keys);
}

QString FileName(const std::filesystem::path& path)
{
    return QFileInfo(path).fileName();
}

// The save dialog's name field holds 128 characters; a longer name is left to the user.
QString SuggestedName(const QString& name)
{
    return name.size() <= clsCommonDialog::saveNameLength ? name : QString();
}

// The name's own ending decides; a name without one follows the chosen filter.
PatchFormat PatchFormatFor(const QString& name, int filterIndex)
{
    if (name.endsWith(".ips", Qt::CaseInsensitive))
        return PatchFormat::ips;
    if (name.endsWith(".bps", Qt::CaseInsensitive))
        return PatchFormat::bps;
    return filterIndex == 2 ? PatchFormat::ips : PatchFormat::bps;
}

// One line for each ball whose question Save did not dare to rewrite.
QString LabTextNotes(const SavePlan& plan)
{
    QString notes;
    for (std::size_t ball = 0; ball < plan.labTextLeftAlone.size(); ++ball)
        if (plan.labTextLeftAlone[ball])
            notes += "\nElm's question for Poké Ball " + QString::number(ball + 1) + " was left as it was.";
    return notes;
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
    setAcceptDrops(true);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    ui->mnuFile->insertSeparator(ui->mnuExit)->setObjectName("mnuBreak");
    setShortcuts();

    // The style sheet that colours the frame captions keeps fonts from passing
    // down to children, so every control gets its own.
    for (QWidget* control : ui->centralWidget->findChildren<QWidget*>())
        control->setFont(control == ui->Frame2 ? QApplication::font() : FormFont());
    ui->Image1->setPixmap(PaintBanner(devicePixelRatioF()));
    for (std::size_t i = 0; i < StarterValueCount; ++i)
        valueControls[i] = findChild<QWidget*>(FromUtf8(StarterValueNames[i]));
    fillLists();
    calmLists();
    fillRecentMenu();
    ui->mnuLabText->setChecked(QSettings().value(labTextKey, true).toBool());

    connect(ui->mnuOpen, &QAction::triggered, this, &Form1::openRom);
    connect(ui->mnuSave, &QAction::triggered, this, &Form1::saveRom);
    connect(ui->mnuSaveAs, &QAction::triggered, this, &Form1::saveRomAs);
    connect(ui->mnuExportPatch, &QAction::triggered, this, &Form1::exportPatch);
    connect(ui->mnuDefault, &QAction::triggered, this, &Form1::defaultSelection);
    connect(ui->mnuLabText, &QAction::toggled, this,
            [](bool checked) { QSettings().setValue(labTextKey, checked); });
    connect(ui->mnuAbout, &QAction::triggered, this, &Form1::about);
    connect(ui->mnuExit, &QAction::triggered, this, &QWidget::close);
    for (StarterValue value : AllStarterValues) {
        if (KindOf(value) == ValueKind::level) {
            // A ROM dropped on a level box opens instead of pasting its name.
            levelBox(value)->setAcceptDrops(false);
            connect(levelBox(value), &QLineEdit::textChanged, this, &Form1::updateModified);
        } else {
            connect(list(value), &QComboBox::currentIndexChanged, this, &Form1::updateModified);
            if (KindOf(value) == ValueKind::species)
                connect(list(value), &QComboBox::currentIndexChanged, this, &Form1::paintBanner);
        }
    }
}

Form1::~Form1() = default;

void Form1::setShortcuts()
{
    SetKeys(ui->mnuOpen, QKeySequence::Open, Qt::CTRL | Qt::Key_O);
    SetKeys(ui->mnuSave, QKeySequence::Save, Qt::CTRL | Qt::Key_S);
    SetKeys(ui->mnuSaveAs, QKeySequence::SaveAs, Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    SetKeys(ui->mnuExit, QKeySequence::Quit, Qt::CTRL | Qt::Key_Q);
}

void Form1::fillLists()
{
    for (StarterValue value : AllStarterValues) {
        if (KindOf(value) == ValueKind::species)
            FillList(list(value), SpeciesCatalogue);
        else if (KindOf(value) == ValueKind::item)
            FillList(list(value), ItemCatalogue);
    }
}

// A list changes under the mouse wheel only once the user has chosen to work
// in it, and opens in the window's own font.
void Form1::calmLists()
{
    for (StarterValue value : AllStarterValues) {
        if (KindOf(value) == ValueKind::level)
            continue;
        list(value)->setFocusPolicy(Qt::StrongFocus);
        list(value)->installEventFilter(this);
        list(value)->view()->setFont(FormFont());
    }
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel && !static_cast<QWidget*>(watched)->hasFocus()) {
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
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

bool Form1::canDiscardEdits()
{
    if (!isWindowModified())
        return true;
    const QString name = FileName(shownRom->path);
    switch (messageBoxes.AskToSave(this, "Save the changes to the starters of " + name + "?", programTitle)) {
    case BoxAnswer::save:
        return save();
    case BoxAnswer::discard:
        return true;
    case BoxAnswer::cancel:
        break;
    }
    return false;
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (canDiscardEdits())
        event->accept();
    else
        event->ignore();
}

void Form1::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile())
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent* event)
{
    event->acceptProposedAction();
    openRomFile(event->mimeData()->urls().front().toLocalFile());
}

void Form1::openRom()
{
    if (!canDiscardEdits())
        return;
    clsCommonDialog dialog(fileDialogs);
    const QString chosen = dialog.ShowOpen(this, "Open Pokémon Gold, Silver or Crystal ROM...", "",
                                           "GB ROMs (*.gb)|*.gb;*.gbc", 0x1804);
    if (!chosen.isEmpty())
        openPath(QFileInfo(chosen).filesystemFilePath());
}

void Form1::openRomFile(const QString& path)
{
    if (canDiscardEdits())
        openPath(QFileInfo(path).filesystemFilePath());
}

void Form1::openRecent(const QString& path)
{
    if (!canDiscardEdits() || openPath(QFileInfo(path).filesystemFilePath()))
        return;
    if (!QFileInfo::exists(path)) {
        recentRoms.Remove(path);
        fillRecentMenu();
    }
}

bool Form1::openPath(const std::filesystem::path& path)
{
    auto opened = OpenRom(path);
    if (!opened) {
        refuse(opened.error());
        return false;
    }
    // Where this fails (read-only media, another owner) the ROM can still be
    // shown; Save then reports that it cannot write.
    MakeWritable(path);
    banner.Load(path, *opened->game->layout);
    showRom(*opened->game, opened->values);
    paintBanner();
    shownRom = std::move(*opened);
    enableLoadedControls();
    updateModified();
    rememberRecent(path);
    ui->poke1->setFocus();
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
    setWindowTitle(FromUtf8(game.windowCaption) + "[*]");
    for (StarterValue value : OpenReadOrder)
        setValue(value, values[value]);
}

void Form1::enableLoadedControls()
{
    for (const char* name : loadedStateControls)
        findChild<QObject*>(name)->setProperty("enabled", true);
}

void Form1::paintBanner()
{
    ui->Image1->setPixmap(banner.Paint(devicePixelRatioF(), readControls().values));
}

void Form1::updateModified()
{
    const ControlValues shown = readControls();
    setWindowModified(shownRom
                      && !(shown.levelsValid && shown.everyListChosen && shown.values == shownRom->values));
}

void Form1::saveRom()
{
    save();
}

bool Form1::save()
{
    const auto values = valuesToSave();
    if (!values)
        return false;
    const auto saved = SaveInPlace(*shownRom, *values, saveOptions());
    if (!saved) {
        reportSaveFailure(saved.error());
        return false;
    }
    showSaved(*values, *saved);
    return true;
}

std::optional<Form1::SaveTarget> Form1::askWhereToSave(const QString& title, const QString& name,
                                                      const QString& filter, const QString& extension)
{
    clsCommonDialog dialog(fileDialogs);
    const auto chosen = dialog.ShowSave(this, title, SuggestedName(name), QFileInfo(shownRom->path).absolutePath(),
                                        filter, DialogFlags::pathMustExist | DialogFlags::overwritePrompt, extension);
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    return SaveTarget{*chosen, dialog.FilterIndex()};
}

void Form1::saveRomAs()
{
    const auto values = valuesToSave();
    if (!values)
        return;
    const auto chosen = askWhereToSave("Save ROM As", QFileInfo(shownRom->path).fileName(),
                                       "GB ROMs (*.gbc;*.gb)|*.gbc;*.gb", ".gbc");
    if (!chosen)
        return;
    const std::filesystem::path target = QFileInfo(chosen->path).filesystemFilePath();
    std::error_code notTheSame;
    if (std::filesystem::equivalent(target, shownRom->path, notTheSame)) {
        save();
        return;
    }
    auto saved = SaveCopy(*shownRom, *values, saveOptions(), target);
    if (!saved) {
        reportSaveFailure({saved.error()});
        return;
    }
    shownRom = std::move(saved->copy);
    rememberRecent(target);
    showSaved(*values, saved->plan);
}

void Form1::exportPatch()
{
    const auto values = valuesToSave();
    if (!values)
        return;
    const auto chosen = askWhereToSave("Export Patch", QFileInfo(shownRom->path).completeBaseName() + ".bps",
                                       "BPS patches (*.bps)|*.bps|IPS patches (*.ips)|*.ips", ".bps");
    if (!chosen)
        return;
    const auto exported = ExportPatch(*shownRom, *values, saveOptions(), PatchFormatFor(chosen->path, chosen->filterIndex),
                                      QFileInfo(chosen->path).filesystemFilePath());
    if (!exported && exported.error() == RomErrc::nothingToExport) {
        messageBoxes.Show(this, QString::fromStdString(exported.error().message()), programTitle,
                          BoxIcon::information);
        return;
    }
    if (!exported) {
        reportSaveFailure({exported.error()});
        return;
    }
    messageBoxes.Show(this, "The patch was written to " + QFileInfo(chosen->path).fileName() + "."
                                + LabTextNotes(*exported),
                      programTitle, BoxIcon::information);
}

Form1::ControlValues Form1::readControls() const
{
    ControlValues shown;
    for (StarterValue value : AllStarterValues) {
        if (KindOf(value) == ValueKind::level) {
            const auto level = LevelByte(levelBox(value)->text().toStdString());
            shown.levelsValid = shown.levelsValid && level.has_value();
            shown.values[value] = level.value_or(0);
        } else {
            const int position = list(value)->currentIndex();
            shown.everyListChosen = shown.everyListChosen && position >= 0;
            shown.values[value] = static_cast<std::uint8_t>(position);
        }
    }
    return shown;
}

std::optional<StarterSettings> Form1::valuesToSave()
{
    const ControlValues shown = readControls();
    if (!shown.levelsValid) {
        warn("Please enter levels between 0 and 100.");
        return std::nullopt;
    }
    if (!shown.everyListChosen) {
        warn("Please choose a species in every list.");
        return std::nullopt;
    }
    return shown.values;
}

SaveOptions Form1::saveOptions() const
{
    return {.labText = ui->mnuLabText->isChecked()};
}

// The boxes show the levels as written ("4.6" became 5).
void Form1::showSaved(const StarterSettings& values, const SavePlan& plan)
{
    for (StarterValue value : AllStarterValues)
        if (KindOf(value) == ValueKind::level)
            setValue(value, values[value]);
    updateModified();
    messageBoxes.Show(this, "Starter Pokémon changed successfully!" + LabTextNotes(plan), programTitle,
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

void Form1::rememberRecent(const std::filesystem::path& path)
{
    recentRoms.Add(QFileInfo(path).absoluteFilePath());
    fillRecentMenu();
}

void Form1::fillRecentMenu()
{
    ui->mnuRecent->clear();
    for (const QString& path : recentRoms.Paths()) {
        QAction* item = ui->mnuRecent->addAction(QDir::toNativeSeparators(path).replace('&', "&&"));
        connect(item, &QAction::triggered, this, [this, path] { openRecent(path); });
    }
    ui->mnuRecent->setEnabled(!ui->mnuRecent->isEmpty());
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
