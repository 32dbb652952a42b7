#include "AllocationProblems.h"

#include "TimetableCheck.h"

namespace alloc {

QStringList Problems()
{
    QVector<check::Fault> faults;
    QString error;
    if (!check::FindFaults(&faults, &error, true))
        return {QStringLiteral("The problems could not be listed: ") + error};
    QStringList lines;
    for (const check::Fault &f : faults)
        lines << f.fault;
    return lines;
}

} // namespace alloc
