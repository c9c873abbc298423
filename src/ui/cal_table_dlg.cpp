#include "ui/cal_table_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QVBoxLayout>

#include "prefs/options_page.h"
#include "tables/table_file.h"
#include "ui/prefs_page.h"

namespace pelor::ui {
namespace {

enum Column { kLocation, kValue, kIndex, kComment };

// Table texts are single-byte printable characters.
QValidator* PrintableText(QObject* parent) {
    return new QRegularExpressionValidator(QRegularExpression("[\\x20-\\x7E]*"), parent);
}

}  // namespace

std::string CheckCalibrationAddress(const std::string& address) {
    const bool ok = address.size() == 4 &&
                    address.find_first_not_of("0123456789ABCDEFabcdef") == std::string::npos;
    return ok ? std::string() : "The Address must be four hexadecimal digits, for example 8000";
}

CalTableDialog::CalTableDialog(core::Prompt& prompt, std::string directory, std::string fileName,
                               QWidget* parent, const std::string& readFrom)
    : QDialog(parent),
      prompt_(prompt),
      directory_(std::move(directory)),
      fileName_(std::move(fileName)) {
    setObjectName("CAL TABLE");
    setWindowTitle("CAL TABLE");

    address_ = new QLineEdit(this);
    address_->setObjectName("Address");
    address_->setMaxLength(4);
    address_->setFixedWidth(80);
    name_ = new QLineEdit(Text(fileName_), this);
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

    // The rows: each with its location; the file fills value, index and comment.
    const tables::CalibrationFileRead read =
        tables::ReadCalibrationFile(prompt_, readFrom.empty() ? directory_ : readFrom, fileName_);
    address_->setText(Text(read.address));
    list_->setRowCount(read.rowsShown);
    for (int r = 0; r < list_->rowCount(); ++r) {
        const auto& row = read.rows[static_cast<std::size_t>(r)];
        const QString cells[] = {QString("%1").arg(r, 3, 10, QChar('0')), Text(row.value),
                                 Text(row.index), Text(row.comment)};
        for (int c = 0; c < 4; ++c) list_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }

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

tables::CalibrationRows CalTableDialog::Rows() const {
    tables::CalibrationRows rows;
    for (int r = 0; r < list_->rowCount(); ++r) {
        auto& row = rows[static_cast<std::size_t>(r)];
        row.value = Bytes(list_->item(r, kValue)->text());
        row.index = Bytes(list_->item(r, kIndex)->text());
        row.comment = Bytes(list_->item(r, kComment)->text());
    }
    return rows;
}

void CalTableDialog::EditRow(int row) {
    if (row < 0 || row >= list_->rowCount()) return;
    const tables::CalibrationRow current{Bytes(list_->item(row, kValue)->text()),
                                         Bytes(list_->item(row, kIndex)->text()),
                                         Bytes(list_->item(row, kComment)->text())};
    CalTableEditDialog edit(prompt_, row, current, this);
    if (edit.exec() != QDialog::Accepted) return;
    const tables::CalibrationRow changed = edit.Row();
    list_->item(row, kValue)->setText(Text(changed.value));
    list_->item(row, kIndex)->setText(Text(changed.index));
    list_->item(row, kComment)->setText(Text(changed.comment));
}

void CalTableDialog::Save() {
    if (list_->rowCount() != static_cast<int>(tables::kCalibrationEntries)) {
        prompt_.Message(QString("The table could not be read completely (%1 of 256 rows are "
                                "listed): nothing is saved.")
                            .arg(list_->rowCount())
                            .toStdString(),
                        "Error");
        return;
    }
    const std::string address = Bytes(address_->text());
    if (const std::string bad = CheckCalibrationAddress(address); !bad.empty()) {
        prompt_.Message(bad, "Error");
        return;
    }
    const tables::CalibrationRows rows = Rows();
    for (int r = 0; r < list_->rowCount(); ++r) {
        const std::string bad = tables::CheckCalibrationRow(r, rows[static_cast<std::size_t>(r)]);
        if (bad.empty()) continue;
        list_->selectRow(r);
        list_->scrollToItem(list_->item(r, kValue));
        prompt_.Message(bad, "Error");
        return;
    }
    core::FileDialogRequest r;
    r.open = false;
    r.defaultExtension = "txt";
    r.initialName = directory_ + Bytes(name_->text());
    r.filter = "Text Files (*.txt)|*.txt||";
    r.overwritePrompt = true;
    // Cancelling the save dialog returns to the list with its edits.
    const auto chosen = prompt_.ChooseFile(r);
    if (!chosen) return;
    if (const std::string outside = tables::OutsideProjectFolder(*chosen, directory_);
        !outside.empty()) {
        prompt_.Message(outside, "Error");
        return;
    }
    const std::string name = tables::BareFileName(*chosen);
    name_->setText(Text(name));
    if (!tables::WriteCalibrationFile(prompt_, directory_, name, address, rows)) return;
    fileName_ = name;
    accept();
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
