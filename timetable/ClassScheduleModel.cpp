#include "ClassScheduleModel.h"

#include "Database.h"
#include "Lookups.h"
#include "Platform.h"
#include "TimetableStore.h"

#include <QDate>
#include <QHash>
#include <QSet>

namespace {

// The subject text of a title, "0" when the title is gone (as the look-up answers).
QString subjectTextColumn(const QString &group, const QString &title)
{
    return QStringLiteral("case when %2.uniqueid is null then '0' else %1 end")
        .arg(SubjectTextExpr(group, title), title);
}

int lessonsOf(const Lessons &lessons, int subjectUniqueId)
{
    int n = 0;
    for (const Lesson &l : lessons)
        n += l.subjectId == subjectUniqueId;
    return n;
}

} // namespace

ClassScheduleModel::ClassScheduleModel()
{
    for (Cell &c : cells_)
        c.colour = CellColour::Free;
}

QVector<Pick> ClassScheduleModel::classList()
{
    QVector<Pick> out;
    const Recordset rs = OpenRecordset(
        QStringLiteral("select distinct %1, cs.classid from classsection cs, classsubjects cl "
                       "where cl.classid = cs.classid order by 1, 2")
            .arg(ClassSectionExpr(QStringLiteral("cs"))));
    for (const QVariantList &row : rs.rows())
        out.push_back({row.value(1).toInt(), row.value(0).toString()});
    return out;
}

QVector<Pick> ClassScheduleModel::subjectList(int classid)
{
    QVector<Pick> out;
    const Recordset rs = OpenRecordset(
        QStringLiteral("select %1, st.uniqueid from subjtype st, subjects s, classsubjects cs "
                       "where cs.classid = ? and cs.subid = st.uniqueid and st.subid = s.subid order by 1")
            .arg(SubjectTextExpr(QStringLiteral("s"), QStringLiteral("st"))),
        {classid});
    for (const QVariantList &row : rs.rows())
        out.push_back({row.value(1).toInt(), row.value(0).toString()});
    return out;
}

QVector<Pick> ClassScheduleModel::teacherList(int subjectUniqueId)
{
    QVector<Pick> out;
    const Recordset rs = OpenRecordset(
        QStringLiteral("select distinct t.teachername, ts.teacherid from teachersubjects ts, teachers t "
                       "where ts.subid = ? and ts.teacherid = t.teacherid order by 1, 2"),
        {subjectUniqueId});
    for (const QVariantList &row : rs.rows())
        out.push_back({row.value(1).toInt(), row.value(0).toString()});
    return out;
}

// --- loading ------------------------------------------------------------------------------

void ClassScheduleModel::loadClass(int classid, const QString &classText)
{
    classId_ = classid;
    classText_ = classText;
    for (Cell &c : cells_) {
        c.lessons.clear();
        c.exists = false;
        c.substitute = false;
        c.colour = CellColour::Unavailable;
        // Busy marks belong to the teacher chosen for the previous class; the teacher box
        // is emptied below, so they would only mislead.
        c.tip.clear();
        c.undoBefore.clear();
        c.undoAfter.clear();
        c.undoTag = 0;
    }
    busy_.fill(false);
    loaded_.clear();
    outside_.clear();
    undoStep_ = 0;
    dirty_ = false;
    showingTeacher_ = false;

    const Recordset ps = OpenRecordset(
        QStringLiteral("select ps.p_no, cp.days from periodsystem ps, classperiods cp "
                       "where cp.classid = ? and cp.periodsysid = ps.periodsysid"),
        {classid});
    for (const QVariantList &row : ps.rows()) {
        const int periods = qBound(0, row.value(0).toInt(), tt::kPeriods);
        for (const QString &d : row.value(1).toString().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            bool ok = false;
            const int day = d.trimmed().toInt(&ok);
            if (!ok || day < 0 || day >= tt::kDays)
                continue;
            for (int p = 0; p < periods; ++p) {
                Cell &c = cells_[tt::CellIndex(day, p)];
                c.exists = true;
                c.colour = CellColour::Free;
            }
        }
    }

    // One statement for the whole week, names and subject texts joined in.
    const Recordset ts = OpenRecordset(
        QStringLiteral("select ts.teacherid, ifnull(t.teachername, ''), ts.subid, %1, ts.period, ts.weekday, "
                       "ts.substitute from timeschedule ts "
                       "left join teachers t on t.teacherid = ts.teacherid "
                       "left join subjtype st on st.uniqueid = ts.subid "
                       "left join subjects s on s.subid = st.subid "
                       "where ts.classid = ? order by ts.rowid")
            .arg(subjectTextColumn(QStringLiteral("s"), QStringLiteral("st"))),
        {classid});
    for (const QVariantList &row : ts.rows()) {
        const int period = row.value(4).toInt();
        const int day = row.value(5).toInt() % tt::kDays;
        if (period < 0 || period >= tt::kPeriods || day < 0) {
            // The grid has no cell for it; Save writes it back as it is.
            outside_.push_back({row.value(0).toInt(), row.value(2).toInt(), classid, period, row.value(5).toInt(),
                                row.value(6).toBool()});
            loaded_.push_back(outside_.last());
            continue;
        }
        Cell &c = cells_[tt::CellIndex(day, period)];
        c.lessons.push_back({row.value(0).toInt(), row.value(1).toString(), row.value(2).toInt(),
                             row.value(3).toString()});
        c.substitute = row.value(6).toBool();
        loaded_.push_back({row.value(0).toInt(), row.value(2).toInt(), classid, period, row.value(5).toInt(),
                           row.value(6).toBool()});
    }
    showWorkLoad();
    showChart();
    subject1_ = subject2_ = teacher1_ = teacher2_ = Pick();
    hours_.reset();
}

