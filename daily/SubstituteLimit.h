#pragma once
// The most substitutions "Suggest All" gives one teacher on one day; chosen in the
// substitution window and remembered with the school's data.
namespace SubstituteLimit {
constexpr int kDefault = 2;
constexpr int kMost = 9;
// The limit in force; kDefault until one is chosen.
int daily();
// Remembers a limit of 1 to kMost; false (the user told) when it could not be stored.
bool setDaily(int limit);
} // namespace SubstituteLimit
