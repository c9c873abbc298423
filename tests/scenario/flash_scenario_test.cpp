// FLASH as an installer uses it: the pointer presses FLASH, the Flash File List comes up with
// the project's tables, the labels row's button sends the labels table to the simulated unit
// (question answered with the pointer, progress shown), the unit takes every record, and the
// dashboard is back on its live data afterwards with the row marked as sent.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "scenario_support.h"
#include "ui/data_viewer_dlg.h"
#include "ui/flash_file_list_dlg.h"

namespace {

using namespace pelor;
using namespace std::chrono_literals;

// The button of a message box with `role`, if the active modal widget is such a box.
QAbstractButton* MessageButton(QMessageBox* box, QMessageBox::StandardButton which) {
    return box != nullptr ? box->button(which) : nullptr;
}

// The demo dashboard connected over TCP to a simulated unit sending its text sentences: `run`
// gets the window once its caption shows the link, and the project it runs on.
void WithConnectedWindow(
    const std::function<void(ui::CDataViewerDlg&, const scenario::DemoProject&)>& run) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    scenario::RunConnectedWindow(demo, 250ms,
                                 [&](ui::CDataViewerDlg& window) { run(window, demo); });
}

TEST(FlashScenario, FlashFromThePointerProgramsTheLabelsIntoTheUnit) {
    WithConnectedWindow([&](ui::CDataViewerDlg& window, const scenario::DemoProject&) {
        // The dialogs are modal: a timer inside their event loops plays the person.
        std::vector<std::string> boxes;
        bool listSeen = false;
        bool progressSeen = false;
        bool sentLookDiffers = false;
        QMessageBox* lastBox = nullptr;
        QTimer person;
        QObject::connect(&person, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* list = qobject_cast<ui::FlashFileListDlg*>(modal); list != nullptr) {
                if (listSeen) return;
                listSeen = true;
                scenario::SaveShot(scenario::GrabWindow(*list), "flash-file-list");
                QPushButton* row = list->RowButton(0);
                sentLookDiffers = row->property("sent").toBool() == false;
                scenario::Click(*row, row->rect().center());
            } else if (auto* box = qobject_cast<QMessageBox*>(modal); box != nullptr) {
                if (!box->isVisible()) return;
                QAbstractButton* b = MessageButton(box, QMessageBox::Yes);
                if (b == nullptr) b = MessageButton(box, QMessageBox::Ok);
                if (b == nullptr) b = box->buttons().value(0);
                if (box != lastBox) {
                    lastBox = box;
                    boxes.push_back(box->text().toStdString());
                    if (b != nullptr) scenario::Click(*b, b->rect().center());
                } else {
                    // Still up (the pointer landed before the box was placed): the keyboard.
                    scenario::Key(*box, "Return");
                }
            }
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* p = qobject_cast<QProgressDialog*>(w);
                    p && p->isVisible() && !progressSeen) {
                    progressSeen = true;
                    scenario::SaveShot(scenario::GrabWindow(window), "flash-in-progress");
                }
        });
        person.start(40);

        QPushButton* flash = window.Button(app::kIdFlash);
        ASSERT_NE(flash, nullptr);
        scenario::Click(*flash, flash->rect().center());
        EXPECT_TRUE(scenario::WaitUntil(
            [&] {
                return !boxes.empty() && boxes.back().rfind("Loaded Flash", 0) == 0 &&
                       QApplication::activeModalWidget() == &window;
            },
            30s))
            << "programming did not end with its report; boxes seen: "
            << ::testing::PrintToString(boxes) << " modal: "
            << (QApplication::activeModalWidget() != nullptr
                    ? QApplication::activeModalWidget()->metaObject()->className()
                    : "none");
        person.stop();
        EXPECT_TRUE(listSeen);
        EXPECT_TRUE(sentLookDiffers);
        ASSERT_GE(boxes.size(), 2u);
        EXPECT_EQ(boxes.front(), "Are you sure you want to  Flash Data?");
        // 88 labels of 8 characters: 44 records of 16 bytes, each acknowledged by the unit.
        EXPECT_EQ(boxes.back(), "Loaded Flash: bytes =704");
        EXPECT_EQ(window.dashboard().flashSelection[0], 1);
        EXPECT_FALSE(window.dashboard().linkHold.Held());
        EXPECT_EQ(window.dashboard().page.m_nCurrentPage, 0);
        // The unit leaves programming mode and its data flow again into the caption.
        EXPECT_TRUE(scenario::WaitUntil([&] { return window.windowTitle().contains("SIM"); }, 10s))
            << "no live data after programming: " << window.windowTitle().toStdString();
        scenario::SaveShot(scenario::GrabWindow(window), "flash-after");
    });
}

