#include "ui/prefs_nmea_tags_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace pelor::ui {
namespace {

// A spin box whose arrows stay in [min, max] and whose every change goes into `field`.
template <typename Field>
RangeSpinBox* FieldBox(QWidget* parent, const QString& name, int min, int max, Field* field) {
    auto* box = new RangeSpinBox(min, max, parent);
    box->setObjectName(name);
    box->setMinimumWidth(56);
    box->setMaximumWidth(96);
    QObject::connect(box, &QSpinBox::valueChanged, parent,
                     // A typed number past a byte is kept as 255, which the page's check
                     // refuses with the field's name, rather than wrapping into range.
                     [field](int v) { *field = static_cast<Field>(v < 0 || v > 255 ? 255 : v); });
    return box;
}

}  // namespace

CNMEATags::CNMEATags(PrefsContext context, QWidget* parent) : PrefsPage(context, parent) {
    auto& page = ctx_.copies.nmeaTags;
    auto* outer = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;

    auto* tags = new QGroupBox("NMEA 0183 Tags", this);
    auto* grid = new QGridLayout(tags);
    grid->setVerticalSpacing(3);
    grid->addWidget(new QLabel("Sentence", tags), 0, 1);
    grid->addWidget(new QLabel("Value", tags), 0, 2);
    QStringList sentences;
    for (const char* s : prefs::NmeaSentenceChoices()) sentences << QString::fromLatin1(s);
    for (int n = 0; n < prefs::kNmeaTagCount; ++n) {
        const auto i = static_cast<std::size_t>(n);
        grid->addWidget(new QLabel(QString("NMEA %1").arg(n), tags), n + 1, 0);
        sentences_[i] = new QComboBox(tags);
        sentences_[i]->setObjectName(QString("NMEA %1 Sentence").arg(n));
        sentences_[i]->addItems(sentences);
        values_[i] = new QComboBox(tags);
        values_[i]->setObjectName(QString("NMEA %1 Value").arg(n));
        values_[i]->setMinimumWidth(170);
        grid->addWidget(sentences_[i], n + 1, 1);
        grid->addWidget(values_[i], n + 1, 2);
        // A new sentence refills the value list and starts at its first value.
        connect(sentences_[i], &QComboBox::currentIndexChanged, this, [this, i, n](int c) {
            if (c < 0) return;
            ctx_.copies.nmeaTags.tags[i] = {c, 0};
            FillValues(n);
        });
        connect(values_[i], &QComboBox::currentIndexChanged, this, [this, i](int v) {
            if (v >= 0) ctx_.copies.nmeaTags.tags[i].value = v;
        });
    }

    auto* time = new QGroupBox("Time Settings", this);
    auto* tgrid = new QGridLayout(time);
    tgrid->setVerticalSpacing(3);
    int row = 0;
    tgrid->addWidget(new QLabel("UTC Time Adjust", time), row, 0);
    utc_ = FieldBox(time, "UTC Time Adjust", 0, 23, &page.time.utcOffset);
    tgrid->addWidget(utc_, row++, 1);
    for (int k = 0; k < 3; ++k) {
        auto& tach = page.time.tachometers[static_cast<std::size_t>(k)];
        auto& boxes = tach_[static_cast<std::size_t>(k)];
        const QString caption = QString("Tac %1 Hour Adjust").arg(k);
        tgrid->addWidget(new QLabel(caption, time), row, 0);
        auto* digits = new QHBoxLayout;
        static constexpr std::array<int, 6> kMax = {9, 9, 9, 9, 5, 9};
        for (std::size_t d = 0; d < 6; ++d) {
            boxes[d] =
                FieldBox(time, QString("%1 %2").arg(caption).arg(d), 0, kMax[d], &tach.digits[d]);
            boxes[d]->setEnabled(false);
            if (d == 4) digits->addWidget(new QLabel(":", time));
            digits->addWidget(boxes[d]);
        }
        // The counter is the unit's running engine time: it is adjusted only after "Enable",
        // and "Reset" sets it to zero. The entry's flag character stays as loaded.
        auto* reset = new QPushButton("Reset", time);
        reset->setObjectName(QString("Tac %1 Reset").arg(k));
        reset->setEnabled(false);
        auto* enable = new QCheckBox("Enable", time);
        enable->setObjectName(QString("Tac %1 Enable").arg(k));
        connect(enable, &QCheckBox::toggled, this, [&boxes, reset](bool on) {
            for (QSpinBox* box : boxes) box->setEnabled(on);
            reset->setEnabled(on);
        });
        connect(reset, &QPushButton::clicked, this, [&boxes] {
            for (QSpinBox* box : boxes) box->setValue(0);
        });
        digits->addWidget(reset);
        digits->addWidget(enable);
        digits->addStretch(1);
        tgrid->addLayout(digits, row++, 1);
    }
    tgrid->addWidget(new QLabel("Date/Time", time), row++, 0);
    auto& t = page.time;
    const struct {
        const char* caption;
        int min;
        int max;
        std::uint8_t* field;
    } dateFields[] = {{"Month ", 0, 12, &t.month},  {"Day", 0, 31, &t.day},
                      {"Year", 0, 99, &t.year},     {"Hour", 0, 23, &t.hour},
                      {"Minute", 0, 59, &t.minute}, {"Seconds", 0, 59, &t.seconds}};
    for (std::size_t f = 0; f < date_.size(); ++f) {
        const auto& d = dateFields[f];
        tgrid->addWidget(new QLabel(d.caption, time), row, 0);
        date_[f] = FieldBox(time, QString(d.caption).trimmed(), d.min, d.max, d.field);
        tgrid->addWidget(date_[f], row++, 1);
    }
    tgrid->setRowStretch(row, 1);

    columns->addWidget(tags, 0, Qt::AlignTop);
    columns->addWidget(time, 0, Qt::AlignTop);
    columns->addStretch(1);
    outer->addLayout(columns);
    auto* where = new QLabel(
        "The NMEA tags are saved into the Display Pages file when the sheet closes with OK or "
        "Save. The time settings are kept in the Display Labels file: Save asks to write it.",
        this);
    where->setObjectName("NMEA TAGS Files");
    where->setWordWrap(true);
    outer->addWidget(where);
    outer->addStretch(1);
    // Save collects the page, asks for the labels file to be written and ends the sheet (the
    // tags go into the page file then).
    outer->addWidget(PageButtons(
        {},
        [this] {
            ctx_.copies.nmeaTags.saveRequested = true;
            Q_EMIT okRequested();
        },
        "Save - click to save the tags into the DISPLAY PAGES file and the time settings into "
        "the DISPLAY LABELS file"));
    Refresh();
}

