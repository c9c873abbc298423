#pragma once
// The CONNECT page's values to and from the settings the window runs with.
#include "app/settings.h"
#include "prefs/connection_page.h"

namespace pelor::prefs {

ConnectionPage ConnectionPageFrom(const app::Settings& settings);
// Takes the page into `settings` and derives the rates and the capture seconds again.
void ApplyConnectionPage(const ConnectionPage& page, app::Settings& settings);

}  // namespace pelor::prefs