QVector<Pick> ClassScheduleModel::chooseSubject(int box, const Pick &subject)
{
    (box == 2 ? subject2_ : subject1_) = subject;
    (box == 2 ? teacher2_ : teacher1_) = Pick();
    if (!subject.chosen())
        return {};
    const QVector<Pick> teachers = teacherList(subject.id);
    if (teachers.isEmpty())
        return teachers;
    markCells(false);

    const QVariant hours = QueryValue(QStringLiteral("select hours from classsubjects where classid = ? and subid = ?"),
                                      {classId_, subject.id});
    if (box == 1)
        hours_ = hours.isNull() ? std::nullopt : std::optional<int>(hours.toInt());
    if (hours.isNull()) {
        lblTot_ = QStringLiteral("0");
        hx::MsgBox(QStringLiteral("No periods scheduled for ") + subject.text + QStringLiteral(" subject"));
        return teachers;
    }
    lblTot_ = QStringLiteral("Total Periods Scheduled for ") + subject.text + QStringLiteral(" : ") +
              QString::number(hours.toInt());
    lblAss_ = QStringLiteral("Total Periods Assigned for ") + subject.text + QStringLiteral(" : ") +
              QString::number(calPeriodAss(subject.id));
    narrowFreeTeachers(teachers);
    return teachers;
}

void ClassScheduleModel::narrowFreeTeachers(const QVector<Pick> &teachers)
{
    for (int i = 0; i < tt::kCells; ++i) {
        if (!cells_[i].lessons.isEmpty())
            continue;
        const QStringList free = FreeTeacherList[i].split(QStringLiteral(" / "), Qt::SkipEmptyParts);
        QStringList names;
        for (const Pick &t : teachers)
            if (free.contains(t.text))
                names << t.text;
        altCaption_[i] = names.join(QStringLiteral(" / "));
    }
}

void ClassScheduleModel::chooseTeacher(int box, const Pick &teacher)
{
    (box == 2 ? teacher2_ : teacher1_) = teacher;
    markCells(true);
}

void ClassScheduleModel::setTwoSubjects(bool on)
{
    twoSubjects_ = on;
    if (!on && (subject2_.chosen() || teacher2_.chosen())) {
        subject2_ = Pick();
        teacher2_ = Pick();
        markCells(true); // the second teacher's marks go with the second lesson
    }
}

QVector<int> ClassScheduleModel::chosenTeachers() const
{
    QVector<int> ids;
    if (teacher1_.chosen())
        ids << teacher1_.id;
    if (teacher2_.chosen())
        ids << teacher2_.id;
    return ids;
}

