// The login flows that follow a successful login stage: test the TCP node(s) the login named,
// survey every server node and report the Rtpp nodes. Both run on the controller's thread.
#pragma once

// After a login through the IM server: the one direct TCP node. True when it connected.
bool DirectLoginFlow();

// After a login through any other server: the TCP proxy nodes in turn until one connects. False
// when none did; otherwise whether the catalogue still says logged in when the flow ends.
bool ProxyLoginFlow();
