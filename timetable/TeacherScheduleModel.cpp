#include "TeacherScheduleModel.h"

#include "Database.h"
#include "Lookups.h"

#include <QDate>
#include <QHash>

namespace tt {

QColor ToColor(CellColour c)
{
    switch (c) {
    case CellColour::Selected: return ColSelected();
    case CellColour::Free: return ColFree();
    case CellColour::Busy: return ColBusy();
    case CellColour::Subject: return ColSubject();
    case CellColour::Unavailable: return ColUnavailable();
    }
    return ColFree();
}

namespace {

// Subject text of a timeschedule row's subid, "0" when the title is gone (as the look-up gives).
QString subjectOfRow(const QString &subidColumn)
{
    return QStringLiteral("coalesce((select %1 from subjtype st, subjects s where st.uniqueid = %2 "
                          "and s.subid = st.subid), '0')")
        .arg(SubjectTextExpr(QStringLiteral("s"), QStringLiteral("st")), subidColumn);
}

// Bound values and marks for "classid in (...)" over the chosen classes.
QString marks(int n)
{
    QStringList m;
    for (int i = 0; i < n; ++i)
        m << QStringLiteral("?");
    return m.join(QLatin1Char(','));
}

} // namespace

TeacherScheduleModel::TeacherScheduleModel()
{
    colour_.fill(CellColour::Free);
}

QString TeacherScheduleModel::TeacherListSql()
{
    return QStringLiteral("select teacherNAME, teacherid from teachers");
}

QString TeacherScheduleModel::SubjectListSql()
{
    return QStringLiteral("select trim(%1) as sub, ts.subid from teachersubjects ts, subjects s, "
                          "subjtype as st where teacherid = ? and ts.subid = st.uniqueid "
                          "and st.subid = s.subid")
        .arg(SubjectTextExpr(QStringLiteral("s"), QStringLiteral("st")));
}

QString TeacherScheduleModel::ClassListSql()
{
    return QStringLiteral("select distinct %1, cs.classid from classsubjects cs, classsection sec "
                          "where subid = ? and cs.classid = sec.classid")
        .arg(ClassSectionExpr(QStringLiteral("sec")));
}

// --- loading ----------------------------------------------------------------------------

void TeacherScheduleModel::loadTeacher(int teacherid, const QString &teacherName)
{
    teacherId_ = teacherid;
    teacherName_ = teacherName;
    class1_ = {};
    subjectId_ = 0;
    subjectText_.clear();
    classPlanned_ = false;
    classDetails_ = false;
    for (int i = 0; i < kCells; ++i) {
        overlay_[i].clear();
        colour_[i] = CellColour::Free;
    }
    clearUndo();
    readLessons();
    markNotAvailable();
}

void TeacherScheduleModel::markNotAvailable()
{
    for (int i = 0; notAvailable_ && i < kCells; ++i) {
        if (!((notAvailable_ >> i) & 1) || colour_[i] == CellColour::Unavailable)
            continue;
        colour_[i] = CellColour::Busy;
        if (overlay_[i].isEmpty())
            overlay_[i] = QStringLiteral("Not available");
    }
}

void TeacherScheduleModel::reload()
{
    clearUndo();
    readLessons();
    if (class1_.chosen() || class2_.chosen())
        fillFreeClass();
}

void TeacherScheduleModel::readLessons()
{
    dirty_ = false;
    loaded_.clear();
    notAvailable_ = TeacherUnavailableCells(teacherId_);
    for (TeacherLesson &l : lessons_)
        l = {};
    const int teacherid = teacherId_;
    const QString sql = QStringLiteral("select ts.period, ts.weekday, ts.classid, ts.subid, ts.substitute, "
                                       "%1 as cls, %2 as sub from timeschedule ts, classsection sec "
                                       "where ts.teacherid = ? and ts.classid = sec.classid order by ts.rowid")
                            .arg(ClassSectionExpr(QStringLiteral("sec")), subjectOfRow(QStringLiteral("ts.subid")));
    Recordset rs = OpenRecordset(sql, {teacherid});
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const int p = rs.integer("period"), d = rs.integer("weekday");
        const store::LessonRow row{teacherid, rs.integer("subid"), rs.integer("classid"), p, d,
                                   rs.value("substitute").toBool()};
        loaded_.push_back(row);
        if (p < 0 || p >= kPeriods || d < 0 || d >= kDays)
            continue;
        TeacherLesson &cell = lessons_[CellIndex(d, p)];
        const store::LessonRows rows = cell.rows + store::LessonRows{row};
        const QString cls = rs.text("cls");
        const int classid = rs.integer("classid");
        TeacherLesson next;
        next.subid = rs.integer("subid");
        if (rs.value("substitute").toBool()) {
            next.caption = JoinCaption({cls, rs.text("sub")});
            next.classIds = {classid};
            next.bold = true;
        } else if (!cell.isEmpty()) {
            // A second class of the same lesson: the first class stays in the first line.
            next.caption = JoinCaption({SplitCaption(cell.caption).value(0), cls, rs.text("sub")});
            next.classIds = {cell.classIds.value(0), classid};
        } else {
            next.caption = JoinCaption({cls, rs.text("sub")});
            next.classIds = {classid};
        }
        next.rows = rows;
        cell = next;
    }
    loadCharts();
}

