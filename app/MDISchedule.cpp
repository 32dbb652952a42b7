#include "MDISchedule.h"

#include "ChildWindows.h"
#include "Database.h"
#include "FrmBkGround.h"
#include "Platform.h"
#include "ReportRunner.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>

namespace {
QPointer<MDISchedule> g_instance;

struct MenuItem {
    const char *name;
    const char *caption;
    const char *shortcut;
};
struct TopMenu {
    const char *name;
    const char *caption;
    std::vector<MenuItem> items;
};

const std::vector<TopMenu> &menuTable()
{
    static const std::vector<TopMenu> menus = {
        {"MnuFile", "Masters",
         {{"MnuSchInfo", "School Information", ""},
          {"mnuClassSection", "Class Section", ""},
          {"mnuTeacher", "Teachers' Details", ""},
          {"mnuSubjects", "Subjects", ""},
          {"mnuPeriodSystem", "Period System", ""},
          {"mnusep", "-", ""},
          {"MnuExt", "Exit Application", "Ctrl+X"}}},
        {"MnuSchooltime", "Schedule Management",
         {{"mnuAssignPStoClass", "Assign Period System to Class", ""},
          {"MnuClassSubject", "Assign Subjects to Class", ""},
          {"MnuAssignTeacher", "Assign Subjects to Teacher", ""},
          {"MnuClassSchedule", "Class Schedule", ""},
          {"MnuTeacherSchedule", "Teacher Schedule", ""},
          {"mnuSepAllocation", "-", ""},
          {"MnuAllocation", "Teaching Allocation", ""},
          {"MnuGenerate", "Generate Timetable", ""}}},
        {"MnuArrange", "Arrangement",
         {{"MnuLeave", "Leave Entry", ""},
          {"mnuTeacherAtt", "Absent Teachers", ""},
          {"mnuSubs", "Daily Substitution", ""}}},
        {"MnuRep", "Reports",
         {{"MnuClassSchSumm", "Class Schedule Summary", ""},
          {"MnuTeacherschsumm", "Teacher Schedule Summary", ""},
          {"MnuTmTable", "Class Time Table", ""},
          {"MnuTchrTmTable", "Teacher Time Table", ""},
          {"MnuFreePeriod", "Free Periods Due to Leave", ""},
          {"mnuSubstitute", "Substitue Teachers", ""},
          {"mnuRepSep", "-", ""},
          {"mnuTimetableCheck", "Timetable Check", ""},
          {"mnuSubstStats", "Substitution Statistics", ""}}},
        {"MnuWindow", "Windows", {}},
    };
    return menus;
}

const ChildWindowEntry *childEntry(const QString &menu)
{
    for (const ChildWindowEntry &e : ChildWindowEntries())
        if (e.menu == menu)
            return &e;
    return nullptr;
}

const ReportEntry *reportEntry(const QString &menu)
{
    for (const ReportEntry &e : ReportEntries())
        if (e.menu == menu)
            return &e;
    return nullptr;
}
} // namespace

MDISchedule::MDISchedule(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MDISchedule"));
    setWindowTitle(QStringLiteral("School Schedule System"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    area_ = new QMdiArea(this);
    area_->setObjectName(QStringLiteral("MDIClient"));
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(area_);
    background_ = new FrmBkGround(area_->viewport());
    area_->viewport()->installEventFilter(this);
    buildMenu();
    resize(1024, 720);
    g_instance = this;
    hx::SetWindowOpener([this](const QString &menu) { return openChild(menu); });
    rpt::InstallReportRunner(); // the report component lives with the main window
    connect(hx::AppEvents::instance(), &hx::AppEvents::schoolDetailsChanged, background_,
            &FrmBkGround::refresh);
}

MDISchedule::~MDISchedule()
{
    if (g_instance == this)
        hx::SetWindowOpener({});
}

MDISchedule *MDISchedule::instance() { return g_instance; }

void MDISchedule::buildMenu()
{
    for (const TopMenu &top : menuTable()) {
        QMenu *menu = menuBar()->addMenu(QString::fromUtf8(top.caption));
        menu->setObjectName(QString::fromLatin1(top.name));
        menu->menuAction()->setObjectName(QString::fromLatin1(top.name));
        if (QLatin1String(top.name) == QLatin1String("MnuWindow")) {
            windowsMenu_ = menu;
            connect(menu, &QMenu::aboutToShow, this, &MDISchedule::fillWindowsMenu);
            continue;
        }
        for (const MenuItem &item : top.items) {
            const QString name = QString::fromLatin1(item.name);
            QAction *a = nullptr;
            if (QLatin1String(item.caption) == QLatin1String("-")) {
                a = menu->addSeparator();
            } else {
                a = menu->addAction(QString::fromUtf8(item.caption));
                if (*item.shortcut)
                    a->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
            }
            a->setObjectName(name);
            actions_.insert(name, a);
            if (name == QLatin1String("MnuExt")) {
                connect(a, &QAction::triggered, this, &MDISchedule::MnuExt_Click);
            } else if (childEntry(name)) {
                connect(a, &QAction::triggered, this, [this, name] { openChild(name); });
            } else if (const ReportEntry *r = reportEntry(name)) {
                auto run = r->run;
                connect(a, &QAction::triggered, this, [run] { run(); });
            } else if (!a->isSeparator()) {
                a->setEnabled(false); // its window comes with a later release
            }
        }
    }
    fillWindowsMenu();
}

QAction *MDISchedule::menuAction(const QString &name) const
{
    if (QAction *a = actions_.value(name))
        return a;
    for (QMenu *m : menuBar()->findChildren<QMenu *>())
        if (m->objectName() == name)
            return m->menuAction();
    return nullptr;
}

void MDISchedule::fillWindowsMenu()
{
    windowsMenu_->clear();
    const QList<QMdiSubWindow *> windows = area_->subWindowList();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow *sub = windows[i];
        QAction *a = windowsMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(sub->windowTitle()));
        a->setCheckable(true);
        a->setChecked(sub == area_->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, sub] {
            area_->setActiveSubWindow(sub);
        });
    }
    windowsMenu_->menuAction()->setEnabled(true);
}