QHash<int, ClassScheduleModel::OtherLesson> ClassScheduleModel::otherLessons(const QVector<int> &teachers) const
{
    QHash<int, OtherLesson> out;
    if (teachers.isEmpty())
        return out;
    QVariantList params;
    QStringList marks;
    for (int id : teachers) {
        params << id;
        marks << QStringLiteral("?");
    }
    params << classId_;
    const Recordset rs = OpenRecordset(
        QStringLiteral("select ts.period, ts.weekday, %1, %2, ifnull(t.teachername, '') from timeschedule ts "
                       "join classsection sec on ts.classid = sec.classid "
                       "left join teachers t on t.teacherid = ts.teacherid "
                       "left join subjtype st on st.uniqueid = ts.subid "
                       "left join subjects s on s.subid = st.subid "
                       "where ts.teacherid in (%3) and ts.classid <> ? order by ts.rowid")
            .arg(ClassSectionExpr(QStringLiteral("sec")), subjectTextColumn(QStringLiteral("s"), QStringLiteral("st")),
                 marks.join(QLatin1Char(','))),
        params);
    for (const QVariantList &row : rs.rows()) {
        const int period = row.value(0).toInt();
        const int day = row.value(1).toInt();
        if (period < 0 || period >= tt::kPeriods || day < 0 || day >= tt::kDays)
            continue;
        const int i = tt::CellIndex(day, period);
        if (!out.contains(i))
            out.insert(i, {row.value(2).toString(), row.value(3).toString(), row.value(4).toString()});
    }
    // A period a chosen teacher cannot teach is as closed as one where they teach elsewhere.
    for (int id : teachers) {
        const quint64 cells = TeacherUnavailableCells(id);
        for (int i = 0; cells && i < tt::kCells; ++i)
            if ((cells >> i) & 1 && !out.contains(i))
                out.insert(i, {QString(), QString(), id == teacher1_.id ? teacher1_.text : teacher2_.text, true});
    }
    return out;
}

void ClassScheduleModel::markCells(bool keepSelection)
{
    // Every mark is drawn anew from the grid and the saved timetable, so no mark of an earlier
    // choice survives and none of the current choice is lost.
    const QHash<int, OtherLesson> busy = otherLessons(chosenTeachers());
    for (int i = 0; i < tt::kCells; ++i) {
        Cell &c = cells_[i];
        const bool wasSelected = c.colour == CellColour::Selected;
        c.colour = c.exists ? CellColour::Free : CellColour::Unavailable;
        c.tip.clear();
        busy_[i] = false;
        if (c.exists && !c.lessons.isEmpty()) {
            const int first = c.lessons.first().subjectId;
            if ((subject1_.chosen() && first == subject1_.id) || (subject2_.chosen() && first == subject2_.id))
                c.colour = CellColour::Subject;
        }
        const auto other = busy.constFind(i);
        if (other != busy.constEnd()) {
            c.colour = CellColour::Busy;
            c.tip = other->notAvailable ? QStringLiteral("Not available") : other->cls + tt::kCR + other->subject;
            busy_[i] = true;
        } else if (keepSelection && wasSelected && c.exists) {
            c.colour = CellColour::Selected;
        }
    }
}

void ClassScheduleModel::refreshMarks() { markCells(true); }

void ClassScheduleModel::markTeacherBusy(int teacherId)
{
    const Recordset rs = OpenRecordset(QStringLiteral("select ts.period, ts.weekday from timeschedule ts "
                                                      "join classsection sec on ts.classid = sec.classid "
                                                      "where ts.teacherid = ? and ts.classid <> ?"),
                                       {teacherId, classId_});
    for (const QVariantList &row : rs.rows()) {
        const int period = row.value(0).toInt();
        const int day = row.value(1).toInt();
        if (period >= 0 && period < tt::kPeriods && day >= 0 && day < tt::kDays)
            busy_[tt::CellIndex(day, period)] = true;
    }
    const quint64 notAvailable = TeacherUnavailableCells(teacherId);
    for (int i = 0; notAvailable && i < tt::kCells; ++i)
        if ((notAvailable >> i) & 1)
            busy_[i] = true;
}

// --- cells --------------------------------------------------------------------------------

QString ClassScheduleModel::render(const Lessons &lessons)
{
    QStringList lines;
    for (const Lesson &l : lessons)
        lines << l.teacher << l.subject;
    return tt::JoinCaption(lines);
}

QString ClassScheduleModel::lessonCaption(int cell) const { return render(cells_[cell].lessons); }

QString ClassScheduleModel::caption(int cell) const
{
    return showingTeacher_ ? cells_[cell].tip : lessonCaption(cell);
}

QString ClassScheduleModel::toolTip(int cell) const
{
    return showingTeacher_ ? lessonCaption(cell) : cells_[cell].tip;
}

