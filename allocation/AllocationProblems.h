#pragma once
// What stands in the way of building the week from the curriculum, the allocations and the
// teachers' availability: one line per problem, each saying what to do about it. Shown under
// the tabs of "Teaching Allocation" and in the timetable check.
#include <QStringList>

namespace alloc {

QStringList Problems();

} // namespace alloc
