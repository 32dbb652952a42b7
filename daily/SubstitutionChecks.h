#pragma once
// Checks over the recorded substitutions, for a report that lists what needs the office's
// attention: each finding names the substitution and says in a sentence what is wrong.
#include "SubstitutionBook.h"

struct SubstitutionProblem {
    SubstitutionRecord record;
    QString description;
};

// Substitutions whose teacher has no leave or absence over that date and period any more:
// the substitute stands in for someone who is at school.
QVector<SubstitutionProblem> SubstitutionsWithoutAbsence();

// Substitutions whose substitute is on leave or absent at that date and period.
QVector<SubstitutionProblem> SubstitutesAwayThemselves();
