#include "ui/cal_table_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/prefs_page.h"

namespace pelor::ui {
namespace {

enum Column { kLocation, kValue, kIndex, kComment };

// Table texts are single-byte printable characters.
QValidator* PrintableText(QObject* parent) {
    return new QRegularExpressionValidator(QRegularExpression("[\\x20-\\x7E]*"), parent);
}

}  // namespace

CalTableDialog::CalTableDialog(core::Prompt& prompt, std::string directory, std::string fileName,
                               QWidget* parent, const std::string& readFrom)
    : QDialog(parent),
      prompt_(prompt),
      model_(prompt, std::move(directory), std::move(fileName), readFrom) {
    setObjectName("CAL TABLE");
    setWindowTitle("CAL TABLE");

    address_ = new QLineEdit(this);
    address_->setObjectName("Address");
    address_->setMaxLength(4);
    address_->setFixedWidth(80);
    name_ = new QLineEdit(Text(model_.FileName()), this);
    name_->setObjectName("FileName");
    name_->setMaxLength(259);

    list_ = new QTableWidget(static_cast<int>(tables::kCalibrationEntries), 4, this);
    list_->setObjectName("CalibrationList");
    list_->setHorizontalHeaderLabels({"Location", "Value", "Index", "Comment"});
    list_->verticalHeader()->hide();
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setColumnWidth(kLocation, 70);
    list_->setColumnWidth(kValue, 70);
    list_->setColumnWidth(kIndex, 60);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->verticalHeader()->setDefaultSectionSize(22);
    QFont mono("Monospace");
    mono.setStyleHint(QFont::TypeWriter);
    list_->setFont(mono);
    connect(list_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { EditRow(row); });

    // The rows: each with its location; the model holds value, index and comment.
    address_->setText(Text(model_.Address()));
    list_->setRowCount(model_.RowCount());
    for (int r = 0; r < list_->rowCount(); ++r) {
        const auto& row = model_.Row(r);
        const QString cells[] = {QString("%1").arg(r, 3, 10, QChar('0')), Text(row.value),
                                 Text(row.index), Text(row.comment)};
        for (int c = 0; c < 4; ++c) list_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    // A cell changed in the list goes to the model.
    connect(list_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        const int r = item->row();
        model_.SetRow(r,
                      {Bytes(list_->item(r, kValue)->text()), Bytes(list_->item(r, kIndex)->text()),
                       Bytes(list_->item(r, kComment)->text())});
    });

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("Address", this));
    top->addWidget(address_);
    top->addSpacing(20);
    top->addWidget(new QLabel("File", this));
    top->addWidget(name_, 1);

    auto* hint = new QLabel("Double-click a row to edit it. OK saves the table to a file.", this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CalTableDialog::Save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(list_, 1);
    layout->addWidget(hint);
    layout->addWidget(buttons);
    resize(560, 640);
}

void CalTableDialog::EditRow(int row) {
    if (row < 0 || row >= list_->rowCount()) return;
    CalTableEditDialog edit(prompt_, row, model_.Row(row), this);
    if (edit.exec() != QDialog::Accepted) return;
    const tables::CalibrationRow changed = edit.Row();
    model_.SetRow(row, changed);
    const QSignalBlocker block(list_);
    list_->item(row, kValue)->setText(Text(changed.value));
    list_->item(row, kIndex)->setText(Text(changed.index));
    list_->item(row, kComment)->setText(Text(changed.comment));
}

void CalTableDialog::ShowRow(int row) {
    list_->selectRow(row);
    list_->scrollToItem(list_->item(row, kValue));
}

void CalTableDialog::Save() {
    model_.SetAddress(Bytes(address_->text()));
    const tables::CalibrationSave saved = tables::SaveCalibrationTable(
        prompt_, model_, Bytes(name_->text()), [this](int row) { ShowRow(row); });
    if (!saved.chosenName.empty()) name_->setText(Text(saved.chosenName));
    if (saved.saved) accept();
}

CalTableEditDialog::CalTableEditDialog(core::Prompt& prompt, int location,
                                       const tables::CalibrationRow& row, QWidget* parent)
    : QDialog(parent), prompt_(prompt), location_(location) {
    setObjectName("CAL TABLE EDIT");
    setWindowTitle("CAL TABLE EDIT");
    auto* where = new QLineEdit(QString("%1").arg(location, 3, 10, QChar('0')), this);
    where->setObjectName("Location");
    where->setReadOnly(true);
    value_ = new QLineEdit(Text(row.value), this);
    value_->setObjectName("Value");
    value_->setMaxLength(6);
    value_->setValidator(PrintableText(value_));
    index_ = new QLineEdit(Text(row.index), this);
    index_->setObjectName("Index");
    index_->setMaxLength(2);
    index_->setValidator(PrintableText(index_));
    comment_ = new QLineEdit(Text(row.comment), this);
    comment_->setObjectName("Comment");
    comment_->setMaxLength(24);
    comment_->setValidator(PrintableText(comment_));
    comment_->setMinimumWidth(240);

    auto* form = new QFormLayout;
    form->addRow("Location", where);
    form->addRow("Value", value_);
    form->addRow("Index", index_);
    form->addRow("Comment", comment_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

tables::CalibrationRow CalTableEditDialog::Row() const {
    return {Bytes(value_->text()), Bytes(index_->text().toUpper()), Bytes(comment_->text())};
}

void CalTableEditDialog::accept() {
    const tables::CalibrationRow row = Row();
    QLineEdit* field = value_;
    std::string bad = tables::CheckCalibrationValue(location_, row.value);
    if (bad.empty()) {
        field = index_;
        bad = tables::CheckCalibrationIndex(location_, row.index);
    }
    if (!bad.empty()) {
        prompt_.Message(bad, "Error");
        field->setFocus();
        field->selectAll();
        return;
    }
    QDialog::accept();
}

}  // namespace pelor::ui