void TeacherScheduleModel::loadCharts()
{
    auto fill = [this](const QString &sql) {
        ChartRows rows;
        Recordset rs = OpenRecordset(sql, {teacherId_});
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            rows.append({rs.text(0), rs.integer(1)});
        if (rows.isEmpty())
            rows.append({QString(), 0});
        return rows;
    };
    const QString cls = ClassSectionExpr(QStringLiteral("cs"));
    classChart_ = fill(QStringLiteral("select %1, count(*) from timeschedule ts, classsection cs "
                                      "where teacherid = ? and ts.classid = cs.classid group by %1")
                           .arg(cls));
    const QString sub = QStringLiteral("trim(%1)").arg(SubjectTextExpr(QStringLiteral("s"), QStringLiteral("st")));
    // A lesson taught to two classes together is one period of the teacher.
    subjectChart_ = fill(QStringLiteral("select %1 as sub, count(distinct ts.period * 6 + ts.weekday) "
                                        "from timeschedule ts, subjects s, "
                                        "subjtype st where teacherid = ? and ts.subid = st.uniqueid "
                                        "and st.subid = s.subid group by %1")
                             .arg(sub));
}

void TeacherScheduleModel::setSubject(int uniqueid, const QString &text)
{
    subjectId_ = text.isEmpty() ? 0 : uniqueid;
    subjectText_ = text;
}

void TeacherScheduleModel::setClass(int box, const ClassChoice &choice)
{
    (box == 2 ? class2_ : class1_) = choice;
}

QString TeacherScheduleModel::chooseClass(int box)
{
    const ClassChoice choice = classChoice(box);
    if (!choice.chosen())
        return {};
    // A lesson given to two classes together needs a period both of them have.
    const std::array<bool, kCells> cells = chosenClassesCells();
    for (int i = 0; i < kCells; ++i)
        colour_[i] = cells[i] ? CellColour::Free : CellColour::Unavailable;
    fillFreeClass();

    const QVariant hours = QueryValue(QStringLiteral("select hours from classsubjects where classid = ? and subid = ?"),
                                      {choice.id, subjectId_});
    if (!hours.isValid() || hours.isNull()) {
        lblTot_ = QStringLiteral("0");
        return QStringLiteral("No periods scheduled for ") + subjectText_ + QStringLiteral(" subject");
    }
    lblTot_ = QStringLiteral("Total Periods Scheduled for ") + subjectText_ + QStringLiteral(" : ") + hours.toString();
    refreshAssigned(box);
    classPlanned_ = true;
    return {};
}

