#include "ui/prefs_files_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "logs/log_conversion.h"
#include "prefs/options_page.h"
#include "tables/project_start.h"
#include "tables/table_file.h"
#include "ui/cal_table_dlg.h"
#include "ui/themes_dlg.h"

namespace pelor::ui {
namespace {

core::FileDialogRequest TextChooser(const std::string& initial) {
    core::FileDialogRequest r;
    r.open = false;
    r.defaultExtension = "txt";
    r.initialName = initial;
    r.filter = "Text Files (*.txt)|*.txt||";
    r.overwritePrompt = true;
    return r;
}

}  // namespace

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
        "Display Labels", [this] { ChooseTable(labels_, false); }, disabledOpen());
    connect(labels_, &QLineEdit::textEdited, this,
            [this](const QString& t) { ctx_.copies.files.labelsFile = Bytes(t); });
    pages_ = AddRow(
        "Display Pages", [this] { ChooseTable(pages_, false); }, disabledOpen());
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
            [this, i] { ChooseTable(sensors_[static_cast<std::size_t>(i)], true); }, open);
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

void TableFileNames::ChooseTable(QLineEdit* field, bool sensorTable) {
    const std::string& dir = ctx_.copies.projectDirectory;
    const auto chosen = ctx_.prompt.ChooseFile(TextChooser(Bytes(field->text())));
    if (!chosen) return;
    if (sensorTable) {
        if (!prefs::CopyIntoProjectFolder(ctx_.prompt, *chosen, dir)) return;
    } else if (const std::string outside = prefs::OutsideProjectFolder(*chosen, dir);
               !outside.empty()) {
        ctx_.prompt.Message(outside, "Error");
        return;
    }
    field->setText(Text(tables::BareFileName(*chosen)));
    Q_EMIT field->textEdited(field->text());
}

void TableFileNames::OpenSensorTable(int table) {
    QLineEdit* field = sensors_[static_cast<std::size_t>(table)];
    const std::string& dir = ctx_.copies.projectDirectory;
    core::FileDialogRequest r;
    r.open = true;
    r.defaultExtension = "txt";
    r.initialName = Bytes(field->text());
    r.filter = "Text Files (*.txt)|*.txt||";
    r.pathMustExist = true;
    const auto chosen = ctx_.prompt.ChooseFile(r);
    if (!chosen) return;
    // Opening copies nothing. The editor saves into the project folder; a table opened from
    // elsewhere names the field only once it has been saved there, so that the field never
    // names a file of the project folder that is not the one shown.
    const std::string name = tables::BareFileName(*chosen);
    const bool inProject = prefs::InProjectFolder(*chosen, dir);
    if (inProject) {
        field->setText(Text(name));
        Q_EMIT field->textEdited(field->text());
    }
    const std::string from = inProject ? std::string() : prefs::SplitProjectPath(*chosen).first;
    CalTableDialog dialog(ctx_.prompt, dir, name, this, from);
    if (dialog.exec() == QDialog::Accepted) {
        field->setText(Text(dialog.FileName()));
        Q_EMIT field->textEdited(field->text());
    }
}

void TableFileNames::ChooseLog() {
    core::FileDialogRequest r;
    r.open = false;
    r.defaultExtension = "txt";
    r.initialName = Bytes(log_->text());
    r.filter =
        "CSV Files (*.csv)|*.csv|HTM Web Log Files (*.htm)|*.htm|N2K Log Files "
        "(*.ebl)|*.ebl|Text Files (*.txt)|*.txt||";
    r.overwritePrompt = true;
    const auto chosen = ctx_.prompt.ChooseFile(r);
    if (!chosen) return;
    if (const std::string outside =
            prefs::OutsideProjectFolder(*chosen, ctx_.copies.projectDirectory);
        !outside.empty()) {
        ctx_.prompt.Message(outside, "Error");
        return;
    }
    log_->setText(Text(tables::BareFileName(*chosen)));
    Q_EMIT log_->textEdited(log_->text());
}

void TableFileNames::ChooseProject() {
    core::FileDialogRequest r;
    r.open = true;
    r.defaultExtension = "cdp";
    r.initialName = Bytes(project_->text());
    r.filter = tables::kCdpFilter;
    r.pathMustExist = true;
    const auto chosen = ctx_.prompt.ChooseFile(r);
    if (!chosen) return;
    auto& files = ctx_.copies.files;
    if (!prefs::ReadNamesFromProjectFile(ctx_.prompt, *chosen, files)) return;
    files.projectPath = *chosen;
    Refresh();
}

void TableFileNames::ChooseTheme() {
    core::FileDialogRequest r;
    r.open = true;
    r.defaultExtension = "txt";
    r.initialName = Bytes(theme_->text());
    r.filter = "Text Files (*.txt)|*.txt||";
    r.pathMustExist = true;
    const auto chosen = ctx_.prompt.ChooseFile(r);
    if (!chosen) return;
    theme_->setText(Text(*chosen));
    Q_EMIT theme_->textEdited(theme_->text());
}

}  // namespace pelor::ui
