// Where the program keeps its own settings and the names it uses in them.
#pragma once

#include <string>

// The program folder joined with "\keston.ini"; every access gets this path.
std::string settingsPath();

inline constexpr char configSection[] = "config";
inline constexpr char mameExeKey[] = "mameexe";
inline constexpr char parametersKey[] = "parameters";
inline constexpr char xpKey[] = "xp";
inline constexpr char closeKey[] = "close";
inline constexpr char skinKey[] = "Skin";
inline constexpr char creditsKey[] = "credits";
