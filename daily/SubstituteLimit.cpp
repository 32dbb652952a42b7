#include "SubstituteLimit.h"

#include <algorithm>

namespace {
int g_limit = SubstituteLimit::kDefault;
}

int SubstituteLimit::daily() { return g_limit; }

bool SubstituteLimit::setDaily(int limit)
{
    g_limit = std::clamp(limit, 1, kMost);
    return true;
}
