#pragma once
// The substitution window's logic: the periods to cover on a date, the ranked choice for each,
// and proposals for all uncovered periods at once that the user adjusts and saves together.
#include "SubstituteRanking.h"

#include <QMap>

// One teacher proposed for one line (an index into the plan's lines).
struct Proposal {
    int line = -1;
    int teacherid = 0;
};

// The best cover of the lines with the ranking's candidates: as many lines as possible, then
// the least cost (SubstituteRanking::cost, plus kWeekStep more for each further substitution
// the same teacher takes that day). A teacher takes at most one line a period and at most
// `limit` substitutions on the date, those recorded included.
QVector<Proposal> BestCover(const QVector<CoverLine> &lines, const QVector<QVector<RankedTeacher>> &candidates,
                            const QHash<int, int> &dateSubstitutions, int limit);
// Line by line, each taking the best candidate still possible; the yardstick BestCover is
// measured against.
QVector<Proposal> GreedyCover(const QVector<CoverLine> &lines, const QVector<QVector<RankedTeacher>> &candidates,
                              const QHash<int, int> &dateSubstitutions, int limit);
// The cost of a cover as BestCover counts it.
qint64 CoverCost(const QVector<Proposal> &cover, const QVector<QVector<RankedTeacher>> &candidates);

class SubstitutionPlan {
public:
    // Reads the lines of the date. Proposals of another date are dropped; those of the same
    // date stay on lines that are still uncovered.
    void load(const QDate &date);
    QDate date() const { return date_; }
    const QVector<CoverLine> &lines() const { return lines_; }

    // The free teachers for the line, best first; a teacher proposed for another line of the
    // same period is left out.
    QVector<RankedTeacher> choices(int line) const;

    // Proposes a substitute for every line that has none, the best cover of all of them
    // together within the daily limit. Recorded substitutes are kept as they are. Returns how
    // many lines got a proposal.
    int suggestAll(int limit);
    // The proposed teacher of a line, 0 for none.
    int proposed(int line) const { return proposals_.value(key(line)).teacherid; }
    QString proposedName(int line) const { return proposals_.value(key(line)).name; }
    // After Suggest All: a line without substitute that nobody could take.
    bool uncoverable(int line) const { return uncoverable_.contains(key(line)); }
    bool hasProposals() const { return !proposals_.isEmpty(); }
    int proposalCount() const { return proposals_.size(); }
    void propose(int line, int teacherid, const QString &name);
    void removeProposal(int line);

    // Records every proposal in one transaction, each checked as it is written: a teacher no
    // longer free, or a period covered meanwhile, refuses the whole with a message naming it
    // and nothing is written (the proposals stay). False when refused.
    bool saveAll();

private:
    struct Held {
        int teacherid = 0;
        QString name;
    };
    // A line is its teacher and period: the substitute table keeps one row for both.
    static QString lineKey(const CoverLine &l) { return QStringLiteral("%1/%2").arg(l.teacherid).arg(l.period); }
    QString key(int line) const { return line >= 0 && line < lines_.size() ? lineKey(lines_[line]) : QString(); }

    QDate date_;
    QVector<CoverLine> lines_;
    QMap<QString, Held> proposals_;
    QSet<QString> uncoverable_;
};
