#include "StartUp.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Horalux"));
    // The program ends only by its own exit paths, never because a window closed.
    QApplication::setQuitOnLastWindowClosed(false);
    auto *splash = new frmSplash(6000);
    splash->show();
    return app.exec();
}
