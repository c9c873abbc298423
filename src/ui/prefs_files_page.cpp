#include "ui/prefs_files_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "logs/log_conversion.h"
#include "prefs/files_page.h"
#include "ui/cal_table_dlg.h"
#include "ui/themes_dlg.h"

namespace pelor::ui {

TableFileNames::TableFileNames(PrefsContext context, QWidget* parent) : PrefsPage(context, parent) {
    auto* outer = new QVBoxLayout(this);
    auto* box = new QGroupBox("Project Files", this);
    grid_ = new QGridLayout(box);
    grid_->setColumnStretch(1, 1);
    grid_->setColumnMinimumWidth(1, 420);
    outer->addWidget(box);

    auto disabledOpen = [this] {
        auto* b = new QPushButton("Open", this);
        b->setEnabled(false);
        return b;
    };
    labels_ = AddRow(
        "Display Labels", [this] { ChooseTable(ctx_.copies.files.labelsFile, false); },
        disabledOpen());
    connect(labels_, &QLineEdit::textEdited, this,
            [this](const QString& t) { ctx_.copies.files.labelsFile = Bytes(t); });
    pages_ = AddRow(
        "Display Pages", [this] { ChooseTable(ctx_.copies.files.pageFile, false); },
        disabledOpen());
    connect(pages_, &QLineEdit::textEdited, this,
            [this](const QString& t) { ctx_.copies.files.pageFile = Bytes(t); });
    for (int i = 0; i < 12; ++i) {
        auto* open = new QPushButton("Open", this);
        open->setObjectName(QString("Open Sensor %1").arg(i));
        open->setToolTip("Open the table in the calibration table editor");
        connect(open, &QPushButton::clicked, this, [this, i] { OpenSensorTable(i); });
        QLineEdit*& field = sensors_[static_cast<std::size_t>(i)];
        field = AddRow(
            QString("Sensor %1 Table").arg(i),
            [this, i] {
                ChooseTable(ctx_.copies.files.sensorFiles[static_cast<std::size_t>(i)], true);
            },
            open);
        connect(field, &QLineEdit::textEdited, this, [this, i](const QString& t) {
            ctx_.copies.files.sensorFiles[static_cast<std::size_t>(i)] = Bytes(t);
        });
    }
    auto* convert = new QPushButton("Convert", this);
    convert->setObjectName("Convert");
    convert->setToolTip("Convert a TXT capture log into a CSV table");
    connect(convert, &QPushButton::clicked, this, [this] {
        logs::ChooseAndConvertTextLog(ctx_.copies.projectDirectory + ctx_.copies.files.logFile,
                                      ctx_.prompt);
    });
    log_ = AddRow(
        "Log Data File", [this] { ChooseLog(); }, convert);
    connect(log_, &QLineEdit::textEdited, this,
            [this](const QString& t) { ctx_.copies.files.logFile = Bytes(t); });
    project_ = AddRow("Pelor Project File", [this] { ChooseProject(); });
    connect(project_, &QLineEdit::textEdited, this,
            [this](const QString& t) { ctx_.copies.files.projectPath = Bytes(t); });
    auto* preview = new QPushButton("Preview", this);
    preview->setObjectName("Preview");
    preview->setToolTip("Show the sample gauge of the theme preview");
    connect(preview, &QPushButton::clicked, this, [this] {
        CThemes themes(this);
        themes.exec();
    });
    theme_ = AddRow(
        "Pelor Theme File", [this] { ChooseTheme(); }, preview);
    connect(theme_, &QLineEdit::textEdited, this,
            [this](const QString& t) { ctx_.copies.files.themePath = Bytes(t); });

    auto* note = new QLabel(
        "Table files are kept in the project folder. A sensor table chosen elsewhere is copied "
        "there. Changed files are loaded when the sheet closes with OK; a new project or theme "
        "is used from the next start.",
        this);
    note->setWordWrap(true);
    outer->addWidget(note);
    outer->addStretch(1);
    outer->addWidget(PageButtons({}, {}));
    Refresh();
}

QLineEdit* TableFileNames::AddRow(const QString& caption, const std::function<void()>& choose,
                                  QPushButton* extra) {
    auto* label = new QLabel(caption, this);
    auto* field = new QLineEdit(this);
    field->setObjectName(caption);
    field->setMaxLength(259);
    label->setBuddy(field);
    auto* button = new QPushButton("Choose", this);
    button->setObjectName("Choose " + caption);
    connect(button, &QPushButton::clicked, this, choose);
    grid_->addWidget(label, row_, 0);
    grid_->addWidget(field, row_, 1);
    grid_->addWidget(button, row_, 2);
    if (extra != nullptr) grid_->addWidget(extra, row_, 3);
    ++row_;
    return field;
}

void TableFileNames::Refresh() {
    const auto& f = ctx_.copies.files;
    labels_->setText(Text(f.labelsFile));
    pages_->setText(Text(f.pageFile));
    for (std::size_t i = 0; i < sensors_.size(); ++i) sensors_[i]->setText(Text(f.sensorFiles[i]));
    log_->setText(Text(f.logFile));
    project_->setText(Text(f.projectPath));
    theme_->setText(Text(f.themePath));
}

void TableFileNames::ChooseTable(std::string& name, bool sensorTable) {
    if (prefs::ChooseTableFile(ctx_.prompt, ctx_.copies.projectDirectory, sensorTable, name)) {
        Refresh();
    }
}

void TableFileNames::OpenSensorTable(int table) {
    std::string& field = ctx_.copies.files.sensorFiles[static_cast<std::size_t>(table)];
    const std::string& dir = ctx_.copies.projectDirectory;
    const auto chosen = prefs::ChooseSensorTableToEdit(ctx_.prompt, dir, field);
    if (!chosen) return;
    Refresh();
    CalTableDialog dialog(ctx_.prompt, dir, chosen->name, this, chosen->fromFolder);
    if (dialog.exec() == QDialog::Accepted) {
        field = dialog.FileName();
        Refresh();
    }
}

void TableFileNames::ChooseLog() {
    auto& copies = ctx_.copies;
    if (prefs::ChooseLogFile(ctx_.prompt, copies.projectDirectory, copies.files.logFile)) Refresh();
}

void TableFileNames::ChooseProject() {
    if (prefs::ChooseProjectFile(ctx_.prompt, ctx_.copies.files)) Refresh();
}

void TableFileNames::ChooseTheme() {
    if (prefs::ChooseThemeFile(ctx_.prompt, ctx_.copies.files.themePath)) Refresh();
}

}  // namespace pelor::ui
