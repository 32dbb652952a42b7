#include "FrmClassSubject.h"

#include "Platform.h"
#include "Widgets.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QValueAxis>

#include "Charts.h"

FrmClassSubject::FrmClassSubject()
{
    setObjectName("FrmClassSubject");
    setWindowTitle("Assign Subjects to Class");
    auto *tabs = new QTabWidget;
    tabs->setObjectName("SSTab1");
    auto *page1 = new QWidget;
    auto *g = new QGridLayout(page1);
    LstClass = MultiList("LstClass", logic_.classList());
    LstSubject = MultiList("LstSubject", logic_.subjectList());
    TxtHrs = new QLineEdit;
    TxtHrs->setObjectName("TxtHrs");
    cmbSubLevel = Levels("cmbSubLevel");
    cmbSubLevel->setCurrentIndex(0);
    auto *assign = new QPushButton("&Assign ");
    assign->setObjectName("cmdAssign");
    auto *remove = new QPushButton("&Remove");
    remove->setObjectName("CmbRemove");
    LvwClassSubject = ListView("LvwClassSubject", logic_.headers(), true);
    g->addWidget(new QLabel("Classes"), 0, 0);
    g->addWidget(new QLabel("Subjects"), 0, 1);
    g->addWidget(LstClass, 1, 0, 4, 1);
    g->addWidget(LstSubject, 1, 1, 4, 1);
    g->addWidget(new QLabel("Periods/     Week"), 1, 2);
    g->addWidget(TxtHrs, 1, 3);
    g->addWidget(new QLabel("Level"), 2, 2);
    g->addWidget(cmbSubLevel, 2, 3);
    g->addWidget(assign, 3, 2);
    g->addWidget(remove, 3, 3);
    g->addWidget(new QLabel("Subjects Assigned to Classes"), 5, 0, 1, 4);
    g->addWidget(LvwClassSubject, 6, 0, 1, 4);
    tabs->addTab(page1, "Assign Subjects to class");

    auto *page2 = new QWidget;
    auto *g2 = new QGridLayout(page2);
    CmbClass = new QComboBox;
    CmbClass->setObjectName("CmbClass");
    MSChart1 = new QChartView;
    MSChart1->setObjectName("MSChart1");
    g2->addWidget(new QLabel("Class"), 0, 0);
    g2->addWidget(CmbClass, 0, 1);
    g2->addWidget(MSChart1, 1, 0, 1, 3);
    tabs->addTab(page2, "Class Subject Detail");

    MSChart2 = new QChartView;
    MSChart2->setObjectName("MSChart2");
    tabs->addTab(MSChart2, "Subject Count in Classes");

    auto *exit = new QPushButton("E&xit");
    exit->setObjectName("CmdExit");
    auto *v = new QVBoxLayout(this);
    v->addWidget(tabs);
    v->addWidget(exit, 0, Qt::AlignRight);

    connect(assign, &QPushButton::clicked, this, &FrmClassSubject::cmdAssign_Click);
    connect(remove, &QPushButton::clicked, this, &FrmClassSubject::CmbRemove_Click);
    connect(exit, &QPushButton::clicked, this, [this] { hx::CloseWindow(this); });
    connect(CmbClass, &QComboBox::activated, this, &FrmClassSubject::CmbClass_Click);
    connect(LvwClassSubject->header(), &QHeaderView::sectionClicked, this, [this](int k) {
        logic_.columnClick(k);
        showRows();
    });

    logic_.FillClassSubject();
    showRows();
    fillClassCombo();
    FillSubjectCount();
}

void FrmClassSubject::showRows()
{
    LvwClassSubject->setHeaderLabels(logic_.headers());
    ShowRows(LvwClassSubject, logic_.rows());
}

void FrmClassSubject::fillClassCombo()
{
    CmbClass->clear();
    for (const auto &c : logic_.classesWithSubjects())
        CmbClass->addItem(c.first, c.second);
    if (CmbClass->count() > 0) {
        CmbClass->setCurrentIndex(0);
        CmbClass_Click();
    }
}

void FrmClassSubject::FillSubjectCount()
{
    const auto data = logic_.subjectCount();
    if (!data.isEmpty())
        hx::ShowBars(MSChart2, data, "Subjects", "Classes", "Subject Count", true);
}

void FrmClassSubject::cmdAssign_Click()
{
    if (!logic_.assign(SelectedTexts(LstClass), SelectedTexts(LstSubject), TxtHrs->text(),
                       cmbSubLevel->currentText()))
        return;
    showRows();
    fillClassCombo();
    FillSubjectCount();
}

void FrmClassSubject::CmbRemove_Click()
{
    QVector<bool> sel = SelectedRows(LvwClassSubject);
    logic_.remove(sel);
    showRows();
    for (int i = 0; i < sel.size() && i < LvwClassSubject->topLevelItemCount(); ++i)
        LvwClassSubject->topLevelItem(i)->setSelected(sel[i]);
}

void FrmClassSubject::CmbClass_Click()
{
    if (CmbClass->currentIndex() < 0)
        return;
    const auto data = logic_.classDetail(CmbClass->currentData().toInt());
    MSChart1->setVisible(!data.isEmpty());
    if (!data.isEmpty())
        hx::ShowBars(MSChart1, data, "Periods", "Subjects", "Periods", true);
}
