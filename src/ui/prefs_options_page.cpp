#include "ui/prefs_options_page.h"

#include <algorithm>
#include <vector>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pelor::ui {
namespace {

using F = prefs::OptionsField;
using K = prefs::FieldKind;

// Where each group of fields goes on the page: column, then top to bottom.
struct GroupPlace {
    const char* group;
    int column;
};
constexpr GroupPlace kPlaces[] = {
    {"Display", 0}, {"Kantelo", 0}, {"Alarms", 0},  {"Unit", 1},  {"Serial", 1}, {"Timers", 1},
    {"Pulse 0", 2}, {"Pulse 1", 2}, {"Pulse 2", 2}, {"Ports", 3}, {"Status", 3},
};

}  // namespace

GaugeOptions::GaugeOptions(PrefsContext context, QWidget* parent) : PrefsPage(context, parent) {
    auto* outer = new QVBoxLayout(this);
    auto* columns = new QGridLayout;
    columns->setHorizontalSpacing(8);
    std::array<QVBoxLayout*, 4> stacks{};
    for (int c = 0; c < 4; ++c) {
        stacks[static_cast<std::size_t>(c)] = new QVBoxLayout;
        columns->addLayout(stacks[static_cast<std::size_t>(c)], 0, c, Qt::AlignTop);
    }
    const auto& rows = prefs::OptionsFieldRows();
    // Every group gets a box: a group without a place goes to the last column.
    std::vector<GroupPlace> places(std::begin(kPlaces), std::end(kPlaces));
    for (const auto& option : rows) {
        const bool placed = std::any_of(places.begin(), places.end(), [&](const GroupPlace& p) {
            return std::string_view(p.group) == option.group;
        });
        if (!placed) places.push_back({option.group, 3});
    }
    for (const auto& place : places) {
        auto* box = new QGroupBox(place.group, this);
        auto* form = new QFormLayout(box);
        form->setContentsMargins(6, 4, 6, 4);
        form->setVerticalSpacing(2);
        form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
        for (const auto& option : rows) {
            if (std::string_view(option.group) != place.group) continue;
            // A timer's enable box shares the row of its value.
            if (option.id >= F::Timer0Enable && option.id <= F::Timer3Enable) continue;
            QWidget* w = MakeField(option, box);
            if (option.id >= F::Timer0 && option.id <= F::Timer3) {
                const auto enable =
                    static_cast<F>(static_cast<int>(F::Timer0Enable) +
                                   (static_cast<int>(option.id) - static_cast<int>(F::Timer0)));
                auto* row = new QWidget(box);
                auto* h = new QHBoxLayout(row);
                h->setContentsMargins(0, 0, 0, 0);
                w->setParent(row);
                h->addWidget(w);
                QWidget* check = MakeField(prefs::FieldRowOf(enable), row);
                static_cast<QCheckBox*>(check)->setText("Enable");
                h->addWidget(check);
                form->addRow(option.caption, row);
            } else if (option.kind == K::Check) {
                form->addRow(w);
            } else if (option.kind == K::Radio && option.id == F::DisplayType) {
                form->addRow(w);
            } else {
                form->addRow(option.caption, w);
            }
        }
        if (std::string_view(place.group) == "Status") {
            http_ = new QLineEdit(box);
            http_->setObjectName("HTTP Post Address");
            http_->setMaxLength(61);
            http_->setMinimumWidth(150);
            http_->setToolTip("The address the unit posts its data to (\":80\" is added)");
            connect(http_, &QLineEdit::textEdited, this,
                    [this](const QString& t) { ctx_.copies.options.httpPostAddress = Bytes(t); });
            form->addRow("HTTP Post", http_);
        }
        stacks[static_cast<std::size_t>(place.column)]->addWidget(box);
    }
    for (auto* s : stacks) s->addStretch(1);
    outer->addLayout(columns);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel("Options File", this));
    fileName_ = FileNameField(ctx_.copies.optionsFile);
    connect(fileName_, &QLineEdit::textEdited, this,
            [this](const QString& t) { ctx_.copies.optionsFile = Bytes(t); });
    fileRow->addWidget(fileName_, 1);
    outer->addLayout(fileRow);
    outer->addWidget(PageButtons([this] { Open(); }, [this] { Save(); },
                                 "Save - click save changes to specified DISPLAY LABELS file",
                                 "Open - click to Open existing DISPLAY LABELS file"));
    Refresh();
}

