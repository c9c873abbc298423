#include "ui/prefs_channels_page.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "prefs/channels_page.h"

namespace pelor::ui {
namespace {

QButtonGroup* Choices(const QStringList& captions, QGridLayout* grid, int row, QWidget* parent) {
    auto* group = new QButtonGroup(parent);
    for (int k = 0; k < captions.size(); ++k) {
        auto* b = new QRadioButton(captions[k], parent);
        group->addButton(b, k);
        grid->addWidget(b, row, 2 + k);
    }
    return group;
}

}  // namespace

GaugeChanels::GaugeChanels(PrefsContext context, QWidget* parent) : PrefsPage(context, parent) {
    auto* outer = new QVBoxLayout(this);
    auto* groups = new QHBoxLayout;
    auto* input = new QGroupBox("INPUT", this);
    auto* inGrid = new QGridLayout(input);
    auto* output = new QGroupBox("OUTPUT", this);
    auto* outGrid = new QGridLayout(output);
    for (auto* g : {inGrid, outGrid}) g->setVerticalSpacing(2);
    for (int d = 0; d < prefs::kDisplayCount; ++d) {
        const auto i = static_cast<std::size_t>(d);
        inGrid->addWidget(new QLabel(QString("Display %1").arg(d), input), d, 0);
        inputNumbers_[i] = new RangeSpinBox(0, prefs::kChannelNumberMax, input);
        inputNumbers_[i]->setObjectName(QString("Input %1").arg(d));
        inGrid->addWidget(inputNumbers_[i], d, 1);
        inputChoices_[i] = Choices({"Analog", "NEMA"}, inGrid, d, input);
        connect(inputNumbers_[i], &QSpinBox::valueChanged, this,
                [this, i](int v) { ctx_.copies.channels.inputs[i].number = v; });
        connect(inputChoices_[i], &QButtonGroup::idClicked, this,
                [this, i](int k) { ctx_.copies.channels.inputs[i].nmea = k == 1; });

        outGrid->addWidget(new QLabel(QString("Display %1").arg(d), output), d, 0);
        outputNumbers_[i] = new RangeSpinBox(0, prefs::kChannelNumberMax, output);
        outputNumbers_[i]->setObjectName(QString("Output %1").arg(d));
        outGrid->addWidget(outputNumbers_[i], d, 1);
        outputChoices_[i] = Choices({"Enabled", "Disabled", "Index"}, outGrid, d, output);
        connect(outputNumbers_[i], &QSpinBox::valueChanged, this,
                [this, i](int v) { ctx_.copies.channels.outputs[i].number = v; });
        connect(outputChoices_[i], &QButtonGroup::idClicked, this, [this, i](int k) {
            ctx_.copies.channels.outputs[i].mode = static_cast<prefs::ChannelOutputMode>(k);
        });
    }
    groups->addWidget(input);
    groups->addWidget(output);
    groups->addStretch(1);
    outer->addLayout(groups);

    fileName_ = OptionsFileRow(outer);
    outer->addStretch(1);
    outer->addWidget(PageButtons([this] { Open(); }, [this] { Save(); },
                                 "Save - click to save the channels into the options file"));
    Refresh();
}

void GaugeChanels::Refresh() {
    const auto& page = ctx_.copies.channels;
    for (std::size_t d = 0; d < 16; ++d) {
        const QSignalBlocker b1(inputNumbers_[d]);
        const QSignalBlocker b2(outputNumbers_[d]);
        inputNumbers_[d]->setValue(page.inputs[d].number);
        inputChoices_[d]->button(page.inputs[d].nmea ? 1 : 0)->setChecked(true);
        outputNumbers_[d]->setValue(page.outputs[d].number);
        outputChoices_[d]->button(static_cast<int>(page.outputs[d].mode))->setChecked(true);
    }
}

void GaugeChanels::Open() {
    OpenSection(prefs::kChannelsSection, Bytes(fileName_->text()), ctx_.copies.channels);
}

void GaugeChanels::Save() {
    SaveSection(prefs::kChannelsSection, Bytes(fileName_->text()), ctx_.copies.channels);
}

}  // namespace pelor::ui
