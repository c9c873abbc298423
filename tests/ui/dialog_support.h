#pragma once
// Playing the person at the preferences pages and their dialogs in widget tests.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace pelor::ui::testing {

// Clicks the button of `page` named `button` (its object name).
inline void Press(QWidget* page, const char* button) {
    auto* b = page->findChild<QPushButton*>(button);
    ASSERT_NE(b, nullptr) << button;
    b->click();
}

// Runs `act` on the next modal dialog that appears (while the caller runs its event loop).
inline void OnNextModal(const std::function<void(QDialog*)>& act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (modal == nullptr) return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}

}  // namespace pelor::ui::testing
