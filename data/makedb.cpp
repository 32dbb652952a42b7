// Creates the shipped school.db from the schema when it is absent; an existing database
// is a school's data and is never touched.
#include "Database.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: horalux-makedb SCHEMA.sql school.db\n");
        return 2;
    }
    const QString schema = QString::fromLocal8Bit(argv[1]);
    const QString target = QString::fromLocal8Bit(argv[2]);
    if (QFileInfo::exists(target)) {
        std::printf("%s exists; kept as it is.\n", qPrintable(target));
        return 0;
    }
    QString error;
    if (!CreateDatabaseFile(target, schema, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("Created %s\n", qPrintable(target));
    return 0;
}
