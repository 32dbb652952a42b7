// horalux-generate [--seed N] [--keep-teachers] [--keep-lessons] [--dry-run] FOLDER: builds the
// week of every class-section of FOLDER/school.db with the timetable generator and saves it
// through the timetable store, as the window's Save does. The last line is
// "placed P of L lessons, C clashes, S spread faults, in T ms"; exit 0 when every lesson was
// placed, 1 when some were not (or the week was not saved), 2 when it could not run.
#include "AllocationBook.h"
#include "Database.h"
#include "GenerateModel.h"
#include "Platform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

namespace {

void usage()
{
    std::fprintf(stderr,
                 "usage: horalux-generate [--seed N] [--keep-teachers] [--keep-lessons] [--dry-run] FOLDER\n"
                 "  builds the week of every class-section of FOLDER/school.db and saves it.\n"
                 "  --keep-teachers  first take the teaching allocations from the current timetable\n"
                 "  --keep-lessons   keep the lessons already placed; place only the missing ones\n"
                 "  --dry-run        write nothing\n");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    quint64 seed = 1;
    bool keepTeachers = false, keepLessons = false, dryRun = false;
    QString folder;
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--seed")) {
            bool ok = false;
            seed = i + 1 < args.size() ? args[i + 1].toULongLong(&ok) : 0;
            if (!ok) {
                std::fprintf(stderr, "horalux-generate: --seed needs a whole number\n");
                return 2;
            }
            ++i;
        } else if (a == QLatin1String("--keep-teachers")) {
            keepTeachers = true;
        } else if (a == QLatin1String("--keep-lessons")) {
            keepLessons = true;
        } else if (a == QLatin1String("--dry-run")) {
            dryRun = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            usage();
            return 0;
        } else if (a.startsWith(QLatin1String("--")) || !folder.isEmpty()) {
            std::fprintf(stderr, "horalux-generate: unexpected argument %s\n", qPrintable(a));
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
    hx::SetMsgBoxHandler([](const hx::ShownMessage &m) {
        std::fprintf(stderr, "%s\n", qPrintable(m.text));
        return hx::MsgResult::Yes;
    });
    SetProgramFolder(folder);
    QString error;
    if (!InitializeDatabase(&error)) {
        std::fprintf(stderr, "horalux-generate: %s\n", qPrintable(error));
        return 2;
    }

    QElapsedTimer clock;
    clock.start();
    // The allocations taken from the timetable and the weeks are written together, or with
    // --dry-run not at all.
    Transaction tx;
    if (keepTeachers && !alloc::TakeFromTimetable(0)) {
        std::fprintf(stderr, "horalux-generate: the allocations could not be taken from the timetable\n");
        return 2;
    }
    GenerateModel model;
    QVector<int> classes;
    for (const GenItem &c : GenerateModel::classList())
        classes << c.id;
    if (!model.read(classes, keepLessons)) {
        std::fprintf(stderr, "horalux-generate: the school could not be read\n");
        return 2;
    }
    model.setResult(gen::Generate(model.snapshot(), model.options(seed, 0)));
    const gen::Result result = model.result();
    for (const QString &line : model.unplacedLines())
        std::printf("%s\n", qPrintable(line));
    bool saved = true;
    if (dryRun) {
        tx.rollback();
    } else {
        const store::SaveResult s = model.save();
        saved = s.saved() && tx.commit();
        if (!s.saved() && !s.message.isEmpty())
            std::fprintf(stderr, "horalux-generate: nothing was saved: %s\n", qPrintable(s.message));
    }
    model.setResult(result);
    // The time is the whole run: reading, generating and saving.
    std::printf("%s\n", qPrintable(model.summary(clock.elapsed())));
    std::fflush(stdout);
    CloseDatabase();
    // For the benchmark: the most memory the run held, on the error stream.
    if (qEnvironmentVariableIsSet("HORALUX_GENERATE_PEAK")) {
        QFile status(QStringLiteral("/proc/self/status"));
        if (status.open(QIODevice::ReadOnly))
            for (const QByteArray &line : status.readAll().split('\n'))
                if (line.startsWith("VmHWM:"))
                    std::fprintf(stderr, "peak memory %.1f MB\n", line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0);
    }
    return saved && result.placed == result.planned ? 0 : 1;
}
