#pragma once
// Connects the connection page's "Test Connection" and "SCAN" buttons, its network list and
// its address field. The tools run off the GUI thread; their lines are added to the list as
// they come, and a tool still running when the page goes away is cancelled and waited for.
#include <chrono>

#include "links/discovery_reply.h"

class QWidget;

namespace pelor::ui {

// Finds "ipAddressEdit" (QLineEdit), "tcpPortEdit" (QLineEdit or QSpinBox),
// "testConnectionButton", "scanButton" (QPushButton) and "networkList" (QListWidget) under
// `page` and wires them. Widgets that are missing leave their part unwired.
// `scanWindow` is how long a scan listens for replies.
void WireNetworkTools(QWidget* page, const links::DiscoveryTarget& target,
                      std::chrono::milliseconds scanWindow = std::chrono::seconds(15));

}  // namespace pelor::ui
