// Steps the direct and the proxy login flow share.
#pragma once

#include "probe/launcher.h"
#include "testrun/node_address.h"

inline constexpr int kFlowBannerHyphens = 48;

// The flows' common opening: the Begin banner, `addressBook` to the catalogue and the library, and
// the login's Sip nodes (its sipServer in front) and Rtpp nodes to the launcher, which it returns.
// An empty Rtpp list leaves the launcher's earlier one in place.
Launcher& OpenFlow(const wchar_t* name, const Text& addressBook);

// CreateTCP and ConnectTCP to the node, reporting a failure with the library's code; after a
// connection, DisConnectTCP and the success line. True when it connected.
bool TestTcpConnection(const NodeAddress& node);

// Surveys every node the launcher holds, then reports each Rtpp record of the last successful
// survey (none when there never was one).
void SurveyAndReportRtpp(Launcher& launcher);
