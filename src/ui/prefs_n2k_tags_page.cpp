#include "ui/prefs_n2k_tags_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace pelor::ui {

CN2KTags::CN2KTags(PrefsContext context, QWidget* parent) : PrefsPage(context, parent) {
    auto* outer = new QVBoxLayout(this);
    fileName_ = OptionsFileRow(outer);
    fileName_->setReadOnly(true);

    auto* box = new QGroupBox("NMEA 2000 Tags", this);
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(2);
    const char* heads[] = {"", "Instance", "PGN", "Parameter", "", "", "Enable", "Source"};
    for (int c = 0; c < 8; ++c) grid->addWidget(new QLabel(heads[c], box), 0, c);
    QStringList pgns;
    for (const char* p : prefs::N2kPgnChoices()) pgns << QString::fromLatin1(p);
    for (int k = 0; k < prefs::kN2kRowCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        Row& r = rows_[i];
        const QString name = Text(prefs::N2kRowCaption(k));
        grid->addWidget(new QLabel(name, box), k + 1, 0);
        r.instance = new RangeSpinBox(0, 9, box);
        r.instance->setObjectName(name + " Instance");
        r.instance->setMinimumWidth(52);
        r.pgn = new QComboBox(box);
        r.pgn->setObjectName(name + " PGN");
        r.pgn->addItems(pgns);
        r.parameter = new QComboBox(box);
        r.parameter->setObjectName(name + " Parameter");
        r.parameter->setMinimumWidth(170);
        r.parameter->setMaxVisibleItems(20);
        r.caption = new QLabel(box);
        r.caption->setMinimumWidth(120);
        r.number = new RangeSpinBox(0, 65535, box);
        r.number->setObjectName(name + " Number");
        r.enabled = new QCheckBox(box);
        r.enabled->setObjectName(name + " Enable");
        r.source = new RangeSpinBox(0, 9, box);
        r.source->setObjectName(name + " Source");
        r.source->setMinimumWidth(52);
        int c = 1;
        for (QWidget* w :
             std::initializer_list<QWidget*>{r.instance, r.pgn, r.parameter, r.caption, r.number}) {
            grid->addWidget(w, k + 1, c++);
        }
        grid->addWidget(r.enabled, k + 1, c++, Qt::AlignHCenter);
        grid->addWidget(r.source, k + 1, c);

        auto& row = ctx_.copies.n2kTags.rows[i];
        connect(r.instance, &QSpinBox::valueChanged, this, [&row](int v) { row.instance = v; });
        connect(r.number, &QSpinBox::valueChanged, this, [&row](int v) { row.number = v; });
        connect(r.source, &QSpinBox::valueChanged, this, [&row](int v) { row.source = v; });
        connect(r.enabled, &QCheckBox::toggled, this, [&row](bool on) { row.enabled = on; });
        // A new PGN refills the parameter list, starts at its first entry and re-captions the
        // number field.
        connect(r.pgn, &QComboBox::currentIndexChanged, this, [this, &row, k](int p) {
            if (p < 0) return;
            row.pgn = p;
            row.parameter = 0;
            FillParameters(k);
        });
        connect(r.parameter, &QComboBox::currentIndexChanged, this, [this, &row, k](int p) {
            if (p < 0) return;
            row.parameter = p;
            ShowCaption(k);
        });
    }
    outer->addWidget(box);
    outer->addStretch(1);
    outer->addWidget(PageButtons([this] { Open(); }, [this] { Save(); },
                                 "Save - click to save the NMEA 2000 tags into the options file"));
    Refresh();
}

void CN2KTags::FillParameters(int k) {
    const auto i = static_cast<std::size_t>(k);
    const prefs::N2kRow& row = ctx_.copies.n2kTags.rows[i];
    QComboBox* box = rows_[i].parameter;
    const QSignalBlocker block(box);
    box->clear();
    for (const auto& p : prefs::N2kParameterChoices(row.pgn)) box->addItem(Text(p));
    // A parameter past the list (a file may hold one) shows no choice and is kept.
    box->setCurrentIndex(row.parameter < box->count() ? row.parameter : -1);
    ShowCaption(k);
}

void CN2KTags::ShowCaption(int k) {
    const auto i = static_cast<std::size_t>(k);
    const prefs::N2kRow& row = ctx_.copies.n2kTags.rows[i];
    const std::string caption = prefs::N2kNumberCaption(row.pgn, row.parameter);
    // A row without a number keeps its value, hidden.
    rows_[i].caption->setText(Text(caption));
    rows_[i].number->setVisible(!caption.empty());
}

void CN2KTags::Refresh() {
    for (int k = 0; k < prefs::kN2kRowCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const prefs::N2kRow& row = ctx_.copies.n2kTags.rows[i];
        Row& r = rows_[i];
        const QSignalBlocker b1(r.instance), b2(r.pgn), b3(r.number), b4(r.enabled), b5(r.source);
        r.instance->setValue(row.instance);
        r.pgn->setCurrentIndex(row.pgn);
        r.number->setValue(row.number);
        r.enabled->setChecked(row.enabled);
        r.source->setValue(row.source);
        FillParameters(k);
    }
    fileName_->setText(Text(ctx_.copies.optionsFile));
}

void CN2KTags::showEvent(QShowEvent* event) {
    // The OPTIONS page may have opened another options file, or its name changed.
    Refresh();
    PrefsPage::showEvent(event);
}

void CN2KTags::Open() {
    OpenSection(prefs::kN2kTagsSection, ctx_.copies.optionsFile, ctx_.copies.n2kTags);
}

void CN2KTags::Save() {
    SaveSection(prefs::kN2kTagsSection, ctx_.copies.optionsFile, ctx_.copies.n2kTags);
}

}  // namespace pelor::ui