bool MDISchedule::MDIForm_Load()
{
    QString folder = ProgramFolder();
    const QString file = QDir(folder).filePath(QStringLiteral("school.db"));
    if (!RegisterDataSource(QStringLiteral("school"), file)) {
        hx::MsgBox(QStringLiteral("Database cannot be found!"));
        hx::EndProgram(2);
        return false;
    }
    QString error;
    if (!InitializeDatabase(&error)) {
        hx::MsgBox(error, hx::MsgButtons::Ok, hx::MsgIcon::Critical);
        hx::EndProgram(3);
        return false;
    }
    LoadSubjectSnapshot();
    background_->refresh();
    return true;
}

QList<QWidget *> MDISchedule::childWindows() const
{
    QList<QWidget *> out;
    for (QMdiSubWindow *sub : area_->subWindowList())
        if (sub->widget())
            out << sub->widget();
    return out;
}

QWidget *MDISchedule::openWindowNamed(const QString &windowName) const
{
    for (QWidget *w : childWindows())
        if (w->objectName() == windowName)
            return w;
    return nullptr;
}

QWidget *MDISchedule::openChild(const QString &menuName)
{
    const ChildWindowEntry *entry = childEntry(menuName);
    if (!entry)
        return nullptr;
    if (QWidget *open = openWindowNamed(entry->window)) {
        auto *sub = qobject_cast<QMdiSubWindow *>(open->parentWidget());
        if (sub) {
            if (sub->isMinimized())
                sub->showNormal();
            area_->setActiveSubWindow(sub);
            sub->raise();
        }
        return open;
    }
    hx::BusyCursor busy;
    QWidget *w = entry->create();
    if (!w)
        return nullptr;
    if (w->objectName().isEmpty())
        w->setObjectName(entry->window);
    w->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow *sub = area_->addSubWindow(w);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(w->windowTitle());
    connect(w, &QWidget::windowTitleChanged, sub, &QWidget::setWindowTitle);
    // A window that closes itself (its own Exit button) takes its frame along.
    connect(w, &QObject::destroyed, area_, [frame = QPointer<QMdiSubWindow>(sub), area = area_] {
        QTimer::singleShot(0, area, [frame] {
            if (frame)
                frame->close();
        });
    });
    hx::NameControlsForAccessibility(w);
    sub->move(hx::Twips(100), hx::Twips(100));
    sub->show();
    area_->setActiveSubWindow(sub);
    background_->lower();
    return w;
}

bool MDISchedule::confirmExit()
{
    return hx::MsgBox(QStringLiteral("Do you want to exit from the application?"), hx::MsgButtons::YesNo,
                      hx::MsgIcon::Question, QStringLiteral("Exit Confirmation")) == hx::MsgResult::Yes;
}

void MDISchedule::MnuExt_Click()
{
    if (!confirmExit())
        return;
    exiting_ = true;
    hx::EndProgram(0);
}

void MDISchedule::closeEvent(QCloseEvent *event)
{
    if (exiting_) {
        event->accept();
        return;
    }
    if (!confirmExit()) {
        event->ignore();
        return;
    }
    exiting_ = true;
    event->accept();
    hx::EndProgram(0);
}

void MDISchedule::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        MDIForm_Activate();
    QMainWindow::changeEvent(event);
}

void MDISchedule::MDIForm_Activate()
{
    background_->setGeometry(area_->viewport()->rect());
    background_->lower();
    background_->show();
}

bool MDISchedule::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == area_->viewport() && event->type() == QEvent::Resize) {
        background_->setGeometry(area_->viewport()->rect());
        background_->Form_Activate();
    }
    return QMainWindow::eventFilter(watched, event);
}
