#pragma once
// The free teachers of a period to cover, best first, with the reasons in words: who knows
// the class or the subject, who has stood in least this week, who has the lightest day.
#include "SubstitutionBook.h"

#include <QHash>
#include <QSet>

struct RankedTeacher {
    int teacherid = 0;
    QString name;
    bool teachesClass = false;
    bool teachesSubject = false;
    int weekSubstitutions = 0; // recorded for the week (Monday to Sunday) of the date
    int dateSubstitutions = 0; // recorded for the date itself
    int periodsToday = 0;      // own lessons not lost to an absence, and substitutions
    bool thirdInRow = false;   // taking the period makes three or more periods in a row
    int nameOrder = 0;         // place in name order among the free teachers

    // "teaches VII-B · 2 substitutions this week · 5 periods today"
    QString reasons(const CoverLine &line) const;
};

// What a day looks like for every teacher, read with a few statements for the whole school
// and kept for ranking any number of that date's periods.
class SubstituteRanking {
public:
    // Reads the date's lessons, absences and substitutions, and who teaches the classes and
    // subjects of the lines given.
    SubstituteRanking(const QDate &date, const QVector<CoverLine> &lines);

    QDate date() const { return date_; }

    // The teachers free to cover the line (SubstitutionBook::freeTeachers), best first.
    QVector<RankedTeacher> rank(const CoverLine &line) const;
    // The same for a free list already read for the line's period.
    QVector<RankedTeacher> rank(const CoverLine &line, const QVector<FreeTeacher> &free) const;

    // True when a comes before b: teaches the class, then the subject; fewer substitutions
    // this week; no third period in a row, then fewer periods today; then name order.
    static bool better(const RankedTeacher &a, const RankedTeacher &b);
    // The same order as one number, smaller is better, so that whole days of choices can be
    // added up and compared. One more substitution this week costs kWeekStep.
    static qint64 cost(const RankedTeacher &t);
    static constexpr qint64 kWeekStep = qint64(2) * 32 * 1024;

    // Substitutions recorded on the date for a teacher.
    int dateSubstitutions(int teacherid) const { return dateSubs_.value(teacherid); }

private:
    RankedTeacher describe(const CoverLine &line, const FreeTeacher &t, int order) const;

    QDate date_;
    QSet<qint64> classTeachers_;   // classid << 32 | teacherid
    QSet<qint64> subjectTeachers_; // subject title << 32 | teacherid
    QHash<int, int> weekSubs_;
    QHash<int, int> dateSubs_;
    QHash<int, int> busyMask_;     // teacher -> bit per period busy on the date
};
