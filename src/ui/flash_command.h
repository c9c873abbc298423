#pragma once
// FLASH: the file list, then programming or reading back with progress; the list's sent marks
// go back to the dashboard.
#include <QWidget>

#include "app/dashboard.h"

namespace pelor::ui {

void RunFlashCommand(app::Dashboard& dashboard, core::Prompt& prompt, QWidget* window);

}  // namespace pelor::ui
