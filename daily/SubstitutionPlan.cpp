#include "SubstitutionPlan.h"

#include "Database.h"
#include "Platform.h"

#include <algorithm>
#include <queue>
#include <limits>

namespace {

// Minimum-cost flow by successive shortest paths, each found with Dijkstra over costs made
// non-negative by node potentials, and stopped as soon as the sink is reached. The graphs
// here are small: a line per uncovered period, a node per teacher and period, a node per
// teacher.
class MinCostFlow {
public:
    explicit MinCostFlow(int nodes) : out_(nodes) {}
    int addEdge(int from, int to, qint64 cost)
    {
        out_[from] << int(edges_.size());
        edges_.push_back({to, 1, cost});
        out_[to] << int(edges_.size());
        edges_.push_back({from, 0, -cost});
        return int(edges_.size()) - 2;
    }
    // Sends unit after unit from s to t along the cheapest path while one exists. Every cost
    // given is non-negative, so the potentials start at 0.
    void run(int s, int t)
    {
        const qint64 inf = std::numeric_limits<qint64>::max();
        const int n = int(out_.size());
        QVector<qint64> potential(n, 0);
        using Item = std::pair<qint64, int>;
        for (;;) {
            QVector<qint64> dist(n, inf);
            QVector<int> via(n, -1);
            QVector<char> done(n, 0);
            std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
            dist[s] = 0;
            queue.push({0, s});
            while (!queue.empty()) {
                const auto [d, u] = queue.top();
                queue.pop();
                if (done[u])
                    continue;
                done[u] = 1;
                if (u == t)
                    break;
                for (int e : out_[u]) {
                    const Edge &ed = edges_[e];
                    if (ed.cap <= 0 || done[ed.to])
                        continue;
                    const qint64 nd = d + ed.cost + potential[u] - potential[ed.to];
                    if (nd < dist[ed.to]) {
                        dist[ed.to] = nd;
                        via[ed.to] = e;
                        queue.push({nd, ed.to});
                    }
                }
            }
            if (dist[t] == inf)
                return;
            // Nodes beyond the sink's distance keep reduced costs non-negative with it.
            for (int v = 0; v < n; ++v)
                potential[v] += std::min(dist[v], dist[t]);
            for (int v = t; v != s; v = edges_[via[v] ^ 1].to) {
                --edges_[via[v]].cap;
                ++edges_[via[v] ^ 1].cap;
            }
        }
    }
    bool used(int edge) const { return edges_[edge].cap == 0; }

private:
    struct Edge {
        int to;
        int cap;
        qint64 cost;
    };
    std::vector<Edge> edges_;
    QVector<QVector<int>> out_;
};

int capacity(const QHash<int, int> &dateSubstitutions, int teacherid, int limit)
{
    return std::max(0, limit - dateSubstitutions.value(teacherid));
}

} // namespace

QVector<Proposal> BestCover(const QVector<CoverLine> &lines, const QVector<QVector<RankedTeacher>> &candidates,
                            const QHash<int, int> &dateSubstitutions, int limit)
{
    // source -> line -> (teacher, period) -> teacher -> sink; the k-th unit a teacher passes to
    // the sink costs k week steps more, as that teacher's week fills up.
    const int source = 0, sink = 1;
    int next = 2 + int(lines.size());
    QHash<int, int> teacherNode;
    QHash<qint64, int> slotNode;
    struct Choice {
        int edge, line, teacherid;
    };
    QVector<Choice> choices;
    std::vector<std::tuple<int, int, qint64>> edges; // built first, the node count known after
    for (int i = 0; i < lines.size(); ++i) {
        edges.emplace_back(source, 2 + i, 0);
        for (const RankedTeacher &c : candidates[i]) {
            if (capacity(dateSubstitutions, c.teacherid, limit) == 0)
                continue;
            if (!teacherNode.contains(c.teacherid))
                teacherNode.insert(c.teacherid, next++);
            const qint64 slot = (qint64(c.teacherid) << 4) | lines[i].period;
            if (!slotNode.contains(slot)) {
                slotNode.insert(slot, next++);
                edges.emplace_back(next - 1, teacherNode.value(c.teacherid), 0);
            }
            choices << Choice{int(edges.size()), i, c.teacherid};
            edges.emplace_back(2 + i, slotNode.value(slot), SubstituteRanking::cost(c));
        }
    }
    for (auto it = teacherNode.cbegin(); it != teacherNode.cend(); ++it)
        for (int k = 0; k < capacity(dateSubstitutions, it.key(), limit); ++k)
            edges.emplace_back(it.value(), sink, k * SubstituteRanking::kWeekStep);
    MinCostFlow flow(next);
    QVector<int> ids;
    ids.reserve(int(edges.size()));
    for (const auto &[from, to, cost] : edges)
        ids << flow.addEdge(from, to, cost);
    flow.run(source, sink);
    QVector<Proposal> out;
    for (const Choice &c : choices)
        if (flow.used(ids[c.edge]))
            out << Proposal{c.line, c.teacherid};
    return out;
}

