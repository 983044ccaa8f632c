#pragma once
#include <string>

// Times the device poll's work under Wine with 20 enumerated disks and 20 removable drives, the
// player last in both, in subfolders of `folder`; prints the median. False when it cannot set up.
bool MeasurePoll(const std::string& folder, int runs);
