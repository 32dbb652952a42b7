#include "Database.h"
#include "StartUp.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Horalux"));
    // horalux [FOLDER]: the folder that holds school.db and its reports; without one, the
    // program's own folder.
    const QStringList args = app.arguments();
    if (args.size() > 1 && !args[1].isEmpty())
        SetProgramFolder(QDir(args[1]).absolutePath());
    // The program ends only by its own exit paths, never because a window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    auto *splash = new frmSplash(6000);
    splash->show();
    return app.exec();
}
