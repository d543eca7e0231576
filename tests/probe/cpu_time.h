// What the survey benchmark measures of its own process and of the network namespace it runs in.
#pragma once

#include <string>

// CPU time (user and system) the process has used so far, in milliseconds.
double ProcessCpuMs();
// Threads of the process now.
int ProcessThreadCount();
// CPU time of every process visible in /proc, in milliseconds; inside scripts/netns-run's private
// process namespace that is the benchmark, the ICMP responder and, under Wine, the Wine server
// processes that carry out the echoes. Negative when /proc cannot be read.
double VisibleProcessesCpuMs();

// Where /proc is, seen from this program.
std::string ProcFolder();
