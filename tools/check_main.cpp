// horalux-check FOLDER: checks the timetable of FOLDER/school.db and prints one line per fault
// (with the window that mends it) and a last line "N faults". Exit status 0 when there is
// none, 1 when there are faults, 2 when the check could not run. The file is only read.
#include "Database.h"
#include "TimetableCheck.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 || args[1].startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: horalux-check FOLDER\n  checks the timetable of FOLDER/school.db\n");
        return 2;
    }
    SetProgramFolder(args[1]);
    QString error;
    if (!InitializeDatabase(&error)) {
        std::fprintf(stderr, "horalux-check: %s\n", qPrintable(error));
        return 2;
    }
    QVector<check::Fault> faults;
    if (!check::FindFaults(&faults, &error)) {
        std::fprintf(stderr, "horalux-check: the check failed: %s\n", qPrintable(error));
        return 2;
    }
    for (const check::Fault &f : faults)
        std::printf("%s\n", qPrintable(f.line()));
    if (faults.isEmpty())
        std::printf("%s\n", qPrintable(check::NoFaultsText()));
    std::printf("%d faults\n", int(faults.size()));
    CloseDatabase();
    return faults.isEmpty() ? 0 : 1;
}
