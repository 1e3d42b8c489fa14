// What the test probe (ChildProbe.cpp) and its tests agree on.
#pragma once

inline constexpr char kProbeProgram[] = "ChildProbe.exe";
inline constexpr char kProbeReport[] = "probe-report.txt";
inline constexpr char kProbeReportPart[] = "probe-report.part";
inline constexpr char kPendingOption[] = "--pending";

// The report's lines, in order; the program's arguments follow them.
enum ProbeLine { kProbeFile, kProbeFolder, kProbeProcess, kProbeArguments };
