// horalux-bench [FOLDER]: times the class schedule editor's work on a large school.
// FOLDER/school.db is copied first, so the timings never change it; without FOLDER (or when
// it holds no school.db) a demo school is generated in a temporary folder.
#include "AutoAssign.h"
#include "ClassScheduleModel.h"
#include "Database.h"
#include "DemoSchool.h"
#include "FrmClassSchedule.h"
#include "Lookups.h"
#include "Platform.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

struct Timing {
    double median = 0;
    double worst = 0;
};

// setup runs untimed before every timed run.
Timing measure(int runs, const std::function<void()> &setup, const std::function<void()> &work)
{
    QVector<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (setup)
            setup();
        QElapsedTimer t;
        t.start();
        work();
        ms << t.nsecsElapsed() / 1e6;
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.last()};
}

void report(const char *what, const Timing &t)
{
    std::printf("  %-46s median %8.2f ms   worst %8.2f ms\n", what, t.median, t.worst);
}

// The free-teacher search done cell by cell with one query per teacher, the way a naive
// implementation goes about it; kept here only as the yardstick for the set-based one.
std::array<QString, tt::kCells> freeTeachersCellByCell(const ClassScheduleModel &m)
{
    std::array<QString, tt::kCells> out;
    for (int i = 0; i < tt::kCells; ++i) {
        QString busy;
        const Recordset rs = OpenRecordset("select * from timeschedule where period = ? and weekday = ? and classid <> ?",
                                           {tt::CellPeriod(i), tt::CellDay(i), m.classId()});
        for (const QVariantList &row : rs.rows())
            busy += '/' + TeacherNameById(row.value(0).toInt()) + '/';
        const QStringList lines = tt::SplitCaption(m.lessonCaption(i));
        if (!lines.isEmpty())
            busy += '/' + lines[0] + '/';
        if (lines.size() >= 4)
            busy += '/' + lines[2] + '/';
        QStringList free;
        const Recordset teachers = OpenRecordset("select * from teachers");
        const int idCol = teachers.fieldIndex("teacherid");
        const int nameCol = teachers.fieldIndex("teachername");
        for (const QVariantList &t : teachers.rows()) {
            const Recordset subjects =
                OpenRecordset("select * from teachersubjects where teacherid = ?", {t.value(idCol)});
            const QString name = t.value(nameCol).toString();
            if (subjects.RecordCount() > 0 && !busy.contains('/' + name + '/'))
                free << name;
        }
        out[i] = free.join(" / ");
    }
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    // Questions are answered Yes; each distinct message is shown once.
    QStringList seen;
    hx::SetMsgBoxHandler([&seen](const hx::ShownMessage &m) {
        if (m.buttons == hx::MsgButtons::YesNo)
            return hx::MsgResult::Yes;
        if (!seen.contains(m.text)) {
            seen << m.text;
            std::printf("    (message) %s\n", qPrintable(m.text));
        }
        return hx::MsgResult::Ok;
    });
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    QTemporaryDir work;
    const QString source = app.arguments().size() > 1 ? QDir(app.arguments()[1]).filePath("school.db") : QString();
    QElapsedTimer clock;
    clock.start();
    if (!source.isEmpty() && QFile::exists(source)) {
        QFile::copy(source, QDir(work.path()).filePath("school.db"));
        SetProgramFolder(work.path());
        QString error;
        if (!InitializeDatabase(&error)) {
            std::fprintf(stderr, "horalux-bench: %s\n", qPrintable(error));
            return 1;
        }
        std::printf("school: copy of %s\n", qPrintable(source));
    } else {
        DemoSchoolFigures f;
        QString error;
        if (!CreateDemoSchool(work.path(), HORALUX_SCHEMA_FILE, &f, &error)) {
            std::fprintf(stderr, "horalux-bench: %s\n", qPrintable(error));
            return 1;
        }
        std::printf("school: generated, %d teachers, %d class-sections, %d lessons, in %lld ms\n", f.teachers,
                    f.classSections, f.lessons, static_cast<long long>(clock.elapsed()));
    }
    LoadSubjectSnapshot();
    std::printf("  %d teachers, %d class-sections, %d lessons in the timetable\n",
                QueryValue("select count(*) from teachers").toInt(),
                QueryValue("select count(*) from classsection").toInt(),
                QueryValue("select count(*) from timeschedule").toInt());

    const QString classText = "VII-C";
    const int classid = ClassIdByClassSection(classText);
    if (classid == 0) {
        std::fprintf(stderr, "horalux-bench: the school has no class %s\n", qPrintable(classText));
        return 1;
    }
    const int runs = 25;
    ClassScheduleModel m;
    m.loadClass(classid, classText);
    // The subject with most periods.
    const QVector<Pick> subjects = ClassScheduleModel::subjectList(classid);
    Pick subject;
    int most = -1;
    for (const Pick &s : subjects) {
        const int h = QueryValue("select hours from classsubjects where classid = ? and subid = ?", {classid, s.id}).toInt();
        if (h > most) {
            most = h;
            subject = s;
        }
    }
    // The teacher who teaches it in this class, so that the cleared periods fit again.
    Pick teacher = ClassScheduleModel::teacherList(subject.id).value(0);
    const int own = QueryValue("select teacherid from timeschedule where classid = ? and subid = ?", {classid, subject.id}, 0).toInt();
    for (const Pick &t : ClassScheduleModel::teacherList(subject.id))
        if (t.id == own)
            teacher = t;
    std::printf("class %s, subject \"%s\" (%d periods), teacher %s\n\n", qPrintable(classText), qPrintable(subject.text),
                most, qPrintable(teacher.text));

    std::printf("class schedule, logic:\n");
    const int otherClass = ClassIdByClassSection("X-B");
    int round = 0;
    report("choose a class (load week, subjects)", measure(runs, {}, [&] {
               const bool second = round++ % 2;
               m.loadClass(second ? otherClass : classid, second ? "X-B" : classText);
               ClassScheduleModel::subjectList(second ? otherClass : classid);
           }));
    m.loadClass(classid, classText);
    report("choose a subject (teachers, marks, hours)", measure(runs, {}, [&] { m.chooseSubject(1, subject); }));
    report("choose a teacher (busy marking)", measure(runs, {}, [&] { m.chooseTeacher(1, teacher); }));
    auto selectFree = [&] {
        m.resetSelection();
        for (int i = 0, n = 0; i < tt::kCells && n < 3; ++i)
            if (m.colour(i) == CellColour::Free && m.cellState(tt::CellDay(i), tt::CellPeriod(i)) == 1) {
                m.press(i);
                ++n;
            }
    };
    report("assign (3 cells)", measure(runs, selectFree, [&] { m.assign(); }));
    report("undo", measure(runs, [&] { selectFree(); m.assign(); }, [&] { m.undo(); }));
    report("save (delete, inserts, history, reload)", measure(runs, [&] {
               m.loadClass(classid, classText);
               m.chooseSubject(1, subject);
               m.chooseTeacher(1, teacher);
               selectFree();
               m.assign();
           },
                                                            [&] { m.save(); }));
    auto clearSubject = [&] {
        m.loadClass(classid, classText);
        m.chooseSubject(1, subject);
        for (int i = 0; i < tt::kCells; ++i)
            if (!m.lessons(i).isEmpty() && m.lessons(i).last().subjectId == subject.id)
                m.press(i);
        m.clearSelected();
        m.chooseTeacher(1, teacher);
    };
    int placed = 0;
    report("auto assign (the subject's periods)", measure(runs, clearSubject, [&] {
               AutoAssign a(m);
               a.run();
               placed = a.placed();
           }));
    std::printf("    (placed %d of %d)\n", placed, most);

    m.loadClass(classid, classText);
    const Timing setBased = measure(runs, {}, [&] { m.fillFreeTeacher(); });
    std::array<QString, tt::kCells> naive;
    const Timing cellByCell = measure(3, {}, [&] { naive = freeTeachersCellByCell(m); });
    bool same = true;
    for (int i = 0; i < tt::kCells; ++i)
        same = same && naive[i] == FreeTeacherList[i];
    report("get latest information (free teachers)", setBased);
    report("  same, cell by cell, query per teacher", cellByCell);
    std::printf("    %.0f times faster, %s\n", cellByCell.median / std::max(setBased.median, 0.001),
                same ? "same result in all 54 cells" : "RESULTS DIFFER");

    std::printf("\nclass schedule, window:\n");
    FrmClassSchedule w;
    w.resize(1100, 800);
    w.show();
    app.processEvents();
    auto *cls = w.findChild<QComboBox *>("CmbClass");
    const int index = cls->findText(classText);
    // Alternating with another class, so that every cell is drawn anew.
    const int other = cls->findText("X-B");
    int turn = 0;
    report("choose a class in the window (with drawing)", measure(runs, {}, [&] {
               cls->setCurrentIndex(turn++ % 2 ? other : index);
               w.CmbClass_Click();
               app.processEvents();
           }));
    cls->setCurrentIndex(index);
    w.CmbClass_Click();
    auto *sub = w.findChild<QComboBox *>("CmbSubject");
    auto *tch = w.findChild<QComboBox *>("CmbTeacher");
    report("choose subject and teacher in the window", measure(runs, {}, [&] {
               sub->setCurrentIndex(sub->findText(subject.text));
               w.CmbSubject_Click();
               tch->setCurrentIndex(0);
               w.CmbTeacher_Click();
               app.processEvents();
           }));
    return same ? 0 : 1;
}
