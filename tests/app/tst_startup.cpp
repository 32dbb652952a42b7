#include "ChildWindows.h"
#include "FrmBkGround.h"
#include "MDISchedule.h"
#include "StartUp.h"
#include "TestSupport.h"
#include "UserInput.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

class TestStartUp : public QObject {
    Q_OBJECT
private slots:
    void splashHandsOverToLogin();
    void loginChecks();
    void mainWindowMenuAndChildren();
    void exitConfirmation();
    void missingOrForeignDatabase();

private:
    FrmLogin *newLogin();
};

FrmLogin *TestStartUp::newLogin()
{
    auto *login = new FrmLogin;
    if (!ShowInFront(login))
        qWarning("the login window did not come to the front");
    return login;
}

void TestStartUp::splashHandsOverToLogin()
{
    auto *splash = new frmSplash(50);
    QWidget *login = nullptr;
    connect(splash, &frmSplash::loginShown, this, [&](QWidget *w) { login = w; });
    splash->show();
    QTRY_VERIFY(login != nullptr);
    QCOMPARE(login->objectName(), QString("FrmLogin"));
    login->close();

    // A key during the wait goes straight to the login, once.
    auto *slow = new frmSplash(60000);
    QPointer<frmSplash> guard(slow);
    int shown = 0;
    connect(slow, &frmSplash::loginShown, this, [&](QWidget *w) { ++shown; w->close(); });
    slow->show();
    QTest::keyClick(slow, Qt::Key_Space);
    QCOMPARE(shown, 1);
    QTRY_VERIFY(guard.isNull());
}

