#include "SubstitutionChecks.h"

QVector<SubstitutionProblem> SubstitutionsWithoutAbsence()
{
    QVector<SubstitutionProblem> out;
    for (const SubstitutionRecord &r : SubstitutionBook::records(QStringLiteral("1 = 1"), {}))
        if (!r.absenceCovers)
            out << SubstitutionProblem{r, QStringLiteral("%1: %2 substitutes for %3, who is not on leave or absent then")
                                              .arg(r.where(), r.substituteName, r.teacherName)};
    return out;
}

QVector<SubstitutionProblem> SubstitutesAwayThemselves()
{
    QVector<SubstitutionProblem> out;
    for (const SubstitutionRecord &r : SubstitutionBook::records(QStringLiteral("1 = 1"), {}))
        if (!r.substituteAway.isEmpty())
            out << SubstitutionProblem{
                r, QStringLiteral("%1: the substitute %2 for %3 is %4 then")
                       .arg(r.where(), r.substituteName, r.teacherName,
                            r.substituteAway.compare(QLatin1String("Leave"), Qt::CaseInsensitive) == 0
                                ? QStringLiteral("on leave")
                                : QStringLiteral("absent"))};
    return out;
}
