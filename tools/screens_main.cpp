// horalux-screens OUTFOLDER: opens every window on a small demo school, offscreen, and saves
// a PNG of each into OUTFOLDER, so that a change of layout can be looked at without a desktop.
#include "ChildWindows.h"
#include "Database.h"
#include "DemoSchool.h"
#include "MDISchedule.h"
#include "Platform.h"
#include "FrmSubstitutionStats.h"
#include "Report.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>

namespace {

QString g_out;
int g_failures = 0;

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

void shoot(QWidget *w, const QString &name)
{
    settle();
    const QString file = g_out + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!w || !w->grab().save(file)) {
        std::fprintf(stderr, "horalux-screens: could not save %s\n", qPrintable(file));
        ++g_failures;
        return;
    }
    std::printf("%s\n", qPrintable(file));
}

// The frame the main window puts around a child window, so the caption shows too.
QWidget *framed(QWidget *child)
{
    for (QWidget *p = child; p; p = p->parentWidget())
        if (qobject_cast<QMdiSubWindow *>(p))
            return p;
    return child;
}

// Picks an entry of a combo box the way a click does, so the window reacts as to the user.
void choose(QWidget *window, const QString &box, int index)
{
    auto *c = window->findChild<QComboBox *>(box);
    if (!c || c->count() <= index)
        return;
    c->setCurrentIndex(index);
    emit c->activated(index);
}

void showTab(QWidget *window, int index)
{
    if (auto *tabs = window->findChild<QTabWidget *>(QStringLiteral("SSTab1")))
        tabs->setCurrentIndex(index);
}