int ClassScheduleModel::cellState(int day, int period) const
{
    const Cell &c = cells_[tt::CellIndex(day, period)];
    if (!c.lessons.isEmpty())
        return 1;
    return c.exists ? 0 : -1;
}

int ClassScheduleModel::selectedCount() const
{
    int n = 0;
    for (const Cell &c : cells_)
        n += c.colour == CellColour::Selected;
    return n;
}

bool ClassScheduleModel::press(int cell)
{
    Cell &c = cells_[cell];
    if (c.colour != CellColour::Unavailable && c.colour != CellColour::Busy) {
        c.colour = c.colour == CellColour::Selected ? CellColour::Free : CellColour::Selected;
    }
    return !caption(cell).isEmpty();
}

void ClassScheduleModel::periodHeaderClick(int period)
{
    for (int d = 0; d < tt::kDays; ++d) {
        Cell &c = cells_[tt::CellIndex(d, period)];
        if (!wholePeriod_[period]) {
            if (c.colour == CellColour::Free || c.colour == CellColour::Subject)
                c.colour = CellColour::Selected;
        } else if (c.colour == CellColour::Selected) {
            c.colour = CellColour::Free;
        }
    }
    wholePeriod_[period] = !wholePeriod_[period];
}

void ClassScheduleModel::resetSelection()
{
    for (int i = 0; i < tt::kCells; ++i) {
        if (cells_[i].colour == CellColour::Selected)
            cells_[i].colour = CellColour::Free;
    }
}

// --- changes ------------------------------------------------------------------------------

void ClassScheduleModel::recordUndo(int cell, int step)
{
    Cell &c = cells_[cell];
    c.undoBefore = c.lessons;
    c.undoTag = step;
}

void ClassScheduleModel::setLessons(int cell, const Lessons &lessons)
{
    Cell &c = cells_[cell];
    c.lessons = lessons;
    if (c.undoTag == undoStep_ + 1)
        c.undoAfter = lessons;
    dirty_ = true;
}

void ClassScheduleModel::finishStep(bool changed)
{
    if (changed)
        ++undoStep_;
}

void ClassScheduleModel::refreshAssigned()
{
    if (subject1_.chosen())
        lblAss_ = QStringLiteral("Total Periods Assigned for ") + subject1_.text + QStringLiteral(" : ") +
                  QString::number(calPeriodAss(subject1_.id));
}

ClassScheduleModel::AssignResult ClassScheduleModel::assign()
{
    if (!hasClass() || classText_.isEmpty()) {
        hx::MsgBox(QStringLiteral("select Class"));
        return AssignResult::Refused;
    }
    if (!subject1_.chosen()) {
        hx::MsgBox(QStringLiteral("Select subject"));
        return AssignResult::Refused;
    }
    if (!teacher1_.chosen()) {
        hx::MsgBox(QStringLiteral("Select Teacher"));
        return AssignResult::Refused;
    }
    // A second lesson needs both its subject and its teacher, or it would be saved without one.
    if (twoSubjects_ && (!subject2_.chosen() || !teacher2_.chosen())) {
        hx::MsgBox(QStringLiteral("Select the second subject!"));
        return AssignResult::Refused;
    }
    if (selectedCount() == 0)
        return AssignResult::NothingSelected;
    // Checked before anything is stored, so a refused press leaves the undo store alone.
    if (twoSubjects_ && subject1_.id == subject2_.id) {
        hx::MsgBox(QStringLiteral("You cannot assign same subject in a same period !"));
        return AssignResult::SameSubject;
    }
    if (twoSubjects_ && teacher1_.id == teacher2_.id) {
        hx::MsgBox(QStringLiteral("You cannot assign same teacher !"));
        return AssignResult::SameTeacher;
    }
    Lessons lessons{{teacher1_.id, teacher1_.text, subject1_.id, subject1_.text}};
    if (twoSubjects_)
        lessons.push_back({teacher2_.id, teacher2_.text, subject2_.id, subject2_.text});
    // Where a chosen teacher teaches another class now, whatever the cell's colour says.
    const QHash<int, OtherLesson> busy = otherLessons(chosenTeachers());
    QString report = QStringLiteral("Clashing with");
    bool assigned = false;
    for (int i = 0; i < tt::kCells; ++i) {
        if (cells_[i].colour != CellColour::Selected)
            continue;
        const auto other = busy.constFind(i);
        if (other != busy.constEnd()) {
            report += QStringLiteral("\nPeriod = ") + QString::number(tt::CellPeriod(i) + 1) + QStringLiteral(" Day = ")
                + DayName(tt::CellDay(i))
                + (other->notAvailable ? QStringLiteral(" Teacher = ") + other->teacher + QStringLiteral(": not available")
                                       : QStringLiteral(" Class = ") + other->cls + QStringLiteral(" Subject = ")
                                             + other->subject.trimmed() + QStringLiteral(" Teacher = ") + other->teacher);
            continue;
        }
        if (!cells_[i].exists)
            continue;
        recordUndo(i, undoStep_ + 1);
        setLessons(i, lessons);
        assigned = true;
    }
    refreshAssigned();
    showWorkLoad();
    finishStep(assigned);
    showChart();
    if (report != QLatin1String("Clashing with")) {
        markCells(true);
        hx::MsgBox(report);
        return assigned ? AssignResult::Done : AssignResult::Refused;
    }
    return AssignResult::Done;
}

