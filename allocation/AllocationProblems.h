#pragma once
// What stands in the way of building the week from the curriculum, the allocations and the
// teachers' availability: one line per problem, each saying what to do about it. The same lines
// are part of the timetable check (report and tool), which holds their queries.
#include <QStringList>

namespace alloc {

QStringList Problems();

} // namespace alloc
