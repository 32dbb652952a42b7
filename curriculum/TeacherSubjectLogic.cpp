#include "TeacherSubjectLogic.h"

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
    return Column0("select Teachername from teachers order by 1");
}

QStringList TeacherSubjectLogic::subjectList() const
{
    return Column0("select " + SubjectTextExpr("s", "st") +
                   ", st.uniqueid from subjtype st, subjects s where s.subid = st.subid order by 1");
}

QStringList TeacherSubjectLogic::teachersWithSubjects() const
{
    return Column0("select distinct t.Teachername from teachers t, teachersubjects ts"
                   " where ts.teacherid = t.teacherid order by 1");
}

QStringList TeacherSubjectLogic::subjectsWithTeachers() const
{
    return Column0("select distinct " + SubjectTextExpr("s", "st") +
                   " from subjtype st, subjects s, teachersubjects ts"
                   " where ts.subid = st.uniqueid and st.subid = s.subid order by 1");
}

QVector<QStringList> TeacherSubjectLogic::teacherDetail(const QString &teacherName) const
{
    Recordset rs = OpenRecordset("select " + SubjectTextExpr("s", "st") +
                                 ", cs.mostprf, cs.leastprf from teachersubjects cs, subjects s, subjtype st"
                                 " where cs.teacherid = ? and cs.subid = st.uniqueid and st.subid = s.subid"
                                 " order by s.subname, st.subtype",
                                 {TeacherIdByName(teacherName)});
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
                                 ", cs.mostprf, cs.leastprf from teachersubjects cs, subjects s, subjtype st, teachers t"
                                 " where cs.subid = st.uniqueid and cs.teacherid = t.teacherid and st.subid = s.subid"
                                 " order by t.Teachername, s.subname, st.subtype");
    for (; !rs.eof(); rs.moveNext())
        rows_.append({rs.text(0), rs.text(1), rs.text(2), rs.text(3)});
}

bool TeacherSubjectLogic::AlreadyExists(const QString &teacher, const QString &subject) const
{
    for (const QStringList &r : rows_)
        if (r[0].trimmed() == teacher.trimmed() && r[1].trimmed() == subject.trimmed())
            return true;
    return false;
}

QString TeacherSubjectLogic::assign(const QStringList &teachers, const QStringList &subjects, const QString &most,
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
    for (const QString &teacher : teachers) {
        for (const QString &subj : subjects) {
            if (AlreadyExists(teacher, subj.trimmed()))
                continue;
            if (!ExecuteSql("insert into teachersubjects (teacherid,subid,mostprf,leastprf) values (?,?,?,?)",
                            {TeacherIdByName(teacher), SubjectUniqueIdByText(subj), most.toInt(), least.toInt()}))
                continue;
            rows_.append({teacher, subj, most, least});
        }
    }
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
        const int teacherid = TeacherIdByName(teacher);
        const int uniqueid = SubjectUniqueIdByText(subj);
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
