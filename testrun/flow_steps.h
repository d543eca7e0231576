// Steps the direct and the proxy login flow share.
#pragma once

#include "probe/launcher.h"
#include "support/login_result.h"
#include "testrun/node_address.h"

inline constexpr int kFlowBannerHyphens = 48;

// Hands the login result's Sip nodes (with `firstSip` in front) and Rtpp nodes to the launcher.
// An empty Rtpp list leaves the launcher's earlier one in place.
void RegisterFlowNodes(Launcher& launcher, const Text& firstSip, const LoginResult& result);

// CreateTCP and ConnectTCP to the node, reporting a failure with the library's code; after a
// connection, DisConnectTCP and the success line. True when it connected.
bool TestTcpConnection(const NodeAddress& node);

// Surveys every node the launcher holds, then reports each Rtpp record of the last successful
// survey (none when there never was one).
void SurveyAndReportRtpp(Launcher& launcher);