// Enter in a path field of the list, as a person confirming a typed path would press it,
// sends nothing and leaves the list open; the labels row pressed with the pointer then asks the
// unit's question with the file and its place in the unit on a line of its own, and No sends
// no data.
TEST(FlashScenario, EnterInAPathFieldSendsNothingAndTheQuestionNamesTheFile) {
    WithConnectedWindow([&](ui::CDataViewerDlg& window, const scenario::DemoProject& demo) {
        const auto marksBefore = window.dashboard().flashSelection;
        bool listSeen = false;
        bool stayedOpen = false;
        bool nothingMarked = false;
        std::vector<std::pair<std::string, std::string>> boxes;  // text, detail line
        QMessageBox* lastBox = nullptr;
        QTimer person;
        QObject::connect(&person, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* list = qobject_cast<ui::FlashFileListDlg*>(modal); list != nullptr) {
                if (listSeen) return;
                listSeen = true;
                ASSERT_TRUE(scenario::WaitUntil([&] { return list->isVisible(); }, 3s));
                scenario::Pump(200ms);
                auto* path = list->findChild<QLineEdit*>("FlashPath2");
                ASSERT_NE(path, nullptr);
                scenario::Click(*path, path->rect().center());
                scenario::Key(*path, "End");
                scenario::Key(*path, "Return");
                scenario::Key(*path, "KP_Enter");
                scenario::Pump(400ms);
                stayedOpen = list->isVisible() && QApplication::activeModalWidget() == list;
                nothingMarked = list->Marks() == marksBefore;
                if (!stayedOpen) return;
                QPushButton* row = list->RowButton(0);
                scenario::Click(*row, row->rect().center());
            } else if (auto* box = qobject_cast<QMessageBox*>(modal); box != nullptr) {
                if (!box->isVisible()) return;
                if (box != lastBox) {
                    lastBox = box;
                    boxes.emplace_back(box->text().toStdString(),
                                       box->informativeText().toStdString());
                    scenario::Pump(150ms);
                    scenario::SaveShot(scenario::GrabWindow(*box), "flash-question");
                    QAbstractButton* b = MessageButton(box, QMessageBox::No);
                    if (b == nullptr) b = MessageButton(box, QMessageBox::Ok);
                    if (b != nullptr) scenario::Click(*b, b->rect().center());
                } else {
                    // Still up (the pointer landed before the box was placed): the keyboard.
                    scenario::Key(*box, "Escape");
                }
            }
        });
        person.start(40);

        QPushButton* flash = window.Button(app::kIdFlash);
        ASSERT_NE(flash, nullptr);
        scenario::Click(*flash, flash->rect().center());
        EXPECT_TRUE(scenario::WaitUntil(
            [&] { return !boxes.empty() && QApplication::activeModalWidget() == &window; }, 20s))
            << "no question, or a dialog left open";
        scenario::Pump(300ms);
        person.stop();
        EXPECT_TRUE(listSeen);
        EXPECT_TRUE(stayedOpen) << "Enter in a path field closed the list";
        EXPECT_TRUE(nothingMarked) << "Enter in a path field chose a row";
        ASSERT_EQ(boxes.size(), 1u) << ::testing::PrintToString(boxes);
        EXPECT_EQ(boxes[0].first, "Are you sure you want to  Flash Data?");
        EXPECT_EQ(boxes[0].second,
                  "File: " + demo.Dir() + "DemoLabels.txt -> unit FLASH address 6800");
        EXPECT_EQ(window.dashboard().flashSelection[0], 1) << "the row pressed is marked";
        EXPECT_EQ(window.dashboard().flashSelection[2], marksBefore[2]);
        EXPECT_FALSE(window.dashboard().linkHold.Held());
    });
}

// The list's side buttons read as what they do; the pointer finds "Exit" by its text and the
// list closes with nothing sent and no row marked.
TEST(FlashScenario, SideButtonsSayWhatTheyDoAndExitSendsNothing) {
    WithConnectedWindow([&](ui::CDataViewerDlg& window, const scenario::DemoProject&) {
        const auto marksBefore = window.dashboard().flashSelection;
        bool listSeen = false;
        QStringList sideTexts;
        QStringList pictureNamesShown;
        std::vector<std::string> boxes;
        QTimer person;
        QObject::connect(&person, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal); box != nullptr) {
                boxes.push_back(box->text().toStdString());
                box->reject();
                return;
            }
            auto* list = qobject_cast<ui::FlashFileListDlg*>(modal);
            if (list == nullptr || listSeen) return;
            listSeen = true;
            ASSERT_TRUE(scenario::WaitUntil([&] { return list->isVisible(); }, 3s));
            scenario::Pump(200ms);
            scenario::SaveShot(scenario::GrabWindow(*list), "flash-file-list-side-buttons");
            QPushButton* exit = nullptr;
            for (QPushButton* b : list->findChildren<QPushButton*>()) {
                if (!b->isVisible()) continue;
                if (b->text().startsWith("PREF")) pictureNamesShown << b->text();
                if (b->text() == "Exit") exit = b;
            }
            for (const char* name : {"PREFSAVE", "PREFOK", "PREFCLOSE"})
                sideTexts << list->findChild<QPushButton*>(name)->text();
            if (exit == nullptr) {
                ADD_FAILURE() << "no button reads Exit";
                list->reject();
                return;
            }
            scenario::Click(*exit, exit->rect().center());
        });
        person.start(40);

        QPushButton* flash = window.Button(app::kIdFlash);
        ASSERT_NE(flash, nullptr);
        scenario::Click(*flash, flash->rect().center());
        EXPECT_TRUE(scenario::WaitUntil(
            [&] { return listSeen && QApplication::activeModalWidget() == &window; }, 10s))
            << "the list did not close with Exit";
        scenario::Pump(300ms);
        person.stop();
        EXPECT_EQ(sideTexts, (QStringList{"Backup", "Load File", "Exit"}));
        EXPECT_TRUE(pictureNamesShown.isEmpty()) << pictureNamesShown.join(", ").toStdString();
        EXPECT_TRUE(boxes.empty()) << ::testing::PrintToString(boxes);
        EXPECT_EQ(window.dashboard().flashSelection, marksBefore);
        EXPECT_TRUE(window.windowTitle().contains("SIM")) << "still on the live data";
    });
}

}  // namespace
