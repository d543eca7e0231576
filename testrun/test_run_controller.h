// One test run, from the press of the test button to the button given back.
#pragma once

// Whether the login that just succeeded went through the IM server; set by the login stage.
extern bool useDirectLoginFlow;

// The controller's thread procedure; returns 0.
unsigned TestRunThread();
