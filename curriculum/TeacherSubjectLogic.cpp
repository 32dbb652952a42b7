#include "TeacherSubjectLogic.h"

#include "ClassPeriods.h"
#include "Database.h"
#include "Lookups.h"
#include "Platform.h"
#include "TimetableStore.h"

static QStringList Column0(const QString &sql, const QVariantList &params = {})
{
    Recordset rs = OpenRecordset(sql, params);
    QStringList out;
    for (; !rs.eof(); rs.moveNext())
        out << rs.text(0);
    return out;
}

QStringList TeacherSubjectLogic::teacherList() const
{
    QStringList out;
    for (const auto &t : teachers())
        out << t.first;
    return out;
}

QVector<QPair<QString, int>> TeacherSubjectLogic::teachers() const
{
    Recordset rs = OpenRecordset("select Teachername, teacherid from teachers order by 1, 2");
    QVector<QPair<QString, int>> out;
    for (; !rs.eof(); rs.moveNext())
        out.append({rs.text(0), rs.integer(1)});
    return out;
}

QStringList TeacherSubjectLogic::subjectList() const
{
    return Column0("select " + SubjectTextExpr("s", "st") +
                   ", st.uniqueid from subjtype st, subjects s where s.subid = st.subid order by 1");
}

QStringList TeacherSubjectLogic::teachersWithSubjects() const
{
    QStringList out;
    for (const auto &t : teachersWithSubjectIds())
        out << t.first;
    return out;
}

QVector<QPair<QString, int>> TeacherSubjectLogic::teachersWithSubjectIds() const
{
    Recordset rs = OpenRecordset("select distinct t.Teachername, t.teacherid from teachers t, teachersubjects ts"
                                 " where ts.teacherid = t.teacherid order by 1, 2");
    QVector<QPair<QString, int>> out;
    for (; !rs.eof(); rs.moveNext())
        out.append({rs.text(0), rs.integer(1)});
    return out;
}

QStringList TeacherSubjectLogic::subjectsWithTeachers() const
{
    return Column0("select distinct " + SubjectTextExpr("s", "st") +
                   " from subjtype st, subjects s, teachersubjects ts"
                   " where ts.subid = st.uniqueid and st.subid = s.subid order by 1");
}

QVector<QStringList> TeacherSubjectLogic::teacherDetail(const QString &teacherName) const
{
    return teacherDetail(TeacherIdByName(teacherName));
}

QVector<QStringList> TeacherSubjectLogic::teacherDetail(int teacherid) const
{
    Recordset rs = OpenRecordset("select " + SubjectTextExpr("s", "st") +
                                 ", cs.mostprf, cs.leastprf from teachersubjects cs, subjects s, subjtype st"
                                 " where cs.teacherid = ? and cs.subid = st.uniqueid and st.subid = s.subid"
                                 " order by s.subname, st.subtype",
                                 {teacherid});
    QVector<QStringList> out;
    for (; !rs.eof(); rs.moveNext())
        out.append({rs.text(0), rs.text(1), rs.text(2)});
    return out;
}

QVector<QStringList> TeacherSubjectLogic::subjectDetail(const QString &subjectText) const
{
    Recordset rs = OpenRecordset("select t.Teachername, cs.mostprf, cs.leastprf from teachersubjects cs, teachers t"
                                 " where cs.subid = ? and cs.teacherid = t.teacherid order by t.Teachername",
                                 {SubjectUniqueIdByText(subjectText)});
    QVector<QStringList> out;
    for (; !rs.eof(); rs.moveNext())
        out.append({rs.text(0), rs.text(1), rs.text(2)});
    return out;
}

void TeacherSubjectLogic::FillClassSubject()
{
    rows_.clear();
    Recordset rs = OpenRecordset("select t.Teachername, " + SubjectTextExpr("s", "st") +
                                 ", cs.mostprf, cs.leastprf, t.teacherid, st.uniqueid"
                                 " from teachersubjects cs, subjects s, subjtype st, teachers t"
                                 " where cs.subid = st.uniqueid and cs.teacherid = t.teacherid and st.subid = s.subid"
                                 " order by t.Teachername, s.subname, st.subtype");
    for (; !rs.eof(); rs.moveNext())
        rows_.append({rs.text(0), rs.text(1), rs.text(2), rs.text(3), rs.text(4), rs.text(5)});
}