std::array<bool, kCells> TeacherScheduleModel::chosenClassesCells() const
{
    std::array<bool, kCells> all;
    all.fill(true);
    for (const ClassChoice &choice : {class1_, class2_}) {
        if (!choice.chosen())
            continue;
        std::array<bool, kCells> has{};
        Recordset rs = OpenRecordset(QStringLiteral("select ps.p_no, cp.days from periodsystem ps, classperiods cp "
                                                    "where cp.classid = ? and cp.periodsysid = ps.periodsysid"),
                                     {choice.id});
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            const int periods = qBound(0, rs.integer("p_no"), kPeriods);
            for (const QString &day : rs.text("days").split(QLatin1Char(','))) {
                bool ok = false;
                const int d = day.trimmed().toInt(&ok);
                // Sunday (6) has no row in the grid; it must not spill into the next period.
                if (!ok || d < 0 || d >= kDays)
                    continue;
                for (int p = 0; p < periods; ++p)
                    has[CellIndex(d, p)] = true;
            }
        }
        for (int i = 0; i < kCells; ++i)
            all[i] = all[i] && has[i];
    }
    return all;
}

void TeacherScheduleModel::fillFreeClass()
{
    for (int i = 0; i < kCells; ++i) {
        if (colour_[i] == CellColour::Subject || colour_[i] == CellColour::Busy)
            colour_[i] = CellColour::Free;
        overlay_[i].clear();
    }
    QVariantList ids;
    if (class1_.chosen())
        ids << class1_.id;
    if (class2_.chosen())
        ids << class2_.id;
    if (ids.isEmpty()) {
        markNotAvailable();
        return;
    }
    const QString sql = QStringLiteral("select ts.period, ts.weekday, ts.subid, ifnull(t.teachername, '') as tname, "
                                       "%1 as sub from timeschedule ts left join teachers t on t.teacherid = ts.teacherid "
                                       "where ts.classid in (%2) order by ts.rowid")
                            .arg(subjectOfRow(QStringLiteral("ts.subid")), marks(ids.size()));
    Recordset rs = OpenRecordset(sql, ids);
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const int p = rs.integer("period"), d = rs.integer("weekday");
        if (p < 0 || p >= kPeriods || d < 0 || d >= kDays)
            continue;
        const int i = CellIndex(d, p);
        colour_[i] = rs.integer("subid") == subjectId_ ? CellColour::Subject : CellColour::Busy;
        overlay_[i] = JoinCaption({rs.text("tname"), rs.text("sub")});
    }
    markNotAvailable();
}

// --- selection --------------------------------------------------------------------------

void TeacherScheduleModel::clickCell(int cell)
{
    if (cell < 0 || cell >= kCells)
        return;
    const CellColour c = colour_[cell];
    if (c == CellColour::Subject || c == CellColour::Unavailable || c == CellColour::Busy)
        return;
    if (classDetails_ && !shownToolTip(cell).isEmpty())
        return;
    colour_[cell] = c == CellColour::Selected ? CellColour::Free : CellColour::Selected;
}

void TeacherScheduleModel::clickPeriodHeading(int period)
{
    if (classDetails_ || period < 0 || period >= kPeriods)
        return;
    const bool select = !wholePeriod_[period];
    for (int d = 0; d < kDays; ++d) {
        const int i = CellIndex(d, period);
        if (select && colour_[i] == CellColour::Free)
            colour_[i] = CellColour::Selected;
        else if (!select && colour_[i] == CellColour::Selected)
            colour_[i] = CellColour::Free;
    }
    wholePeriod_[period] = select;
}

void TeacherScheduleModel::resetSelection()
{
    for (int i = 0; i < kCells; ++i) {
        if (colour_[i] == CellColour::Selected)
            colour_[i] = CellColour::Free;
    }
}

// --- editing ----------------------------------------------------------------------------