void CNMEATags::FillValues(int tag) {
    const auto i = static_cast<std::size_t>(tag);
    const prefs::NmeaTag& t = ctx_.copies.nmeaTags.tags[i];
    const QSignalBlocker block(values_[i]);
    values_[i]->clear();
    for (const auto& v : prefs::NmeaValueChoices(t.sentence)) values_[i]->addItem(Text(v));
    // A value past the sentence's list (a file may hold one) shows no choice and is kept.
    values_[i]->setCurrentIndex(t.value < values_[i]->count() ? t.value : -1);
}

void CNMEATags::Refresh() {
    const auto& page = ctx_.copies.nmeaTags;
    for (int n = 0; n < prefs::kNmeaTagCount; ++n) {
        const auto i = static_cast<std::size_t>(n);
        const QSignalBlocker block(sentences_[i]);
        sentences_[i]->setCurrentIndex(page.tags[i].sentence);
        FillValues(n);
    }
    const auto set = [](QSpinBox* box, int v) {
        const QSignalBlocker block(box);
        box->setValue(v);
    };
    const auto& t = page.time;
    set(utc_, t.utcOffset);
    for (std::size_t k = 0; k < tach_.size(); ++k) {
        for (std::size_t d = 0; d < 6; ++d) set(tach_[k][d], t.tachometers[k].digits[d]);
    }
    const int date[] = {t.month, t.day, t.year, t.hour, t.minute, t.seconds};
    for (std::size_t f = 0; f < date_.size(); ++f) set(date_[f], date[f]);
}

}  // namespace pelor::ui
