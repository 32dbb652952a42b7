#include "FrmTeacherSubject.h"

#include "Platform.h"
#include "Widgets.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

FrmTeacherSubject::FrmTeacherSubject()
{
    setObjectName("FrmTeacherSubject");
    setWindowTitle("Assign Subjects to Teacher");
    auto *tabs = new QTabWidget;
    tabs->setObjectName("SSTab1");
    auto *page1 = new QWidget;
    auto *g = new QGridLayout(page1);
    // Teachers are told apart by id: two of the same name are still two.
    LstClass = MultiList("LstClass", {});
    for (const auto &t : logic_.teachers()) {
        auto *item = new QListWidgetItem(t.first, LstClass);
        item->setData(Qt::UserRole, t.second);
    }
    LstSubject = MultiList("LstSubject", logic_.subjectList());
    cmbMostP = Levels("cmbMostP", "Select Most Prefered Level");
    cmbLeastP = Levels("cmbLeastP", "Select Least Prefered Level");
    auto *assign = new QPushButton("&Assign ");
    assign->setObjectName("cmdAssign");
    auto *remove = new QPushButton("&Remove");
    remove->setObjectName("CmbRemove");
    LvwClassSubject = ListView("LvwClassSubject", logic_.headers(), true);
    g->addWidget(new QLabel("Teachers"), 0, 0);
    g->addWidget(new QLabel("Subjects"), 0, 1);
    g->addWidget(LstClass, 1, 0, 4, 1);
    g->addWidget(LstSubject, 1, 1, 4, 1);
    g->addWidget(new QLabel("Most Preferred Level"), 1, 2);
    g->addWidget(cmbMostP, 1, 3);
    g->addWidget(new QLabel("Least Preferred Level"), 2, 2);
    g->addWidget(cmbLeastP, 2, 3);
    g->addWidget(assign, 3, 2);
    g->addWidget(remove, 3, 3);
    g->addWidget(new QLabel("Subjects Assigned to Teachers"), 5, 0, 1, 4);
    g->addWidget(LvwClassSubject, 6, 0, 1, 4);
    tabs->addTab(page1, "Assign Subjects to Teacher");

    auto *page2 = new QWidget;
    auto *g2 = new QGridLayout(page2);
    CmbTeacher = new QComboBox;
    CmbTeacher->setObjectName("CmbTeacher");
    CmbSubject = new QComboBox;
    CmbSubject->setObjectName("CmbSubject");
    LvwTeacher = ListView("LvwTeacher", {"Subject", "Most Prefered Level", "Least Prefered Level"}, false);
    LvwSubject = ListView("LvwSubject", {"Teacher", "Most Prefered Level", "Least Prefered Level"}, false);
    g2->addWidget(new QLabel("Teacher"), 0, 0);
    g2->addWidget(CmbTeacher, 0, 1);
    g2->addWidget(LvwTeacher, 1, 0, 1, 2);
    g2->addWidget(new QLabel("Subject "), 0, 2);
    g2->addWidget(CmbSubject, 0, 3);
    g2->addWidget(LvwSubject, 1, 2, 1, 2);
    tabs->addTab(page2, "Teacher/Subject Details");

    auto *exit = new QPushButton("E&xit");
    exit->setObjectName("CmdExit");
    auto *v = new QVBoxLayout(this);
    v->addWidget(tabs);
    v->addWidget(exit, 0, Qt::AlignRight);

    connect(assign, &QPushButton::clicked, this, &FrmTeacherSubject::cmdAssign_Click);
    connect(remove, &QPushButton::clicked, this, &FrmTeacherSubject::CmbRemove_Click);
    connect(exit, &QPushButton::clicked, this, [this] { hx::CloseWindow(this); });
    connect(CmbTeacher, &QComboBox::activated, this, &FrmTeacherSubject::CmbTeacher_Click);
    connect(CmbSubject, &QComboBox::activated, this, &FrmTeacherSubject::CmbSubject_Click);
    connect(LvwClassSubject->header(), &QHeaderView::sectionClicked, this, [this](int k) {
        logic_.columnClick(k);
        showRows();
    });

    logic_.FillClassSubject();
    showRows();
    fillCombos();
    if (CmbTeacher->count() > 0) {
        CmbTeacher->setCurrentIndex(0);
        CmbTeacher_Click();
    }
    if (CmbSubject->count() > 0) {
        CmbSubject->setCurrentIndex(0);
        CmbSubject_Click();
    }
}

void FrmTeacherSubject::showRows()
{
    LvwClassSubject->setHeaderLabels(logic_.headers());
    ShowRows(LvwClassSubject, logic_.rows());
}

void FrmTeacherSubject::fillCombos()
{
    CmbTeacher->clear();
    for (const auto &t : logic_.teachersWithSubjectIds())
        CmbTeacher->addItem(t.first, t.second);
    CmbTeacher->setCurrentIndex(-1);
    CmbSubject->clear();
    CmbSubject->addItems(logic_.subjectsWithTeachers());
    CmbSubject->setCurrentIndex(-1);
}

void FrmTeacherSubject::cmdAssign_Click()
{
    QVector<int> teachers;
    for (int i = 0; i < LstClass->count(); ++i)
        if (LstClass->item(i)->isSelected())
            teachers << LstClass->item(i)->data(Qt::UserRole).toInt();
    const QString fix = logic_.assignByIds(teachers, SelectedTexts(LstSubject), cmbMostP->currentText(),
                                      cmbLeastP->currentText());
    if (fix == "cmbLeastP")
        cmbLeastP->setFocus();
    else if (fix == "cmbMostP")
        cmbMostP->setFocus();
    else
        fillCombos();
    showRows();
}

void FrmTeacherSubject::CmbRemove_Click()
{
    QVector<bool> sel = SelectedRows(LvwClassSubject);
    const bool done = logic_.remove(sel);
    showRows();
    for (int i = 0; i < sel.size() && i < LvwClassSubject->topLevelItemCount(); ++i)
        LvwClassSubject->topLevelItem(i)->setSelected(sel[i]);
    if (done)
        fillCombos();
}

void FrmTeacherSubject::CmbTeacher_Click()
{
    if (CmbTeacher->currentIndex() >= 0)
        ShowRows(LvwTeacher, logic_.teacherDetail(CmbTeacher->currentData().toInt()));
}

void FrmTeacherSubject::CmbSubject_Click()
{
    if (CmbSubject->currentIndex() >= 0)
        ShowRows(LvwSubject, logic_.subjectDetail(CmbSubject->currentText()));
}