TeacherScheduleModel::Check TeacherScheduleModel::checkAssign(bool twoClasses) const
{
    if (subjectText_.isEmpty())
        return Check::NoSubject;
    if (!class1_.chosen())
        return Check::NoClass;
    if (twoClasses && !class2_.chosen())
        return Check::NoSecondClass;
    return Check::Ok;
}

QString TeacherScheduleModel::assign()
{
    if (classDetails_ || subjectText_.isEmpty() || !class1_.chosen())
        return {};
    // The same class in both boxes is one class: two identical rows would count it twice.
    const bool two = class2_.chosen() && class2_.id != class1_.id;
    QVariantList ids{class1_.id};
    if (two)
        ids << class2_.id;

    // The chosen classes' lessons with other teachers, the first one found per cell.
    struct Clash { QString cls, sub, teacher; };
    QHash<int, Clash> clashes;
    const QString sql = QStringLiteral("select ts.period, ts.weekday, ifnull(%1, '') as cls, %2 as sub, "
                                       "ifnull(t.teachername, '') as tname from timeschedule ts "
                                       "left join classsection cs on cs.classid = ts.classid "
                                       "left join teachers t on t.teacherid = ts.teacherid "
                                       "where ts.classid in (%3) and ts.teacherid <> ? order by ts.rowid")
                            .arg(QStringLiteral("case when cs.classid is null then null else %1 end")
                                     .arg(ClassSectionExpr(QStringLiteral("cs"))),
                                 subjectOfRow(QStringLiteral("ts.subid")), marks(ids.size()));
    QVariantList params = ids;
    params << teacherId_;
    Recordset rs = OpenRecordset(sql, params);
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const int p = rs.integer("period"), d = rs.integer("weekday");
        if (p < 0 || p >= kPeriods || d < 0 || d >= kDays)
            continue;
        const int i = CellIndex(d, p);
        if (!clashes.contains(i))
            clashes.insert(i, {rs.text("cls"), rs.text("sub").trimmed(), rs.text("tname")});
    }

    TeacherLesson next;
    next.caption = two ? JoinCaption({class1_.text, class2_.text, subjectText_})
                       : JoinCaption({class1_.text, subjectText_});
    next.classIds = two ? QList<int>{class1_.id, class2_.id} : QList<int>{class1_.id};
    next.subid = subjectId_;

    QString report = QStringLiteral("Clashing with");
    bool assigned = false;
    for (int i = 0; i < kCells; ++i) {
        if (colour_[i] != CellColour::Selected)
            continue;
        const auto found = clashes.constFind(i);
        if (found == clashes.constEnd()) {
            undoLesson_[i] = lessons_[i];
            undoTag_[i] = undoStep_ + 1;
            lessons_[i] = next;
            assigned = true;
        } else {
            // Periods are numbered as the grid heads them, the first one "I" = 1.
            report += QStringLiteral("\nPeriod = ") + QString::number(CellPeriod(i) + 1)
                + QStringLiteral(" Day = ") + DayName(CellDay(i)) + QStringLiteral(" Class = ") + found->cls
                + QStringLiteral(" Subject = ") + found->sub + QStringLiteral(" Teacher = ") + found->teacher;
        }
    }
    refreshAssigned(1);
    if (assigned) {
        ++undoStep_;
        dirty_ = true;
    }
    return report == QLatin1String("Clashing with") ? QString() : report;
}

void TeacherScheduleModel::undo()
{
    if (undoStep_ <= 0)
        return;
    for (int i = 0; i < kCells; ++i) {
        if (undoTag_[i] == undoStep_) {
            lessons_[i] = undoLesson_[i];
            undoTag_[i] = 0;
            dirty_ = true;
        }
    }
    --undoStep_;
    refreshAssigned(1);
}