QWidget* GaugeOptions::MakeField(const prefs::OptionsFieldRow& option, QWidget* parent) {
    const F id = option.id;
    const QString caption = QString::fromLatin1(option.caption);
    QWidget* result = nullptr;
    switch (option.kind) {
        case K::Number: {
            auto* spin = new RangeSpinBox(option.min, option.max, parent);
            spin->setMaximumWidth(72);
            connect(spin, &QSpinBox::valueChanged, this, [this, id](int v) {
                ctx_.copies.options[id] = v;
                UpdateEnabled();
            });
            result = spin;
            break;
        }
        case K::Check: {
            auto* check = new QCheckBox(caption, parent);
            connect(check, &QCheckBox::toggled, this, [this, id](bool on) {
                ctx_.copies.options[id] = on ? 1 : 0;
                UpdateEnabled();
            });
            result = check;
            break;
        }
        case K::Choice: {
            auto* combo = new QComboBox(parent);
            for (const auto& c : option.choices) combo->addItem(Text(c));
            // Narrow in the form; the open list shows the whole texts.
            combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            combo->setMinimumContentsLength(8);
            connect(combo, &QComboBox::currentIndexChanged, this, [this, id](int i) {
                if (i >= 0) ctx_.copies.options[id] = i;
                UpdateEnabled();
            });
            result = combo;
            break;
        }
        case K::Radio: {
            auto* holder = new QWidget(parent);
            auto* grid = new QGridLayout(holder);
            grid->setContentsMargins(0, 0, 0, 0);
            grid->setSpacing(2);
            auto* group = new QButtonGroup(holder);
            // Two buttons stack; the display models go two to a row.
            const int perRow = option.choices.size() > 2 ? 2 : 1;
            for (std::size_t k = 0; k < option.choices.size(); ++k) {
                auto* b = new QRadioButton(Text(option.choices[k]), holder);
                b->setObjectName(Text(option.choices[k]));
                group->addButton(b, static_cast<int>(k));
                grid->addWidget(b, static_cast<int>(k) / perRow, static_cast<int>(k) % perRow);
            }
            connect(group, &QButtonGroup::idClicked, this, [this, id](int k) {
                ctx_.copies.options[id] = prefs::FieldRowOf(id).values[static_cast<std::size_t>(k)];
                UpdateEnabled();
            });
            radios_[id] = group;
            result = holder;
            break;
        }
    }
    result->setObjectName(caption);
    if (*option.tooltip != '\0') result->setToolTip(option.tooltip);
    widgets_[id] = result;
    return result;
}

QWidget* GaugeOptions::FieldWidget(F f) const {
    const auto it = widgets_.find(f);
    return it == widgets_.end() ? nullptr : it->second;
}

QButtonGroup* GaugeOptions::RadioGroup(F f) const {
    const auto it = radios_.find(f);
    return it == radios_.end() ? nullptr : it->second;
}

void GaugeOptions::Refresh() {
    const auto& page = ctx_.copies.options;
    for (const auto& option : prefs::OptionsFieldRows()) {
        QWidget* w = widgets_.at(option.id);
        const QSignalBlocker block(w);
        const int v = page[option.id];
        switch (option.kind) {
            case K::Number:
                static_cast<QSpinBox*>(w)->setValue(v);
                break;
            case K::Check:
                static_cast<QCheckBox*>(w)->setChecked(v != 0);
                break;
            case K::Choice:
                static_cast<QComboBox*>(w)->setCurrentIndex(v);
                break;
            case K::Radio: {
                QButtonGroup* group = radios_.at(option.id);
                group->setExclusive(false);
                for (QAbstractButton* b : group->buttons()) b->setChecked(false);
                // Two buttons share a value (9): the later one is the display model.
                for (std::size_t k = option.values.size(); k-- > 0;) {
                    if (option.values[k] == v) {
                        group->button(static_cast<int>(k))->setChecked(true);
                        break;
                    }
                }
                group->setExclusive(true);
                break;
            }
        }
    }
    http_->setText(Text(page.httpPostAddress));
    fileName_->setText(Text(ctx_.copies.optionsFile));
    UpdateEnabled();
}

void GaugeOptions::UpdateEnabled() {
    const auto& page = ctx_.copies.options;
    const bool log = page[F::Usb2Mode] <= 1;
    for (F f : {F::LogAppend, F::LogPowerUp, F::LogFlag4}) widgets_.at(f)->setEnabled(log);
    // The log buffer is not offered while USB 1 sends the status messages.
    widgets_.at(F::LogBuffer)->setEnabled(log && page[F::Usb1Mode] != 3);
    widgets_.at(F::TempAdjust)->setEnabled(page[F::TempSensor] != 0);
}

void GaugeOptions::Open() {
    if (prefs::OpenOptionsPage(ctx_.prompt, ctx_.copies.projectDirectory, ctx_.copies.optionsFile,
                               ctx_.copies.options)) {
        // OPEN reads bytes 0..255 only: the NMEA 2000 page's rows, saved or not, stay its own.
        Refresh();
    }
}

void GaugeOptions::Save() {
    const tables::OptionsTable sections = prefs::OptionsFromPages(ctx_.copies);
    // The whole file: the NMEA 2000 page's rows go with it.
    prefs::OptionsPage page = ctx_.copies.options;
    prefs::ApplyN2kTags(ctx_.copies.n2kTags, page.table);
    const std::string saved = prefs::SaveOptionsPage(ctx_.prompt, ctx_.copies.projectDirectory,
                                                     ctx_.copies.optionsFile, page, sections);
    if (saved.empty()) return;
    ctx_.copies.optionsFile = saved;
    fileName_->setText(Text(saved));
}

}  // namespace pelor::ui
