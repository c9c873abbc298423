#pragma once
// The CONNECT page's values to and from the settings the window runs with.
#include "app/settings.h"
#include "links/connection_page.h"

namespace pelor::app {

links::ConnectionPage ConnectionPageFrom(const Settings& settings);
// Takes the page into `settings` and derives the rates and the capture seconds again.
void ApplyConnectionPage(const links::ConnectionPage& page, Settings& settings);

}  // namespace pelor::app
