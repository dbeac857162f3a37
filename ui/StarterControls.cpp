#include "StarterControls.h"

#include "Catalogues.h"
#include "Outcomes.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStringListModel>

#include <algorithm>
#include <span>
#include <string_view>

namespace {

QStringListModel* NamesOf(std::span<const std::string_view> catalogue, QObject* owner)
{
    QStringList names;
    names.reserve(static_cast<qsizetype>(catalogue.size()));
    for (std::string_view name : catalogue)
        names << QString::fromUtf8(name);
    return new QStringListModel(names, owner);
}

} // namespace

StarterControls::StarterControls(QWidget& form) : QObject(&form)
{
    for (std::size_t i = 0; i < StarterValueCount; ++i)
        controls_[i] = form.findChild<QWidget*>(QString::fromUtf8(StarterValueNames[i]));
    FillLists();
    CalmLists();
    for (StarterValue value : AllStarterValues) {
        if (KindOf(value) == ValueKind::level) {
            // A ROM dropped on a level box opens instead of pasting its name.
            LevelBox(value)->setAcceptDrops(false);
            connect(LevelBox(value), &QLineEdit::textChanged, this, &StarterControls::changed);
        } else {
            connect(List(value), &QComboBox::currentIndexChanged, this, &StarterControls::changed);
        }
    }
}

// The lists of a kind share their names, made once.
void StarterControls::FillLists()
{
    QStringListModel* species = NamesOf(SpeciesCatalogue, this);
    QStringListModel* items = NamesOf(ItemCatalogue, this);
    for (StarterValue value : AllStarterValues) {
        if (KindOf(value) == ValueKind::level)
            continue;
        List(value)->setModel(KindOf(value) == ValueKind::species ? species : items);
        List(value)->setCurrentIndex(-1);
    }
}

// A list changes under the mouse wheel only once the user has chosen to work
// in it.
void StarterControls::CalmLists()
{
    for (StarterValue value : AllStarterValues) {
        if (KindOf(value) == ValueKind::level)
            continue;
        List(value)->setFocusPolicy(Qt::StrongFocus);
        List(value)->installEventFilter(this);
    }
}

bool StarterControls::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel && !static_cast<QWidget*>(watched)->hasFocus()) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

QComboBox* StarterControls::List(StarterValue value) const
{
    return static_cast<QComboBox*>(controls_[IndexOf(value)]);
}

QLineEdit* StarterControls::LevelBox(StarterValue value) const
{
    return static_cast<QLineEdit*>(controls_[IndexOf(value)]);
}

void StarterControls::Show(StarterValue value, std::uint8_t byte)
{
    if (KindOf(value) == ValueKind::level) {
        LevelBox(value)->setText(QString::number(byte));
        return;
    }
    // Species bytes above the catalogue have no entry: the list shows none.
    QComboBox* shown = List(value);
    shown->setCurrentIndex(byte < shown->count() ? byte : -1);
}

// One change for the whole ROM, so that the banner is painted once.
void StarterControls::Show(const StarterSettings& values)
{
    {
        const QSignalBlocker quiet(this);
        for (StarterValue value : OpenReadOrder)
            Show(value, values[value]);
    }
    emit changed();
}

ShownValues StarterControls::Shown() const
{
    ShownValues shown;
    for (StarterValue value : AllStarterValues) {
        std::optional<std::uint8_t>& byte = shown[IndexOf(value)];
        if (KindOf(value) == ValueKind::level) {
            byte = LevelByte(LevelBox(value)->text().toStdString());
        } else if (const int position = List(value)->currentIndex(); position >= 0) {
            byte = static_cast<std::uint8_t>(position);
        }
    }
    return shown;
}

std::expected<StarterSettings, QString> StarterControls::ValuesToSave() const
{
    const ShownValues shown = Shown();
    const auto missing = [&shown](ValueKind kind) {
        return std::ranges::any_of(AllStarterValues, [&](StarterValue value) {
            return KindOf(value) == kind && !shown[IndexOf(value)];
        });
    };
    if (missing(ValueKind::level))
        return std::unexpected(QString::fromUtf8(MissingLevelText));
    if (missing(ValueKind::species) || missing(ValueKind::item))
        return std::unexpected(QString::fromUtf8(MissingChoiceText));
    StarterSettings values;
    for (StarterValue value : AllStarterValues)
        values[value] = *shown[IndexOf(value)];
    return values;
}
