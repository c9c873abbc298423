#include "ui/prefs_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pelor::ui {

QString Text(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

std::string Bytes(const QString& s) {
    return s.toLatin1().toStdString();
}

RangeSpinBox::RangeSpinBox(int min, int max, QWidget* parent)
    : QSpinBox(parent), min_(min), max_(max) {
    setRange(-999999, 999999);
    setToolTip(QString("%1 to %2").arg(min).arg(max));
    setMinimumWidth(72);
}

void RangeSpinBox::stepBy(int steps) {
    setValue(std::clamp(value() + steps * singleStep(), min_, max_));
}

QAbstractSpinBox::StepEnabled RangeSpinBox::stepEnabled() const {
    StepEnabled e = StepNone;
    if (value() < max_) e |= StepUpEnabled;
    if (value() > min_) e |= StepDownEnabled;
    return e;
}

PrefsPage::PrefsPage(PrefsContext context, QWidget* parent) : QWidget(parent), ctx_(context) {}

QWidget* PrefsPage::PageButtons(const std::function<void()>& open,
                                const std::function<void()>& save, const char* saveTip,
                                const char* openTip) {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addStretch(1);
    auto add = [&](const char* caption, const char* tip, const std::function<void()>& f) {
        auto* b = new QPushButton(caption, row);
        b->setObjectName(caption);
        if (*tip != '\0') b->setToolTip(tip);
        connect(b, &QPushButton::clicked, this, f);
        layout->addWidget(b);
    };
    if (open) add("OPEN", openTip, open);
    if (save) add("PREFSAVE", saveTip, save);
    add("PREFOK", "Exit SAVE - click to Exit and SAVE changes", [this] { Q_EMIT okRequested(); });
    add("PREFCLOSE", "Exit - click to exit without saving changes",
        [this] { Q_EMIT closeRequested(); });
    return row;
}

QLineEdit* PrefsPage::FileNameField(const std::string& name) {
    auto* edit = new QLineEdit(Text(name), this);
    edit->setObjectName("FileName");
    edit->setMaxLength(259);
    return edit;
}

QLineEdit* PrefsPage::OptionsFileRow(QBoxLayout* outer) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Options File", this));
    QLineEdit* field = FileNameField(ctx_.copies.optionsFile);
    row->addWidget(field, 1);
    outer->addLayout(row);
    return field;
}

}  // namespace pelor::ui
