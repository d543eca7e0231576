// The whole-run cases a soak cycles through: the ordinary runs and the faults that end quickly
// (each a user of the simulator, see tests/cases).
#pragma once

inline constexpr const wchar_t* kSoakCases[] = {
    L"both-servers-accept",
    L"login-servers-close",
    L"im-accepts",
    L"login-servers-garbage",
    L"rtpp-ground-truth",
    L"both-servers-refuse",
    L"over-64-nodes",
    L"login-record-size-limit",
    L"proxy-second-connects",
    L"direct-node-unresolvable",
    L"survey-61-silent-nodes",
    L"tcp-server-no-colon",
    L"wap-accepts-after-im-refuses",
    L"percent-in-node",
};
