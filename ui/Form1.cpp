#include "Form1.h"

#include "Artwork.h"
#include "Banner.h"
#include "Form2.h"
#include "FormFont.h"
#include "FrameCaptions.h"
#include "Outcomes.h"
#include "OutcomeBoxes.h"
#include "StarterControls.h"
#include "clsCommonDialog.h"
#include "ui_Form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLayout>
#include <QMimeData>
#include <QSettings>

namespace {

// A choice that stays checked or not from one run to the next.
void Remember(QAction* choice, const QString& key)
{
    choice->setChecked(QSettings().value(key, true).toBool());
    QObject::connect(choice, &QAction::toggled, choice, [key](bool checked) { QSettings().setValue(key, checked); });
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

} // namespace

Form1::Form1(FileDialogPlatform& fileDialogs, MessageBoxes& messageBoxes, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                              | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                              | Qt::WindowCloseButtonHint)
    , ui(std::make_unique<Ui::Form1>())
    , fileDialogs(fileDialogs)
    , outcomes(messageBoxes, *this)
{
    // The controls take the form's font from the window as they are made; a
    // list given a font afterwards builds its popup list straight away.
    setFont(FormFont());
    ui->setupUi(this);
    setWindowIcon(ProgramIcon());
    ui->menuBar->setFont(QApplication::font(ui->menuBar));
    ui->Frame2->setFont(QApplication::font());
    ui->Label1->setFont(FormFont());
    auto* captions = new FrameCaptionStyle;
    captions->setParent(this);
    for (QGroupBox* frame : ui->centralWidget->findChildren<QGroupBox*>())
        frame->setStyle(captions);
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(true);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    ui->mnuFile->insertSeparator(ui->mnuExit)->setObjectName("mnuBreak");
    setShortcuts();

    ui->Image1->setPixmap(BlankBanner(devicePixelRatioF()));
    controls = new StarterControls(*ui->centralWidget);
    recentRoms = new RecentRoms(*ui->mnuRecent);
    Remember(ui->mnuLabText, QStringLiteral("updateLabDialogue"));
    Remember(ui->mnuRivalTeams, QStringLiteral("updateRivalTeams"));

    connect(ui->mnuOpen, &QAction::triggered, this, &Form1::openRom);
    connect(ui->mnuSave, &QAction::triggered, this, &Form1::save);
    connect(ui->mnuSaveAs, &QAction::triggered, this, &Form1::saveRomAs);
    connect(ui->mnuExportPatch, &QAction::triggered, this, &Form1::exportPatch);
    connect(ui->mnuDefault, &QAction::triggered, this, &Form1::defaultSelection);
    connect(ui->mnuAbout, &QAction::triggered, this, &Form1::about);
    connect(ui->mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(recentRoms, &RecentRoms::chosen, this, &Form1::openRecent);
    connect(controls, &StarterControls::changed, this, &Form1::updateModified);
    connect(controls, &StarterControls::changed, this, &Form1::paintBanner);
}

Form1::~Form1() = default;

void Form1::setShortcuts()
{
    SetKeys(ui->mnuOpen, QKeySequence::Open, Qt::CTRL | Qt::Key_O);
    SetKeys(ui->mnuSave, QKeySequence::Save, Qt::CTRL | Qt::Key_S);
    SetKeys(ui->mnuSaveAs, QKeySequence::SaveAs, Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    SetKeys(ui->mnuExit, QKeySequence::Quit, Qt::CTRL | Qt::Key_Q);
}

bool Form1::canDiscardEdits()
{
    if (!isWindowModified())
        return true;
    switch (outcomes.AskToSaveChanges(FileName(document->Path()))) {
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
    if (canDiscardEdits() && !openPath(QFileInfo(path).filesystemFilePath()) && !QFileInfo::exists(path))
        recentRoms->Remove(path);
}

bool Form1::openPath(const std::filesystem::path& path)
{
    auto opened = RomDocument::Open(path, true);
    if (!opened) {
        outcomes.Show(RefusalOutcome(opened.error()));
        return false;
    }
    document = std::move(*opened);
    showRom();
    showInterruptedSave();
    // Everything that waits for a ROM starts disabled.
    for (QWidget* control : ui->centralWidget->findChildren<QWidget*>())
        control->setEnabled(true);
    for (QAction* command : {ui->mnuSave, ui->mnuSaveAs, ui->mnuExportPatch, ui->mnuDefault})
        command->setEnabled(true);
    updateModified();
    recentRoms->Add(QFileInfo(path).absoluteFilePath());
    ui->poke1->setFocus();
    return true;
}

void Form1::showInterruptedSave()
{
    if (const auto& note = document->InterruptedSaveNote())
        outcomes.Show(*note);
}

void Form1::showRom()
{
    const Game& game = document->GameOf();
    ui->headr->setText(QString::fromUtf8(game.name));
    ui->txtCode->setText(QString::fromUtf8(game.code));
    ui->language->setText(QString::fromUtf8(game.language));
    setWindowTitle(QString::fromUtf8(game.windowCaption) + "[*]");
    controls->Show(document->Values());
    paintBanner();
}

// The ROM's own pictures of the species shown; none for a list with no entry.
void Form1::paintBanner()
{
    if (!document)
        return;
    const auto pictures = PicturesOf(document->Image(), *document->GameOf().layout, controls->Shown());
    ui->Image1->setPixmap(PaintBanner(devicePixelRatioF(), pictures));
}

void Form1::updateModified()
{
    setWindowModified(document && document->IsEdited(controls->Shown()));
}

bool Form1::save()
{
    const auto values = valuesToSave();
    if (!values || !outcomes.SaveAnyway(PokeBallWarnings(*values)))
        return false;
    const auto saved = document->Save(*values, saveOptions());
    showInterruptedSave();
    if (!saved) {
        outcomes.Show(FailureOutcome(saved.error()));
        return false;
    }
    showSaved(*values, SavedOutcome(*saved));
    return true;
}

std::optional<Form1::SaveTarget> Form1::askWhereToSave(const QString& title, const QString& name,
                                                      const QString& filter, const QString& extension)
{
    clsCommonDialog dialog(fileDialogs);
    const auto chosen = dialog.ShowSave(this, title, SuggestedName(name), QFileInfo(document->Path()).absolutePath(),
                                        filter, DialogFlags::pathMustExist | DialogFlags::overwritePrompt, extension);
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    return SaveTarget{QFileInfo(*chosen).filesystemFilePath(), dialog.FilterIndex()};
}

void Form1::saveRomAs()
{
    const auto values = valuesToSave();
    if (!values || !outcomes.SaveAnyway(PokeBallWarnings(*values)))
        return;
    const auto chosen = askWhereToSave("Save ROM As", FileName(document->Path()), "GB ROMs (*.gbc;*.gb)|*.gbc;*.gb",
                                       ".gbc");
    if (!chosen)
        return;
    const auto saved = document->SaveAs(*values, saveOptions(), chosen->path);
    if (!saved) {
        outcomes.Show(FailureOutcome(saved.error()));
        return;
    }
    recentRoms->Add(QFileInfo(document->Path()).absoluteFilePath());
    showSaved(*values, SavedOutcome(*saved));
}

void Form1::exportPatch()
{
    const auto values = valuesToSave();
    if (!values || !outcomes.SaveAnyway(PokeBallWarnings(*values)))
        return;
    const auto chosen = askWhereToSave("Export Patch", QFileInfo(document->Path()).completeBaseName() + ".bps",
                                       "BPS patches (*.bps)|*.bps|IPS patches (*.ips)|*.ips", ".bps");
    if (!chosen)
        return;
    const auto format = PatchFormatNamed(chosen->path.string(),
                                         chosen->filterIndex == 2 ? PatchFormat::ips : PatchFormat::bps);
    const auto exported = document->ExportPatch(*values, saveOptions(), format, chosen->path);
    outcomes.Show(exported ? PatchWrittenOutcome(FileName(chosen->path).toStdString(), *exported)
                           : FailureOutcome(exported.error()));
}

std::optional<StarterSettings> Form1::valuesToSave()
{
    const auto values = controls->ValuesToSave();
    if (!values)
        outcomes.Warn(values.error());
    return values ? std::optional(*values) : std::nullopt;
}

SaveOptions Form1::saveOptions() const
{
    return {.labText = ui->mnuLabText->isChecked(), .rivalTeams = ui->mnuRivalTeams->isChecked()};
}

// The boxes show the levels as written ("4.6" became 5).
void Form1::showSaved(const StarterSettings& values, const Outcome& saved)
{
    for (StarterValue value : AllStarterValues)
        if (KindOf(value) == ValueKind::level)
            controls->Show(value, values[value]);
    updateModified();
    outcomes.Show(saved);
}

void Form1::defaultSelection()
{
    StarterSettings defaults;
    for (const auto& [value, byte] : DefaultSelection)
        defaults[value] = byte;
    controls->Show(defaults);
}

void Form1::about()
{
    if (!aboutWindow)
        aboutWindow = new Form2(this);
    aboutWindow->show();
    aboutWindow->raise();
    aboutWindow->activateWindow();
}