bool ClassScheduleModel::clearSelected()
{
    if (hx::MsgBox(QStringLiteral("This will clear the assignments. are you sure?"), hx::MsgButtons::YesNo,
                   hx::MsgIcon::Question) != hx::MsgResult::Yes)
        return false;
    for (int i = 0; i < tt::kCells; ++i) {
        Cell &c = cells_[i];
        if (c.colour != CellColour::Selected)
            continue;
        if (!c.lessons.isEmpty())
            dirty_ = true;
        c.lessons.clear();
        c.colour = CellColour::Free;
        busy_[i] = false;
    }
    refreshAssigned();
    showWorkLoad();
    showChart();
    return true;
}

void ClassScheduleModel::undo()
{
    if (undoStep_ <= 0)
        return;
    for (Cell &c : cells_) {
        if (c.undoTag != undoStep_)
            continue;
        // A lesson that came into the cell after the step (moved there) is never thrown away.
        if (c.lessons.isEmpty() || c.lessons == c.undoAfter)
            c.lessons = c.undoBefore;
        c.undoBefore.clear();
        c.undoAfter.clear();
        c.undoTag = 0;
        dirty_ = true;
    }
    refreshAssigned();
    showWorkLoad();
    showChart();
    --undoStep_;
}

bool ClassScheduleModel::drop(int source, int target)
{
    if (source < 0 || source >= tt::kCells || target < 0 || target >= tt::kCells)
        return false;
    Cell &t = cells_[target];
    Cell &s = cells_[source];
    if (t.colour == CellColour::Unavailable || target == source || !caption(target).isEmpty())
        return false;
    if (showingTeacher_ || s.lessons.isEmpty())
        return false; // the grid shows another teacher's lessons: nothing of this class to move
    const int other = classId_;
    for (const Lesson &l : s.lessons) {
        const int n = QueryValue(QStringLiteral("select count(*) from timeschedule where teacherid = ? and weekday = ? "
                                                "and period = ? and classid <> ?"),
                                 {l.teacherId, tt::CellDay(target), tt::CellPeriod(target), other}, 0)
                          .toInt();
        if (n != 0) {
            hx::MsgBox(l.teacher + QStringLiteral(" is busy"));
            return false;
        }
        if ((TeacherUnavailableCells(l.teacherId) >> target) & 1) {
            hx::MsgBox(l.teacher + QStringLiteral(" is not available in this period"));
            return false;
        }
    }
    t.lessons = s.lessons;
    t.substitute = s.substitute;
    s.lessons.clear();
    s.substitute = false;
    // Undo the press's toggle; a busy or missing period stays marked as it was.
    if (s.colour == CellColour::Free || s.colour == CellColour::Selected)
        s.colour = s.colour == CellColour::Free ? CellColour::Selected : CellColour::Free;
    dirty_ = true;
    showWorkLoad();
    return true;
}

// --- figures ------------------------------------------------------------------------------

void ClassScheduleModel::showWorkLoad()
{
    dayLoad_.fill(0);
    periodLoad_.fill(0);
    totalLoad_ = 0;
    for (int i = 0; i < tt::kCells; ++i) {
        if (caption(i).isEmpty())
            continue;
        ++dayLoad_[tt::CellDay(i)];
        ++periodLoad_[tt::CellPeriod(i)];
        ++totalLoad_;
    }
}

QString ClassScheduleModel::dayLoadText(int day) const
{
    return QString(tt::kCR) + tt::kCR + QString::number(dayLoad_[day]);
}