void TeacherScheduleModel::clearSelected()
{
    if (classDetails_)
        return;
    for (int i = 0; i < kCells; ++i) {
        if (colour_[i] == CellColour::Selected) {
            dirty_ = dirty_ || !lessons_[i].isEmpty();
            lessons_[i] = {};
            colour_[i] = CellColour::Free;
        }
    }
    refreshAssigned(1);
}

void TeacherScheduleModel::toggleClassDetails() { classDetails_ = !classDetails_; }

bool TeacherScheduleModel::save()
{
    // Saving the class's lessons shown in the details view as the teacher's would corrupt them.
    if (classDetails_ || teacherId_ <= 0)
        return false;
    store::WeekChange week{store::WeekChange::Owner::Teacher, teacherId_, loaded_, {}};
    for (const store::LessonRow &r : loaded_)
        if (r.period < 0 || r.period >= kPeriods || r.weekday < 0 || r.weekday >= kDays)
            week.rows.push_back(r); // no cell shows it; it stays as it is
    for (int i = 0; i < kCells; ++i) {
        const TeacherLesson &l = lessons_[i];
        if (l.isEmpty())
            continue;
        if (!l.rows.isEmpty()) {
            week.rows += l.rows; // unchanged since loaded: every row of the cell, shown or not
            continue;
        }
        for (int classid : l.classIds)
            week.rows.push_back({teacherId_, l.subid, classid, CellPeriod(i), CellDay(i)});
    }
    switch (TellSaveResult(store::SaveWeeks({week}))) {
    case AfterSave::Saved:
        clearUndo();
        dirty_ = false;
        loaded_.clear();
        for (store::LessonRow row : week.rows) {
            row.substitute = false; // stored without the mark
            loaded_.push_back(row);
        }
        for (TeacherLesson &l : lessons_)
            for (store::LessonRow &row : l.rows)
                row.substitute = false;
        return true;
    case AfterSave::Reload:
        loadTeacher(teacherId_, teacherName_);
        return false;
    case AfterSave::Keep:
        break;
    }
    return false;
}

void TeacherScheduleModel::clearUndo()
{
    for (int i = 0; i < kCells; ++i) {
        undoLesson_[i] = {};
        undoTag_[i] = 0;
    }
    undoStep_ = 0;
}

// --- figures ----------------------------------------------------------------------------

LoadFigures TeacherScheduleModel::loads() const
{
    LoadFigures f;
    for (int i = 0; i < kCells; ++i) {
        if (shownCaption(i).isEmpty())
            continue;
        ++f.day[CellDay(i)];
        ++f.period[CellPeriod(i)];
        ++f.total;
    }
    return f;
}

int TeacherScheduleModel::periodsAssigned(int box) const
{
    const ClassChoice choice = classChoice(box);
    if (subjectText_.isEmpty() || !choice.chosen())
        return 0;
    int count = QueryValue(QStringLiteral("select count(*) from timeschedule where classid = ? and subid = ? "
                                          "and teacherid <> ?"),
                           {choice.id, subjectId_, teacherId_}, 0)
                    .toInt();
    // Counted by ids: a caption ending in "Computer Science" is no lesson of "Science".
    for (const TeacherLesson &l : lessons_) {
        if (!l.isEmpty() && l.subid == subjectId_ && l.classIds.contains(choice.id))
            ++count;
    }
    return count;
}

void TeacherScheduleModel::refreshAssigned(int box)
{
    lblAss_ = QStringLiteral("Total Periods Assigned for ") + subjectText_ + QStringLiteral(" : ")
        + QString::number(periodsAssigned(box));
}

QString TeacherScheduleModel::shownCaption(int cell) const
{
    return classDetails_ ? overlay_[cell] : lessons_[cell].caption;
}

QString TeacherScheduleModel::shownToolTip(int cell) const
{
    return classDetails_ ? lessons_[cell].caption : overlay_[cell];
}

bool TeacherScheduleModel::bold(int cell) const { return !classDetails_ && lessons_[cell].bold; }

} // namespace tt
