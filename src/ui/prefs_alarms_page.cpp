#include "ui/prefs_alarms_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "prefs/alarms_page.h"

namespace pelor::ui {

CAlarmProperty::CAlarmProperty(PrefsContext context, QWidget* parent) : PrefsPage(context, parent) {
    auto* outer = new QVBoxLayout(this);
    auto* groups = new QHBoxLayout;
    auto* values = new QGroupBox("Alarm Values", this);
    auto* vGrid = new QGridLayout(values);
    auto* modes = new QGroupBox("Alarm Mode", this);
    auto* mGrid = new QGridLayout(modes);
    auto* relays = new QGroupBox("Relay Map", this);
    auto* rGrid = new QGridLayout(relays);
    for (auto* g : {vGrid, mGrid, rGrid}) g->setVerticalSpacing(2);
    const QString headings[] = {"", "Low", "", "High", "", "Invert"};
    for (int c = 0; c < 6; ++c) vGrid->addWidget(new QLabel(headings[c], values), 0, c);
    QFont mono("Monospace");
    mono.setStyleHint(QFont::TypeWriter);

    for (int d = 0; d < prefs::kAlarmDisplays; ++d) {
        const auto i = static_cast<std::size_t>(d);
        const int row = d + 1;
        vGrid->addWidget(new QLabel(QString("Display %1").arg(d), values), row, 0);
        low_[i] = new RangeSpinBox(0, 255, values);
        low_[i]->setObjectName(QString("Low %1").arg(d));
        high_[i] = new RangeSpinBox(0, 255, values);
        high_[i]->setObjectName(QString("High %1").arg(d));
        lowText_[i] = new QLabel(values);
        highText_[i] = new QLabel(values);
        for (QLabel* t : {lowText_[i], highText_[i]}) {
            t->setFont(mono);
            t->setMinimumWidth(80);
            t->setTextFormat(Qt::PlainText);
        }
        vGrid->addWidget(low_[i], row, 1);
        vGrid->addWidget(lowText_[i], row, 2);
        vGrid->addWidget(high_[i], row, 3);
        vGrid->addWidget(highText_[i], row, 4);
        connect(low_[i], &QSpinBox::valueChanged, this, [this, i, d](int v) {
            ctx_.copies.alarms.displays[i].low = v;
            UpdateTexts(d);
        });
        connect(high_[i], &QSpinBox::valueChanged, this, [this, i, d](int v) {
            ctx_.copies.alarms.displays[i].high = v;
            UpdateTexts(d);
        });
        if (d < prefs::kInvertDisplays) {
            invert_[i] = new QCheckBox(values);
            invert_[i]->setObjectName(QString("Invert %1").arg(d));
            invert_[i]->setToolTip("Swap the low and high signs of this display's alarm");
            vGrid->addWidget(invert_[i], row, 5);
            connect(invert_[i], &QCheckBox::toggled, this, [this, i, d](bool on) {
                ctx_.copies.alarms.displays[i].invert = on;
                UpdateTexts(d);
            });
        }

        mGrid->addWidget(new QLabel(QString("Display %1").arg(d), modes), d, 0);
        action_[i] = new QComboBox(modes);
        action_[i]->setObjectName(QString("Action %1").arg(d));
        for (const auto& a : prefs::AlarmActions()) action_[i]->addItem(Text(a));
        mGrid->addWidget(action_[i], d, 1);
        connect(action_[i], &QComboBox::currentIndexChanged, this, [this, i](int k) {
            if (k >= 0) ctx_.copies.alarms.displays[i].action = k;
        });

        rGrid->addWidget(new QLabel(QString("Display %1").arg(d), relays), d, 0);
        relay_[i] = new RangeSpinBox(0, 255, relays);
        relay_[i]->setObjectName(QString("Relay %1").arg(d));
        rGrid->addWidget(relay_[i], d, 1);
        connect(relay_[i], &QSpinBox::valueChanged, this,
                [this, i](int v) { ctx_.copies.alarms.displays[i].relayMap = v; });
    }
    groups->addWidget(values);
    groups->addWidget(modes);
    groups->addWidget(relays);
    groups->addStretch(1);
    outer->addLayout(groups);

    fileName_ = OptionsFileRow(outer);
    outer->addStretch(1);
    outer->addWidget(PageButtons([this] { Open(); }, [this] { Save(); },
                                 "Save - click to save the alarms into the options file"));
    Refresh();
}

void CAlarmProperty::UpdateTexts(int d) {
    const auto& c = ctx_.copies;
    const auto i = static_cast<std::size_t>(d);
    lowText_[i]->setText(Text(prefs::ThresholdText(c.alarms, d, false, c.calibration, c.pulses)));
    highText_[i]->setText(Text(prefs::ThresholdText(c.alarms, d, true, c.calibration, c.pulses)));
}

void CAlarmProperty::Refresh() {
    const auto& page = ctx_.copies.alarms;
    for (std::size_t d = 0; d < 16; ++d) {
        const auto& a = page.displays[d];
        const QSignalBlocker b1(low_[d]);
        const QSignalBlocker b2(high_[d]);
        const QSignalBlocker b3(action_[d]);
        const QSignalBlocker b4(relay_[d]);
        low_[d]->setValue(a.low);
        high_[d]->setValue(a.high);
        action_[d]->setCurrentIndex(a.action);
        relay_[d]->setValue(a.relayMap);
        if (invert_[d] != nullptr) {
            const QSignalBlocker b5(invert_[d]);
            invert_[d]->setChecked(a.invert);
        }
        UpdateTexts(static_cast<int>(d));
    }
}

void CAlarmProperty::Open() {
    OpenSection(prefs::kAlarmsSection, Bytes(fileName_->text()), ctx_.copies.alarms);
}

void CAlarmProperty::Save() {
    SaveSection(prefs::kAlarmsSection, Bytes(fileName_->text()), ctx_.copies.alarms);
}

}  // namespace pelor::ui