bool TeacherSubjectLogic::AlreadyExists(const QString &teacher, const QString &subject) const
{
    for (const QStringList &r : rows_)
        if (r[0].trimmed() == teacher.trimmed() && r[1].trimmed() == subject.trimmed())
            return true;
    return false;
}

bool TeacherSubjectLogic::AlreadyExists(int teacherid, const QString &subject) const
{
    for (const QStringList &r : rows_)
        if (r.value(kTeacherId).toInt() == teacherid && r[1].trimmed() == subject.trimmed())
            return true;
    return false;
}

QString TeacherSubjectLogic::assign(const QStringList &teachers, const QStringList &subjects, const QString &most,
                                    const QString &least)
{
    QVector<int> ids;
    for (const QString &t : teachers)
        ids << TeacherIdByName(t);
    return assignByIds(ids, subjects, most, least);
}

QString TeacherSubjectLogic::assignByIds(const QVector<int> &teachers, const QStringList &subjects, const QString &most,
                                    const QString &least)
{
    if (least.isEmpty()) {
        hx::MsgBox("Select Least Prefered Level", hx::MsgButtons::Ok, hx::MsgIcon::None);
        return "cmbLeastP";
    }
    if (most.isEmpty()) {
        hx::MsgBox("Select Most Prefered Level", hx::MsgButtons::Ok, hx::MsgIcon::None);
        return "cmbMostP";
    }
    hx::BusyCursor busy;
    // All the pairs of one press, or none of them.
    Transaction tx;
    const auto write = [&] {
        for (int teacherid : teachers) {
            for (const QString &subj : subjects) {
                if (AlreadyExists(teacherid, subj.trimmed()))
                    continue;
                // Looked up where they are written: another window may have deleted either meanwhile.
                const int uniqueid = SubjectUniqueIdByText(subj);
                if (!TeacherExists(teacherid))
                    return RefuseDeletedMeanwhile("The teacher");
                if (!SubjectTitleExists(uniqueid))
                    return RefuseDeletedMeanwhile("The subject " + subj.trimmed());
                if (!ExecuteSql("insert into teachersubjects (teacherid,subid,mostprf,leastprf) values (?,?,?,?)",
                                {teacherid, uniqueid, most.toInt(), least.toInt()}))
                    return false;
            }
        }
        return true;
    };
    Conclude(tx, write());
    FillClassSubject();
    sort_.apply(rows_);
    return QString();
}

bool TeacherSubjectLogic::remove(QVector<bool> &selected)
{
    int i = 0;
    while (i < rows_.size()) {
        if (!selected.value(i)) {
            ++i;
            continue;
        }
        const QString teacher = rows_[i][0].trimmed();
        const QString subj = rows_[i][1].trimmed();
        const int teacherid = rows_[i].value(kTeacherId).toInt();
        const int uniqueid = rows_[i].value(kSubjectId).toInt();
        const int periods = QueryValue("select count(*) from timeschedule where teacherid = ? and subid = ?",
                                       {teacherid, uniqueid}, 0)
                                .toInt();
        if (periods > 0) {
            const QString q = teacher + " has been assigned " + QString::number(periods) + " periods for " + subj +
                              " subject." + QChar(13) + "Do you want to delete this schedule ?";
            if (hx::MsgBox(q, hx::MsgButtons::YesNo, hx::MsgIcon::None) == hx::MsgResult::No)
                return false;
        }
        // The pair and its timetable periods go together or not at all.
        Transaction tx;
        if (!store::RemoveTeacherSubjectLessons(teacherid, uniqueid) ||
            !ExecuteSql("delete from teachersubjects where teacherid = ? and subid = ?", {teacherid, uniqueid}) ||
            !tx.commit()) {
            tx.rollback();
            return false;
        }
        rows_.removeAt(i);
        selected.removeAt(i);
    }
    return true;
}

void TeacherSubjectLogic::columnClick(int column)
{
    sort_.click(column);
    if (column <= 1) {
        headers_[0] = "Teacher";
        headers_[1] = "Subject";
        headers_[column] += sort_.ascending ? " ^" : " v";
    }
    sort_.apply(rows_);
}
