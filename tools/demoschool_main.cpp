// horalux-demoschool FOLDER: writes FOLDER/school.db with a large, fully timetabled school.
#include "DemoSchool.h"
#include "Platform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: horalux-demoschool FOLDER   (writes FOLDER/school.db; never replaces one)\n");
        return 2;
    }
    hx::SetMsgBoxHandler([](const hx::ShownMessage &m) {
        std::fprintf(stderr, "%s\n", qPrintable(m.text));
        return hx::MsgResult::Ok;
    });
    QElapsedTimer clock;
    clock.start();
    DemoSchoolFigures f;
    QString error;
    if (!CreateDemoSchool(args[1], QStringLiteral(HORALUX_SCHEMA_FILE), &f, &error)) {
        std::fprintf(stderr, "horalux-demoschool: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s/school.db: %d teachers, %d class-sections, %d subject titles, %d lessons "
                "(%d cells with two lessons, %d planned periods without room) in %lld ms\n",
                qPrintable(args[1]), f.teachers, f.classSections, f.subjectTitles, f.lessons, f.twoLessonCells,
                f.unplaced, static_cast<long long>(clock.elapsed()));
    return 0;
}
