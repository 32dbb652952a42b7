#include "ClassSubjectLogic.h"

#include "ClassPeriods.h"
#include "Database.h"
#include "Lookups.h"
#include "Platform.h"
#include "TimetableStore.h"

QStringList ClassSubjectLogic::classList() const
{
    // Listed once each, however many period-system rows a class has.
    Recordset rs = OpenRecordset("select " + ClassSectionExpr("cs") +
                                 " from classsection cs where cs.classid in (select classid from classperiods)"
                                 " order by cs.sortorder");
    QStringList out;
    for (; !rs.eof(); rs.moveNext())
        out << rs.text(0);
    return out;
}

QStringList ClassSubjectLogic::subjectList() const
{
    Recordset rs = OpenRecordset("select " + SubjectTextExpr("s", "st") +
                                 ", st.uniqueid from subjtype st, subjects s where st.subid = s.subid"
                                 " order by s.subid, st.subtype");
    QStringList out;
    for (; !rs.eof(); rs.moveNext())
        out << rs.text(0);
    return out;
}

QVector<QPair<QString, int>> ClassSubjectLogic::classesWithSubjects() const
{
    Recordset rs = OpenRecordset("select distinct " + ClassSectionExpr("cs") +
                                 ", cs.classid from classsection cs, classsubjects c"
                                 " where c.classid = cs.classid order by 1");
    QVector<QPair<QString, int>> out;
    for (; !rs.eof(); rs.moveNext())
        out.append({rs.text(0), rs.integer(1)});
    return out;
}

QVector<QPair<QString, int>> ClassSubjectLogic::classDetail(int classid) const
{
    Recordset rs = OpenRecordset("select " + SubjectTextExpr("s", "st") +
                                 " as Subject, cs.hours as Periods from classsubjects cs, subjects s, subjtype st"
                                 " where cs.classid = ? and cs.subid = st.uniqueid and st.subid = s.subid",
                                 {classid});
    QVector<QPair<QString, int>> out;
    for (; !rs.eof(); rs.moveNext())
        out.append({rs.text(0), rs.integer(1)});
    return out;
}

QVector<QPair<QString, int>> ClassSubjectLogic::subjectCount() const
{
    Recordset rs = OpenRecordset("select " + ClassSectionExpr("sec") +
                                 " as cls, count(*) from classsubjects cs, classsection sec"
                                 " where cs.classid = sec.classid group by 1");
    QVector<QPair<QString, int>> out;
    for (; !rs.eof(); rs.moveNext())
        out.append({rs.text(0), rs.integer(1)});
    return out;
}

void ClassSubjectLogic::FillClassSubject()
{
    rows_.clear();
    Recordset rs = OpenRecordset("select " + ClassSectionExpr("sec") +
                                 " as cls, " + SubjectTextExpr("s", "st") +
                                 " as subj, cs.hours, cs.level1 from classsubjects cs, subjects s,"
                                 " classsection sec, subjtype st where cs.subid = st.uniqueid"
                                 " and cs.classid = sec.classid and s.subid = st.subid order by sec.class, s.subname");
    for (; !rs.eof(); rs.moveNext())
        rows_.append({rs.text(0), rs.text(1), rs.text(2), rs.text(3), QString()});
}

bool ClassSubjectLogic::AlreadyExists(const QString &classText, const QString &subjectText) const
{
    for (const QStringList &r : rows_)
        if (r[0].trimmed() == classText.trimmed() && r[1].trimmed() == subjectText.trimmed())
            return true;
    return false;
}

bool ClassSubjectLogic::assign(const QStringList &classes, const QStringList &subjects, const QString &hours,
                               const QString &level)
{
    const int hrs = LeadingNumber(hours);
    if (hrs <= 0) {
        hx::MsgBox("Assign Periods per Week for subject and the class", hx::MsgButtons::Ok, hx::MsgIcon::None);
        return false;
    }
    if (level.isEmpty()) {
        hx::MsgBox("Select the level", hx::MsgButtons::Ok, hx::MsgIcon::None);
        return false;
    }
    hx::BusyCursor busy;
    // All the rows of one press, or none of them; the limit and the look-ups are read inside,
    // where another window's change can no longer slip in between.
    Transaction tx;
    const auto write = [&] {
        for (const QString &cls : classes) {
            int weekPeriods = -1;
            for (const QString &subj : subjects) {
                if (AlreadyExists(cls, subj))
                    continue;
                const int classid = ClassIdFromText(cls);
                const int uniqueid = SubjectUniqueIdByText(subj);
                if (classid == 0)
                    return RefuseDeletedMeanwhile("The class " + cls.trimmed());
                if (!SubjectTitleExists(uniqueid))
                    return RefuseDeletedMeanwhile("The subject " + subj.trimmed());
                if (weekPeriods < 0)
                    weekPeriods = ClassWeekPeriods(classid);
                if (hrs + ClassAssignedPeriods(classid) > weekPeriods) {
                    hx::MsgBox("Period limit exceeded for class " + cls, hx::MsgButtons::Ok, hx::MsgIcon::None);
                    break; // the rows already added stay; the next class is taken
                }
                if (!ExecuteSql("insert into classsubjects (classid,subid,hours,level1) values (?,?,?,?)",
                                {classid, uniqueid, hrs, level.toInt()}))
                    return false;
            }
        }
        return true;
    };
    Conclude(tx, write());
    FillClassSubject();
    sort_.apply(rows_);
    return true;
}

void ClassSubjectLogic::remove(QVector<bool> &selected)
{
    int i = 0;
    while (i < rows_.size()) {
        if (!selected.value(i)) {
            ++i;
            continue;
        }
        const QString cls = rows_[i][0];
        const QString subj = rows_[i][1];
        const int classid = ClassIdFromText(cls);
        const int uniqueid = SubjectUniqueIdByText(subj);
        const int periods = QueryValue("select count(*) from timeschedule where classid = ? and subid = ?",
                                       {classid, uniqueid}, 0)
                                .toInt();
        if (periods > 0) {
            const QString q = "A schedule of " + QString::number(periods) + " periods has been allocated to " + cls +
                              " class for " + subj + " subject." + QChar(13) + "Do you want to delete that schedule ?";
            if (hx::MsgBox(q, hx::MsgButtons::YesNo, hx::MsgIcon::None) == hx::MsgResult::No)
                return;
        }
        // The pair and its timetable periods go together or not at all.
        Transaction tx;
        if (!ExecuteSql("delete from classsubjects where classid = ? and subid = ?", {classid, uniqueid}) ||
            !store::RemoveClassSubjectLessons(classid, uniqueid) ||
            !tx.commit()) {
            tx.rollback();
            return;
        }
        rows_.removeAt(i);
        selected.removeAt(i);
    }
}

void ClassSubjectLogic::columnClick(int column)
{
    sort_.click(column);
    if (column <= 2) {
        headers_[0] = "Class";
        headers_[1] = "Subject";
        headers_[2] = "Period";
        static const QStringList names{"Class", "Subject", "Periods"};
        headers_[column] = names[column] + (sort_.ascending ? " ^" : " v");
    }
    sort_.apply(rows_);
}
