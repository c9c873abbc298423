// FLASH as an installer uses it: the pointer presses FLASH, the Flash File List comes up with
// the project's tables, the labels row's button sends the labels table to the simulated unit
// (question answered with the pointer, progress shown), the unit takes every record, and the
// dashboard is back on its live data afterwards with the row marked as sent.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

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

TEST(FlashScenario, FlashFromThePointerProgramsTheLabelsIntoTheUnit) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    scenario::Simulator sim({"--tcp", "0", "--mode", "text", "--interval", "250"});
    ASSERT_GT(sim.Port(), 0) << "simulator did not start: '" << sim.Address() << "'";
    scenario::WriteTcpSettings(demo, sim);

    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        ASSERT_TRUE(scenario::WaitUntil([&] { return window.windowTitle().contains("SIM"); }, 8s))
            << "never connected: " << window.windowTitle().toStdString();

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

}  // namespace
