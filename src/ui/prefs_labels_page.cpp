#include "ui/prefs_labels_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "prefs/labels_page.h"
#include "tables/label_file.h"

namespace pelor::ui {
namespace {

QLineEdit* LabelField(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(prefs::kLabelWidth);
    // Plain single-byte text without apostrophes: the file's text entries are quoted.
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[\\x20-\\x26\\x28-\\x7E]*"), edit));
    edit->setFixedWidth(110);
    return edit;
}

}  // namespace

DisplayLabels::DisplayLabels(PrefsContext context, QWidget* parent) : PrefsPage(context, parent) {
    auto* outer = new QVBoxLayout(this);
    auto* groups = new QHBoxLayout;

    auto* unit = new QGroupBox("Morbel Display Labels", this);
    auto* form = new QFormLayout(unit);
    form->setVerticalSpacing(3);
    for (int e = 0; e < prefs::kPageLabelCount; ++e) {
        const auto i = static_cast<std::size_t>(e);
        const QString caption = Text(prefs::LabelCaption(e));
        labels_[i] = LabelField(caption.trimmed(), unit);
        form->addRow(caption, labels_[i]);
        connect(labels_[i], &QLineEdit::textEdited, this,
                [this, i](const QString& t) { ctx_.copies.labels.labels[i] = Bytes(t); });
    }

    auto* kantelo = new QGroupBox("Kantelo Display Labels", this);
    auto* grid = new QGridLayout(kantelo);
    grid->setVerticalSpacing(3);
    grid->addWidget(new QLabel("Label", kantelo), 0, 1);
    grid->addWidget(new QLabel("Symbol", kantelo), 0, 2);
    grid->addWidget(new QLabel("Power-on", kantelo), 0, 3);
    QStringList symbols;
    for (const auto& s : tables::SymbolChoices()) symbols << Text(s);
    for (int k = 0; k < static_cast<int>(tables::kKanteloSwitchCount); ++k) {
        const auto i = static_cast<std::size_t>(k);
        grid->addWidget(new QLabel(QString("Kantelo Label %1").arg(k), kantelo), k + 1, 0);
        switchLabels_[i] = LabelField(QString("Kantelo Label %1").arg(k), kantelo);
        grid->addWidget(switchLabels_[i], k + 1, 1);
        symbols_[i] = new QComboBox(kantelo);
        symbols_[i]->setObjectName(QString("Symbol %1").arg(k));
        symbols_[i]->addItems(symbols);
        symbols_[i]->setMaxVisibleItems(20);
        grid->addWidget(symbols_[i], k + 1, 2);
        powerOn_[i] = new QCheckBox(kantelo);
        powerOn_[i]->setObjectName(QString("PowerOn %1").arg(k));
        grid->addWidget(powerOn_[i], k + 1, 3, Qt::AlignHCenter);
        connect(switchLabels_[i], &QLineEdit::textEdited, this,
                [this, i](const QString& t) { ctx_.copies.labels.kanteloLabels[i] = Bytes(t); });
        connect(symbols_[i], &QComboBox::currentIndexChanged, this, [this, i](int c) {
            if (c >= 0) ctx_.copies.labels.symbolCodes[i] = c;
        });
        connect(powerOn_[i], &QCheckBox::toggled, this,
                [this, i](bool on) { ctx_.copies.labels.powerOn[i] = on; });
    }
    reset_ = new QCheckBox("Power-on Reset of all Kantelo Relays", kantelo);
    reset_->setObjectName("PowerOnReset");
    grid->addWidget(reset_, static_cast<int>(tables::kKanteloSwitchCount) + 1, 0, 1, 4);
    connect(reset_, &QCheckBox::toggled, this,
            [this](bool on) { ctx_.copies.labels.powerOnReset = on; });

    groups->addWidget(unit, 0, Qt::AlignTop);
    groups->addWidget(kantelo, 0, Qt::AlignTop);
    groups->addStretch(1);
    outer->addLayout(groups);
    outer->addStretch(1);
    // Save collects the page, asks for the labels file to be written and ends the sheet.
    outer->addWidget(PageButtons(
        {},
        [this] {
            ctx_.copies.labels.saveRequested = true;
            Q_EMIT okRequested();
        },
        "Save - click save changes to specified DISPLAY LABELS file"));
    Refresh();
}

void DisplayLabels::Refresh() {
    const auto& page = ctx_.copies.labels;
    for (std::size_t e = 0; e < labels_.size(); ++e) labels_[e]->setText(Text(page.labels[e]));
    for (std::size_t k = 0; k < switchLabels_.size(); ++k) {
        const QSignalBlocker b1(symbols_[k]);
        const QSignalBlocker b2(powerOn_[k]);
        switchLabels_[k]->setText(Text(page.kanteloLabels[k]));
        symbols_[k]->setCurrentIndex(page.symbolCodes[k]);
        powerOn_[k]->setChecked(page.powerOn[k]);
    }
    const QSignalBlocker b(reset_);
    reset_->setChecked(page.powerOnReset);
}

}  // namespace pelor::ui