// The first page of a report, through the report component and pdftoppm.
void reportPage(const QString &folder, const QString &templateFile, const QStringList &formulas, const QString &name)
{
    rpt::Report r;
    r.setFormula(0, rpt::TextFormula(QStringLiteral("school"), SchoolName));
    for (int i = 0; i < formulas.size(); ++i)
        r.setFormula(i + 1, formulas[i]);
    r.setReportFileName(ReportPath + templateFile);
    r.setConnect(QStringLiteral("dsn=school;uid=pilot;pwd="));
    const QString pdf = folder + QLatin1Char('/') + name + QStringLiteral(".pdf");
    if (!r.exportPdf(pdf)) {
        std::fprintf(stderr, "horalux-screens: report: %s\n", qPrintable(r.lastError()));
        ++g_failures;
        return;
    }
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (tool.isEmpty()) {
        std::fprintf(stderr, "horalux-screens: pdftoppm not found; the report stays a PDF: %s\n", qPrintable(pdf));
        return;
    }
    const QString base = g_out + QStringLiteral("/report-") + name;
    QProcess::execute(tool, {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("90"), QStringLiteral("-f"),
                             QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-singlefile"),
                             pdf, base});
    std::printf("%s.png\n", qPrintable(base));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Horalux"));
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: horalux-screens OUTFOLDER   (a PNG of every window of a small demo school)\n");
        return 2;
    }
    g_out = args[1];
    if (!QDir().mkpath(g_out)) {
        std::fprintf(stderr, "horalux-screens: cannot make %s\n", qPrintable(g_out));
        return 1;
    }
    // Every message goes to the terminal; a question is answered No so nothing changes.
    hx::SetMsgBoxHandler([](const hx::ShownMessage &m) {
        std::fprintf(stderr, "message: %s\n", qPrintable(m.text));
        return hx::MsgResult::No;
    });

    QTemporaryDir school;
    DemoSchoolFigures figures;
    QString error;
    if (!CreateDemoSchool(school.path(), QStringLiteral(HORALUX_SCHEMA_FILE), DemoSchoolOptions::small(), &figures,
                          &error)
        || !CopyReportTemplates(QStringLiteral(HORALUX_REPORT_TEMPLATES), school.path(), &error)) {
        std::fprintf(stderr, "horalux-screens: %s\n", qPrintable(error));
        return 1;
    }
    CloseDatabase();
    SetProgramFolder(school.path());

    MDISchedule main;
    if (!main.MDIForm_Load())
        return 1;
    main.resize(1366, 768);
    main.show();
    shoot(&main, QStringLiteral("main"));

    for (const ChildWindowEntry &e : ChildWindowEntries()) {
        QWidget *w = main.openChild(e.menu);
        if (!w) {
            std::fprintf(stderr, "horalux-screens: %s opened no window\n", qPrintable(e.menu));
            ++g_failures;
            continue;
        }
        if (e.window == QLatin1String("FrmClassSchedule")) {
            choose(w, QStringLiteral("CmbClass"), 1);
            shoot(framed(w), e.window);
            showTab(w, 1);
            shoot(framed(w), e.window + QStringLiteral("-chart"));
            choose(w, QStringLiteral("CmbSubject"), 1);
            showTab(w, 2);
            if (auto *latest = w->findChild<QPushButton *>(QStringLiteral("CmdLatest")))
                latest->click();
            shoot(framed(w), e.window + QStringLiteral("-freeteachers"));
            showTab(w, 0);
            shoot(&main, QStringLiteral("main-classschedule"));
        } else if (e.window == QLatin1String("FrmGenerate")) {
            // Every class built from empty, then a class's week and a teacher's.
            if (auto *keep = w->findChild<QCheckBox *>(QStringLiteral("ChkKeep")))
                keep->setChecked(false);
            w->findChild<QPushButton *>(QStringLiteral("cmdAll"))->click();
            w->findChild<QPushButton *>(QStringLiteral("cmdGenerate"))->click();
            auto *save = w->findChild<QPushButton *>(QStringLiteral("cmdSave"));
            QElapsedTimer waited;
            waited.start();
            while (!save->isEnabled() && waited.elapsed() < 30000)
                QApplication::processEvents(QEventLoop::AllEvents, 50);
            auto *tabs = w->findChild<QTabWidget *>(QStringLiteral("TabResult"));
            tabs->setCurrentIndex(2);
            choose(w, QStringLiteral("CmbClass"), 2);
            shoot(framed(w), e.window);
            tabs->setCurrentIndex(3);
            choose(w, QStringLiteral("CmbTeacher"), 1);
            shoot(framed(w), e.window + QStringLiteral("-teacher"));
            tabs->setCurrentIndex(0);
            shoot(framed(w), e.window + QStringLiteral("-classes"));
        } else if (e.window == QLatin1String("FrmAllocation")) {
            // A subject of the class chosen, with its teachers offered; then a part-timer's week.
            if (auto *lines = w->findChild<QTreeWidget *>(QStringLiteral("LvwCurriculum")))
                lines->setCurrentItem(lines->topLevelItem(2));
            choose(w, QStringLiteral("CmbTeacher"), 0);
            shoot(framed(w), e.window);
            showTab(w, 1);
            if (auto *teacher = w->findChild<QComboBox *>(QStringLiteral("CmbAvailTeacher")))
                choose(w, QStringLiteral("CmbAvailTeacher"),
                       teacher->findData(QueryValue(QStringLiteral("select teacherid from teacherunavailable "
                                                                   "group by teacherid order by count(*) desc limit 1"))
                                             .toInt()));
            shoot(framed(w), e.window + QStringLiteral("-availability"));
        } else if (e.window == QLatin1String("FrmSubstitute")) {
            shoot(framed(w), e.window);
            // Every uncovered period proposed, and one line chosen with its ranked choice.
            if (auto *suggest = w->findChild<QPushButton *>(QStringLiteral("CmdSuggestAll")))
                suggest->click();
            auto *list = w->findChild<QTreeWidget *>(QStringLiteral("LvwSub"));
            for (int i = 0; list && i < list->topLevelItemCount(); ++i)
                if (list->topLevelItem(i)->font(4).italic()) {
                    list->setCurrentItem(list->topLevelItem(i));
                    emit list->itemClicked(list->topLevelItem(i), 0);
                    break;
                }
            shoot(framed(w), e.window + QStringLiteral("-suggested"));
        } else if (e.window == QLatin1String("FrmTeacherSchedule")) {
            choose(w, QStringLiteral("CmbTeacher"), 1);
            shoot(framed(w), e.window);
            showTab(w, 1);
            shoot(framed(w), e.window + QStringLiteral("-workload"));
        } else {
            if (e.window == QLatin1String("frmTeacher") || e.window == QLatin1String("FrmTeacherSubject"))
                choose(w, QStringLiteral("CmbTeacher"), 1);
            shoot(framed(w), e.window);
            auto *tabs = w->findChild<QTabWidget *>(QStringLiteral("SSTab1"));
            for (int t = 1; tabs && t < tabs->count(); ++t) {
                tabs->setCurrentIndex(t);
                choose(w, QStringLiteral("CmbTeacher"), 1);
                choose(w, QStringLiteral("CmbSubject"), 1);
                shoot(framed(w), e.window + QStringLiteral("-page%1").arg(t + 1));
            }
        }
        hx::CloseWindow(w);
        settle();
    }
    reportPage(school.path(), QStringLiteral("classtmtable.rpt"), {}, QStringLiteral("classtimetable"));
    reportPage(school.path(), QStringLiteral("substats.rpt"),
               SubstitutionStatistics::Formulas(QDate(QDate::currentDate().year(), 1, 1), QDate::currentDate()),
               QStringLiteral("substats"));
    return g_failures == 0 ? 0 : 1;
}