int ClassScheduleModel::calPeriodAss(int subjectUniqueId) const
{
    int n = 0;
    for (const Cell &c : cells_)
        n += lessonsOf(c.lessons, subjectUniqueId);
    return n;
}

std::array<int, tt::kDays> ClassScheduleModel::calStress(int subjectUniqueId) const
{
    std::array<int, tt::kDays> out{};
    for (int i = 0; i < tt::kCells; ++i) {
        const Cell &c = cells_[i];
        out[tt::CellDay(i)] += lessonsOf(c.lessons, subjectUniqueId);
    }
    return out;
}

void ClassScheduleModel::showChart()
{
    chart_.clear();
    const Recordset rs = OpenRecordset(
        QStringLiteral("select cs.subid, cs.hours, %1 from classsubjects cs "
                       "left join subjtype st on st.uniqueid = cs.subid "
                       "left join subjects s on s.subid = st.subid "
                       "where cs.classid = ? group by cs.subid, cs.hours order by cs.subid, cs.hours")
            .arg(subjectTextColumn(QStringLiteral("s"), QStringLiteral("st"))),
        {classId_});
    for (const QVariantList &row : rs.rows())
        chart_.push_back({row.value(2).toString(), row.value(1).toInt(), calPeriodAss(row.value(0).toInt())});
}

void ClassScheduleModel::fillFreeTeacher()
{
    hx::BusyCursor busy;
    // Names of the teachers who teach another class in each cell.
    std::array<QSet<QString>, tt::kCells> busyNames;
    const Recordset rs = OpenRecordset(QStringLiteral("select ts.period, ts.weekday, ifnull(t.teachername, '') "
                                                      "from timeschedule ts left join teachers t "
                                                      "on t.teacherid = ts.teacherid where ts.classid <> ?"),
                                       {classId_});
    for (const QVariantList &row : rs.rows()) {
        const int period = row.value(0).toInt();
        const int day = row.value(1).toInt();
        if (period >= 0 && period < tt::kPeriods && day >= 0 && day < tt::kDays)
            busyNames[tt::CellIndex(day, period)].insert(row.value(2).toString());
    }
    // Teachers who teach some subject, in the table's own order.
    QStringList teaching;
    const Recordset teachers = OpenRecordset(QStringLiteral(
        "select t.teachername from teachers t where exists "
        "(select 1 from teachersubjects ts where ts.teacherid = t.teacherid) order by t.rowid"));
    for (const QVariantList &row : teachers.rows())
        teaching << row.value(0).toString();

    for (int i = 0; i < tt::kCells; ++i) {
        QSet<QString> &taken = busyNames[i];
        for (const Lesson &l : cells_[i].lessons)
            taken.insert(l.teacher);
        QStringList free;
        for (const QString &name : teaching)
            if (!taken.contains(name))
                free << name;
        FreeTeacherList[i] = free.join(QStringLiteral(" / "));
        altCaption_[i] = FreeTeacherList[i];
        altTip_[i] = FreeTeacherList[i];
    }
}

// --- teacher view -------------------------------------------------------------------------

void ClassScheduleModel::swapView()
{
    showingTeacher_ = !showingTeacher_;
    showWorkLoad();
}

QString ClassScheduleModel::swapButtonCaption() const
{
    return showingTeacher_ ? QStringLiteral("Show Class Details") : QStringLiteral("Show Teacher's Details");
}

QString ClassScheduleModel::windowCaption() const
{
    if (showingTeacher_)
        return QStringLiteral("Schedule of teacher ") + teacher1_.text;
    return classText_.isEmpty() ? QStringLiteral("Class Schedule") : QStringLiteral("Schedule of Class ") + classText_;
}

// --- saving -------------------------------------------------------------------------------

bool ClassScheduleModel::save()
{
    if (showingTeacher_)
        return false;
    hx::BusyCursor busy;
    store::WeekChange week{store::WeekChange::Owner::Class, classId_, loaded_, outside_};
    for (int i = 0; i < tt::kCells; ++i)
        for (const Lesson &l : cells_[i].lessons)
            week.rows.push_back({l.teacherId, l.subjectId, classId_, tt::CellPeriod(i), tt::CellDay(i)});
    const tt::AfterSave next = tt::TellSaveResult(store::SaveWeeks({week}));
    if (next != tt::AfterSave::Keep)
        loadClass(classId_, classText_);
    return next == tt::AfterSave::Saved;
}