QVector<Proposal> GreedyCover(const QVector<CoverLine> &lines, const QVector<QVector<RankedTeacher>> &candidates,
                              const QHash<int, int> &dateSubstitutions, int limit)
{
    QVector<Proposal> out;
    QHash<int, int> taken;
    QSet<qint64> busy;
    for (int i = 0; i < lines.size(); ++i) {
        const RankedTeacher *best = nullptr;
        qint64 bestCost = 0;
        for (const RankedTeacher &c : candidates[i]) {
            const qint64 slot = (qint64(c.teacherid) << 4) | lines[i].period;
            if (busy.contains(slot) || taken.value(c.teacherid) >= capacity(dateSubstitutions, c.teacherid, limit))
                continue;
            const qint64 cost = SubstituteRanking::cost(c) + taken.value(c.teacherid) * SubstituteRanking::kWeekStep;
            if (!best || cost < bestCost) {
                best = &c;
                bestCost = cost;
            }
        }
        if (best) {
            busy.insert((qint64(best->teacherid) << 4) | lines[i].period);
            ++taken[best->teacherid];
            out << Proposal{i, best->teacherid};
        }
    }
    return out;
}

qint64 CoverCost(const QVector<Proposal> &cover, const QVector<QVector<RankedTeacher>> &candidates)
{
    qint64 total = 0;
    QHash<int, int> taken;
    for (const Proposal &p : cover) {
        for (const RankedTeacher &c : candidates.value(p.line))
            if (c.teacherid == p.teacherid)
                total += SubstituteRanking::cost(c);
        total += taken[p.teacherid]++ * SubstituteRanking::kWeekStep;
    }
    return total;
}

void SubstitutionPlan::load(const QDate &date)
{
    if (date != date_) {
        proposals_.clear();
        uncoverable_.clear();
    }
    date_ = date;
    lines_ = SubstitutionBook::periodsToCover(date);
    // A line covered meanwhile keeps its recorded substitute; its proposal goes.
    QSet<QString> open;
    for (const CoverLine &l : lines_)
        if (l.substituteId == 0)
            open.insert(lineKey(l));
    for (auto it = proposals_.begin(); it != proposals_.end();)
        it = open.contains(it.key()) ? std::next(it) : proposals_.erase(it);
    uncoverable_.intersect(open);
}

QVector<RankedTeacher> SubstitutionPlan::choices(int line) const
{
    if (line < 0 || line >= lines_.size())
        return {};
    const CoverLine &l = lines_[line];
    QVector<RankedTeacher> out = SubstituteRanking(date_, {l}).rank(l);
    out.erase(std::remove_if(out.begin(), out.end(),
                             [&](const RankedTeacher &t) {
                                 for (auto it = proposals_.cbegin(); it != proposals_.cend(); ++it)
                                     if (it.value().teacherid == t.teacherid && it.key() != lineKey(l) &&
                                         it.key().endsWith(QStringLiteral("/%1").arg(l.period)))
                                         return true;
                                 return false;
                             }),
              out.end());
    return out;
}

int SubstitutionPlan::suggestAll(int limit)
{
    proposals_.clear();
    uncoverable_.clear();
    QVector<CoverLine> open;
    QVector<int> index; // into lines_
    QSet<QString> seen;
    for (int i = 0; i < lines_.size(); ++i)
        if (lines_[i].substituteId == 0 && !seen.contains(lineKey(lines_[i]))) {
            seen.insert(lineKey(lines_[i]));
            open << lines_[i];
            index << i;
        }
    const SubstituteRanking ranking(date_, open);
    QHash<int, QVector<FreeTeacher>> freeAt; // one statement per period of the day, not per line
    QVector<QVector<RankedTeacher>> candidates;
    for (const CoverLine &l : open) {
        if (!freeAt.contains(l.period))
            freeAt.insert(l.period, SubstitutionBook::freeTeachers(date_, l.period));
        candidates << ranking.rank(l, freeAt.value(l.period));
    }
    QHash<int, int> recorded;
    for (const QVector<RankedTeacher> &list : candidates)
        for (const RankedTeacher &c : list)
            recorded.insert(c.teacherid, c.dateSubstitutions);
    const QVector<Proposal> cover = BestCover(open, candidates, recorded, limit);
    for (const Proposal &p : cover)
        for (const RankedTeacher &c : candidates[p.line])
            if (c.teacherid == p.teacherid)
                proposals_.insert(lineKey(open[p.line]), Held{c.teacherid, c.name});
    for (const CoverLine &l : open)
        if (!proposals_.contains(lineKey(l)))
            uncoverable_.insert(lineKey(l));
    return int(cover.size());
}

void SubstitutionPlan::propose(int line, int teacherid, const QString &name)
{
    if (teacherid <= 0)
        return removeProposal(line);
    if (line >= 0 && line < lines_.size() && lines_[line].substituteId == 0) {
        proposals_.insert(key(line), Held{teacherid, name});
        uncoverable_.remove(key(line));
    }
}

void SubstitutionPlan::removeProposal(int line) { proposals_.remove(key(line)); }

bool SubstitutionPlan::saveAll()
{
    if (proposals_.isEmpty())
        return true;
    Transaction tx;
    QSet<QString> done;
    for (const CoverLine &l : lines_) {
        const QString k = lineKey(l);
        if (!proposals_.contains(k) || done.contains(k))
            continue;
        done.insert(k);
        const Held &h = proposals_[k];
        QString why;
        const SubstitutionBook::Refusal r = SubstitutionBook::record(l.teacherid, date_, l.period, h.teacherid, false, &why);
        if (r == SubstitutionBook::Refusal::Failed)
            return false; // the database's reason has been shown
        if (r != SubstitutionBook::Refusal::None) {
            hx::MsgBox(QStringLiteral("%1 cannot take period %2 of %3 for %4: %5. Nothing was saved.")
                           .arg(h.name)
                           .arg(l.period + 1)
                           .arg(l.classSection, l.teacherName, why));
            return false;
        }
    }
    if (!tx.commit())
        return false;
    proposals_.clear();
    uncoverable_.clear();
    load(date_);
    return true;
}
