// horalux-demoschool [--small|--large] [--seed N] [--force] FOLDER: writes FOLDER/school.db
// with a fully timetabled school, and the report templates beside it, so that
// `horalux FOLDER` starts the program on it.
#include "DemoSchool.h"
#include "TightSchool.h"
#include "Platform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {

void usage()
{
    std::fprintf(stderr,
                 "usage: horalux-demoschool [--small|--large] [--tight] [--seed N] [--force] FOLDER\n"
                 "  writes FOLDER/school.db with a demo school (default --large: 100 class-sections,\n"
                 "  150 teachers; --small: 12 class-sections, 25 teachers). The same seed gives the\n"
                 "  same school. An existing school.db is replaced only with --force.\n"
                 "  --tight: as few teachers as the busiest period needs, each allocated every period\n"
                 "  they can teach, one in ten unavailable for a whole day, one lesson in ten kept.\n");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    DemoSchoolOptions options = DemoSchoolOptions::large();
    bool small = false;
    bool force = false;
    bool tight = false;
    quint32 seed = options.seed;
    QString folder;
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--small")) {
            small = true;
        } else if (a == QLatin1String("--large")) {
            small = false;
        } else if (a == QLatin1String("--tight")) {
            tight = true;
        } else if (a == QLatin1String("--force")) {
            force = true;
        } else if (a == QLatin1String("--seed")) {
            bool ok = false;
            seed = i + 1 < args.size() ? args[i + 1].toUInt(&ok) : 0;
            if (!ok) {
                std::fprintf(stderr, "horalux-demoschool: --seed needs a whole number from 0 to 4294967295\n");
                return 2;
            }
            ++i;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            usage();
            return 0;
        } else if (a.startsWith(QLatin1String("--")) || !folder.isEmpty()) {
            std::fprintf(stderr, "horalux-demoschool: unexpected argument %s\n", qPrintable(a));
            usage();
            return 2;
        } else {
            folder = a;
        }
    }
    if (folder.isEmpty()) {
        usage();
        return 2;
    }
    options = small ? DemoSchoolOptions::small() : DemoSchoolOptions::large();
    options.seed = seed;
    options.overwrite = force;

    hx::SetMsgBoxHandler([](const hx::ShownMessage &m) {
        std::fprintf(stderr, "%s\n", qPrintable(m.text));
        return hx::MsgResult::Ok;
    });
    QElapsedTimer clock;
    clock.start();
    DemoSchoolFigures f;
    QString error;
    if (!CreateDemoSchool(folder, QStringLiteral(HORALUX_SCHEMA_FILE), options, &f, &error)) {
        std::fprintf(stderr, "horalux-demoschool: %s\n", qPrintable(error));
        return 1;
    }
    TightSchoolFigures tf;
    if (tight && !TightenDemoSchool(seed, 10, &tf, &error)) {
        std::fprintf(stderr, "horalux-demoschool: %s\n", qPrintable(error));
        return 1;
    }
    if (!CopyReportTemplates(QStringLiteral(HORALUX_REPORT_TEMPLATES), folder, &error)) {
        std::fprintf(stderr, "horalux-demoschool: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s/school.db: %d teachers, %d class-sections, %d subject titles, %d lessons "
                "(%d planned periods without room); today %d on leave, "
                "%d absent, %d substitutions; in %lld ms\n",
                qPrintable(folder), f.teachers, f.classSections, f.subjectTitles, f.lessons,
                f.unplaced, f.leaves, f.absences, f.substitutions, static_cast<long long>(clock.elapsed()));
    if (tight)
        std::printf("tight: %d teachers allocated all the periods they can teach (%d teacher-periods not available, "
                    "%d teachers a whole day), %d of %d lessons kept\n",
                    tf.teachers, tf.unavailable, tf.dayOff, tf.kept, tf.lessons);
    else
        std::printf("%d class-subject teachers allocated as the timetable has them; %d periods marked not available\n",
                    f.allocations, f.unavailable);
    return 0;
}