void TestStartUp::loginChecks()
{
    TestDatabase db;
    MessageLog log;
    {
        FrmLogin *login = newLogin();
        auto *user = login->findChild<QLineEdit *>("txtUserName");
        auto *pass = login->findChild<QLineEdit *>("txtPassword");
        auto *frame = login->findChild<QGroupBox *>("Frame2");
        QVERIFY(user && pass && frame);
        QCOMPARE(user->accessibleName(), QString("User Name"));
        // Correct user, wrong password: user name kept in upper case once left, focus moves on.
        QCOMPARE(QApplication::focusWidget(), user);
        Type(user, "Pilot");
        QTest::keyClick(user, Qt::Key_Tab);
        QCOMPARE(user->text(), QString("PILOT"));
        QCOMPARE(QApplication::focusWidget(), pass);
        Type(pass, "nope");
        QTest::keyClick(pass, Qt::Key_Return); // Enter acts as Login
        QCOMPARE(frame->title(), QString("Invalid Password"));
        QCOMPARE(login->loginAttempts(), 1);
        QCOMPARE(QApplication::focusWidget(), pass);
        // Two wrong user names after it: the counter counts both kinds; the third ends.
        Retype(user, "someone");
        auto *ok = login->findChild<QPushButton *>("cmdOK");
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(frame->title(), QString("Invalid User Name"));
        QVERIFY(log.endCodes.isEmpty());
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(login->loginAttempts(), 3);
        QCOMPARE(log.last(), QString("Sorry! You dont have rights to load software"));
        QCOMPARE(log.messages.last().icon, hx::MsgIcon::Critical);
        QCOMPARE(log.endCodes.size(), 1);
        QVERIFY(log.endCodes[0] != 0);
        delete login;
    }
    {
        // Any mix of case passes, also after the box shows it upper-cased.
        FrmLogin *login = newLogin();
        QPointer<FrmLogin> guard(login);
        Type(login->findChild<QLineEdit *>("txtUserName"), "pilot");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // shown upper-cased once left
        Type(login->findChild<QLineEdit *>("txtPassword"), "PiLoT");
        QTest::mouseClick(login->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
        QPointer<MDISchedule> main = login->mainWindow();
        QVERIFY(main);
        QCOMPARE(main->windowTitle(), QString("School Schedule System"));
        QTRY_VERIFY(guard.isNull());
        main->setAttribute(Qt::WA_DeleteOnClose, false);
        delete main.data();
    }
    {
        FrmLogin *login = newLogin();
        QTest::mouseClick(login->findChild<QPushButton *>("cmdCancel"), Qt::LeftButton);
        QCOMPARE(log.endCodes.last(), 0);
        delete login;
    }
    {
        // Closed by the window system (Alt+F4) before anyone logged in: the program ends,
        // rather than run on with no window at all.
        log.endCodes.clear();
        FrmLogin *login = newLogin();
        QVERIFY(login->close());
        QCOMPARE(log.endCodes, QList<int>({0}));
        delete login;
    }
}

void TestStartUp::mainWindowMenuAndChildren()
{
    TestDatabase db;
    MessageLog log;
    int created = 0;
    ChildWindowEntries().push_back({"mnuTestWindow", "frmTestWindow", [&created] {
                                        ++created;
                                        auto *w = new QWidget;
                                        w->setWindowTitle("Test Window");
                                        return w;
                                    }});
    MDISchedule main;
    QVERIFY(main.MDIForm_Load());
    // Every top-level menu in order, every entry with its caption.
    QStringList tops;
    for (QAction *a : main.menuBar()->actions())
        tops << a->text();
    QCOMPARE(tops, QStringList({"Masters", "Schedule Management", "Arrangement", "Reports", "Windows"}));
    QCOMPARE(main.menuAction("MnuExt")->shortcut(), QKeySequence("Ctrl+X"));
    QCOMPARE(main.menuAction("mnuSubstitute")->text(), QString("Substitue Teachers"));
    QCOMPARE(main.menuAction("MnuTeacherschsumm")->text(), QString("Teacher Schedule Summary"));
    // The check and the statistics come below a separator after the menu's own reports.
    QStringList reports;
    for (QAction *top : main.menuBar()->actions())
        if (top->text() == "Reports")
            for (QAction *a : top->menu()->actions())
                reports << (a->isSeparator() ? QString("-") : a->text());
    QCOMPARE(reports, QStringList({"Class Schedule Summary", "Teacher Schedule Summary", "Class Time Table",
                                   "Teacher Time Table", "Free Periods Due to Leave", "Substitue Teachers", "-",
                                   "Timetable Check", "Substitution Statistics"}));

    // The school's details stand on the background.
    QCOMPARE(main.background()->findChild<QLabel *>("LblLibName")->text(), SchoolName);

    QWidget *first = main.openChild("mnuTestWindow");
    QVERIFY(first);
    QWidget *again = main.openChild("mnuTestWindow");
    QCOMPARE(again, first);
    QCOMPARE(created, 1);
    QCOMPARE(main.childWindows().size(), 1);
    QCOMPARE(first->parentWidget()->pos(), QPoint(7, 7)); // 100 twips
    // Closing it releases it: the next opening starts afresh.
    QPointer<QWidget> gone(first);
    hx::CloseWindow(first);
    QTRY_VERIFY(gone.isNull());
    QVERIFY(main.childWindows().isEmpty());
    QVERIFY(main.openChild("mnuTestWindow"));
    QCOMPARE(created, 2);
    // A window that closes itself takes its frame along.
    QPointer<QWidget> self(main.childWindows().value(0));
    self->close();
    QTRY_VERIFY(self.isNull());
    QTRY_VERIFY(main.mdiArea()->subWindowList().isEmpty());
    ChildWindowEntries().pop_back();
}

void TestStartUp::exitConfirmation()
{
    TestDatabase db;
    MessageLog log;
    MDISchedule main;
    QVERIFY(main.MDIForm_Load());
    QVERIFY(ShowInFront(&main));
    log.answer(hx::MsgResult::No);
    QTest::keyClick(&main, Qt::Key_X, Qt::ControlModifier); // the exit entry's shortcut
    QCOMPARE(log.messages.size(), 1);
    QCOMPARE(log.messages[0].title, QString("Exit Confirmation"));
    QCOMPARE(log.messages[0].text, QString("Do you want to exit from the application?"));
    QCOMPARE(log.messages[0].icon, hx::MsgIcon::Question);
    QVERIFY(log.endCodes.isEmpty());
    log.answer(hx::MsgResult::No);
    QVERIFY(!main.close()); // closing the window asks the same and No keeps it
    QVERIFY(main.isVisible());
    QCOMPARE(log.messages.size(), 2);
    log.answer(hx::MsgResult::Yes);
    QVERIFY(main.close());
    QCOMPARE(log.endCodes, QList<int>({0}));
}

void TestStartUp::missingOrForeignDatabase()
{
    MessageLog log;
    QTemporaryDir dir;
    SetProgramFolder(dir.path());
    {
        MDISchedule main;
        QVERIFY(!main.MDIForm_Load());
        QCOMPARE(log.last(), QString("Database cannot be found!"));
        QCOMPARE(log.endCodes.size(), 1);
        QVERIFY(log.endCodes[0] != 0);
    }
    const QString file = dir.filePath("school.db");
    const QByteArray junk("this is a letter to the parents, not a database\n");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(junk);
    f.close();
    {
        MDISchedule main;
        QVERIFY(!main.MDIForm_Load());
        QVERIFY(log.last().contains("cannot be opened"));
        QCOMPARE(log.endCodes.size(), 2);
        QVERIFY(log.endCodes[1] != 0);
    }
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), junk); // never changed or replaced
    f.close();
    // A real SQLite file without the school's tables.
    QFile::remove(file);
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
        other.setDatabaseName(file);
        QVERIFY(other.open());
        QSqlQuery(other).exec("create table notes (x text)");
        other.close();
    }
    QSqlDatabase::removeDatabase("other");
    auto bytes = [&file] {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("unreadable");
    };
    // Each refused file is left byte for byte as it was, and no journal is left beside it.
    auto refusedUnchanged = [&](const char *what, const QString &message) {
        const QByteArray before = bytes();
        {
            MDISchedule main;
            QVERIFY2(!main.MDIForm_Load(), what);
            QVERIFY2(log.last().contains(message), qPrintable(log.last()));
        }
        QVERIFY2(bytes() == before, what);
        QVERIFY2(!QFile::exists(file + "-journal"), what);
    };
    refusedUnchanged("foreign", "is not a Horalux database");

    // An empty file (a copy that went wrong) is no school's database either.
    QVERIFY(QFile::remove(file));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    refusedUnchanged("empty", "is not a Horalux database");
    QCOMPARE(QFileInfo(file).size(), 0);

    // A real school database whose first page has been damaged.
    QVERIFY(QFile::remove(file));
    QVERIFY(CreateDatabaseFile(file, QStringLiteral(HORALUX_SCHEMA_FILE)));
    QVERIFY(f.open(QIODevice::ReadWrite));
    f.seek(100);
    f.write(QByteArray(2000, '\x5a'));
    f.close();
    refusedUnchanged("corrupt", "cannot be opened");
    QVERIFY(log.last().contains("damaged or not a database") || log.last().contains("malformed"));
    SetProgramFolder(QString());
}

QTEST_MAIN(TestStartUp)
#include "tst_startup.moc"
