#include "frmDefinePeriodSys.h"

#include "Platform.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QLabel *required(QWidget *parent)
{
    auto *l = new QLabel(QStringLiteral("*"), parent);
    l->setObjectName(QStringLiteral("LblRequired"));
    l->setStyleSheet(QStringLiteral("color: red;"));
    return l;
}

QLineEdit *numberBox(QWidget *parent, const QString &name, int maxLength)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    e->setMaximumWidth(60);
    return e;
}

QComboBox *oneToNine(QWidget *parent, const QString &name)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    for (int i = 1; i <= 9; ++i)
        c->addItem(QString::number(i));
    return c;
}

} // namespace

frmDefinePeriodSys::frmDefinePeriodSys(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmDefinePeriodSys"));
    setWindowTitle(QStringLiteral("Period System"));

    cmbPeriodSysName = new QComboBox(this);
    cmbPeriodSysName->setObjectName(QStringLiteral("cmbPeriodSysName"));
    cmbPeriodSysName->setEditable(true);
    cmbPeriodSysName->setInsertPolicy(QComboBox::NoInsert);
    // No completion: typing a new name that begins like an existing one must not turn into it.
    cmbPeriodSysName->setCompleter(nullptr);
    cmbPeriodSysName->setMinimumWidth(200);

    txtStHr = numberBox(this, QStringLiteral("txtStHr"), 2);
    txtStMin = numberBox(this, QStringLiteral("txtStMin"), 2);
    cmbAMPM = new QComboBox(this);
    cmbAMPM->setObjectName(QStringLiteral("cmbAMPM"));
    cmbAMPM->addItems({QStringLiteral("AM"), QStringLiteral("PM")});
    cmbPeriodNumber = oneToNine(this, QStringLiteral("cmbPeriodNumber"));
    txtPeriodDuration = numberBox(this, QStringLiteral("txtPeriodDuration"), 3);
    cmbPBeforeRec = oneToNine(this, QStringLiteral("cmbPBeforeRec"));
    txtRecDuration = numberBox(this, QStringLiteral("txtRecDuration"), 3);

    lvPSDetail = new QTreeWidget(this);
    lvPSDetail->setObjectName(QStringLiteral("lvPSDetail"));
    SetUpPeriodList(lvPSDetail);

    cmdSave = new QPushButton(QStringLiteral("&Save"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    CmdExit = new QPushButton(QStringLiteral("E&xit"), this);
    CmdExit->setObjectName(QStringLiteral("CmdExit"));
    CmdDelete = new QPushButton(QStringLiteral("&Delete"), this);
    CmdDelete->setObjectName(QStringLiteral("CmdDelete"));

    // Layout: the inputs on the left, the period list on the right, buttons below.
    auto *form = new QGridLayout;
    int row = 0;
    auto addRow = [&](const QString &caption, QWidget *field, QWidget *unit, bool req, const QString &labelName = {}) {
        auto *label = new QLabel(caption, this);
        if (!labelName.isEmpty())
            label->setObjectName(labelName);
        label->setBuddy(field);
        form->addWidget(label, row, 0);
        auto *h = new QHBoxLayout;
        h->addWidget(field);
        if (unit)
            h->addWidget(unit);
        if (req)
            h->addWidget(required(this));
        h->addStretch();
        form->addLayout(h, row, 1);
        ++row;
    };
    addRow(QStringLiteral("Period System Name"), cmbPeriodSysName, nullptr, true);

    auto *startFrame = new QGroupBox(QStringLiteral("Period System Start Time"), this);
    auto *startRow = new QHBoxLayout(startFrame);
    auto *hrs = new QLabel(QStringLiteral("Hrs."), startFrame);
    hrs->setBuddy(txtStHr);
    auto *mins = new QLabel(QStringLiteral("Min."), startFrame);
    mins->setBuddy(txtStMin);
    startRow->addWidget(hrs);
    startRow->addWidget(txtStHr);
    startRow->addWidget(mins);
    startRow->addWidget(txtStMin);
    startRow->addWidget(cmbAMPM);
    startRow->addWidget(required(startFrame));
    startRow->addStretch();
    form->addWidget(startFrame, row++, 0, 1, 2);

    addRow(QStringLiteral("Number of Periods/Day "), cmbPeriodNumber, nullptr, true, QStringLiteral("lblPnumber"));
    addRow(QStringLiteral("Period Duration"), txtPeriodDuration, new QLabel(QStringLiteral("min."), this), true);
    addRow(QStringLiteral("Periods before Recess"), cmbPBeforeRec, nullptr, true);
    addRow(QStringLiteral("Recess Duration"), txtRecDuration, new QLabel(QStringLiteral("min."), this), true);
    form->setRowStretch(row, 1);

    auto *top = new QHBoxLayout;
    top->addLayout(form);
    top->addWidget(lvPSDetail, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(CmdDelete);
    buttons->addWidget(CmdExit);

    auto *outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addLayout(buttons);
    resize(640, 330);

    connect(cmdSave, &QPushButton::clicked, this, &frmDefinePeriodSys::cmdSave_Click);
    connect(CmdDelete, &QPushButton::clicked, this, &frmDefinePeriodSys::CmdDelete_Click);
    connect(CmdExit, &QPushButton::clicked, this, &frmDefinePeriodSys::CmdExit_Click);
    connect(cmbPeriodSysName, &QComboBox::activated, this, &frmDefinePeriodSys::cmbPeriodSysName_Click);
    connect(cmbPeriodSysName, &QComboBox::editTextChanged, this, &frmDefinePeriodSys::cmbPeriodSysName_Change);
    txtStHr->installEventFilter(this);
    // Numbers typed or chosen by the user are unsaved work until they are saved or replaced.
    for (QLineEdit *e : {txtStHr, txtStMin, txtPeriodDuration, txtRecDuration})
        connect(e, &QLineEdit::textEdited, this, [this] { unsaved_ = true; });
    for (QComboBox *c : {cmbAMPM, cmbPeriodNumber, cmbPBeforeRec})
        connect(c, &QComboBox::activated, this, [this] { unsaved_ = true; });

    // Form_Load
    ClearFields();
    Fill_PSname_cmb();
}

bool frmDefinePeriodSys::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtStHr && event->type() == QEvent::FocusOut)
        txtStHr_LostFocus();
    return QWidget::eventFilter(watched, event);
}

PeriodSystemInput frmDefinePeriodSys::input() const
{
    PeriodSystemInput in;
    in.name = cmbPeriodSysName->currentText();
    in.hour = txtStHr->text();
    in.minute = txtStMin->text();
    in.amPm = cmbAMPM->currentText();
    in.periods = cmbPeriodNumber->currentText();
    in.duration = txtPeriodDuration->text();
    in.beforeRecess = cmbPBeforeRec->currentText();
    in.recessDuration = txtRecDuration->text();
    return in;
}

void frmDefinePeriodSys::cmdSave_Click()
{
    txtStHr_LostFocus(); // the hour is stored with two digits even if its box kept the focus
    PeriodSystemDefinition::Field faulty = PeriodSystemDefinition::Field::None;
    const auto result = PeriodSystemDefinition::Save(input(), &faulty);
    if (result == PeriodSystemDefinition::SaveResult::Invalid) {
        focusField(faulty);
        return;
    }
    // A refused or failed save keeps what the user typed.
    if (result != PeriodSystemDefinition::SaveResult::Updated && result != PeriodSystemDefinition::SaveResult::Added)
        return;
    const QString saved = cmbPeriodSysName->currentText();
    ClearFields();
    Fill_PSname_cmb();
    // The inputs are ready for the next system, while the list still shows the one just saved.
    if (const auto ps = FindPeriodSystem(saved))
        ShowPeriodTimes(lvPSDetail, ps->times());
}

void frmDefinePeriodSys::CmdDelete_Click()
{
    const QString name = cmbPeriodSysName->currentText();
    if (name.trimmed().isEmpty())
        return;
    if (hx::MsgBox(QStringLiteral("Are you sure you want to DELETE '") + name + QStringLiteral("' period system?"),
                   hx::MsgButtons::YesNo, hx::MsgIcon::Question, QStringLiteral("Period System"))
        != hx::MsgResult::Yes)
        return;
    // Del_PS
    const auto ps = FindPeriodSystem(name);
    if (ps && !PeriodSystemDefinition::Delete(ps->id))
        return; // the message was shown; the window keeps its state
    ClearFields();
    Fill_PSname_cmb();
}

void frmDefinePeriodSys::CmdExit_Click() { hx::CloseWindow(this); }

void frmDefinePeriodSys::cmbPeriodSysName_Click()
{
    const QString name = cmbPeriodSysName->currentText();
    // The box also takes a name typed into it as chosen; numbers typed before it are the
    // user's, and are replaced by the stored ones only when the user agrees.
    if (unsaved_ && FindPeriodSystem(name)
        && hx::MsgBox(QStringLiteral("Replace the values typed with those saved for period system '") + name.trimmed()
                          + QStringLiteral("'?"),
                      hx::MsgButtons::YesNo, hx::MsgIcon::Question, QStringLiteral("Period System"))
               != hx::MsgResult::Yes)
        return;
    chosenName_ = name;
    Fill_box_on_cmb_click();
}

void frmDefinePeriodSys::cmbPeriodSysName_Change(const QString &text)
{
    if (!text.trimmed().isEmpty())
        return;
    txtStHr->clear();
    txtStMin->clear();
    txtPeriodDuration->clear();
    txtRecDuration->clear();
    cmbPeriodNumber->setCurrentIndex(0);
    cmbPBeforeRec->setCurrentIndex(0);
    cmbAMPM->setCurrentIndex(0);
    periodSysId_ = 0;
    lvPSDetail->clear();
    unsaved_ = false;
}

void frmDefinePeriodSys::txtStHr_LostFocus() { txtStHr->setText(PeriodSystemDefinition::IncZero(txtStHr->text())); }

void frmDefinePeriodSys::ClearFields()
{
    cmbPeriodNumber->setCurrentIndex(0);
    cmbPBeforeRec->setCurrentIndex(0);
    cmbAMPM->setCurrentIndex(0);
    txtPeriodDuration->clear();
    txtRecDuration->clear();
    txtStHr->clear();
    txtStMin->clear();
    cmbPeriodSysName->setCurrentIndex(-1);
    cmbPeriodSysName->setEditText(QString());
    cmbPeriodSysName_Change(QString()); // also when the box was empty already
}

void frmDefinePeriodSys::Fill_PSname_cmb()
{
    const QString typed = cmbPeriodSysName->currentText();
    {
        const QSignalBlocker block(cmbPeriodSysName);
        cmbPeriodSysName->clear();
        cmbPeriodSysName->addItems(PeriodSystemNames(false));
        cmbPeriodSysName->setCurrentIndex(-1);
        cmbPeriodSysName->setEditText(typed);
    }
}

void frmDefinePeriodSys::Fill_box_on_cmb_click()
{
    const auto ps = FindPeriodSystem(chosenName_);
    if (!ps)
        return;
    periodSysId_ = ps->id;
    {
        const QSignalBlocker block(cmbPeriodSysName);
        cmbPeriodSysName->setEditText(ps->name);
    }
    cmbAMPM->setCurrentIndex(qMax(0, cmbAMPM->findText(ps->amPm, Qt::MatchFixedString)));
    const QStringList parts = ps->start.split(QLatin1Char(':'));
    txtStHr->setText(parts.value(0));
    txtStMin->setText(parts.value(1));
    cmbPeriodNumber->setCurrentIndex(cmbPeriodNumber->findText(QString::number(ps->periods)));
    txtPeriodDuration->setText(QString::number(ps->duration));
    cmbPBeforeRec->setCurrentIndex(cmbPBeforeRec->findText(QString::number(ps->beforeRecess)));
    txtRecDuration->setText(QString::number(ps->recessDuration));
    unsaved_ = false;
    Fill_lvPSDetail();
}

void frmDefinePeriodSys::Fill_lvPSDetail()
{
    const auto ps = FindPeriodSystem(cmbPeriodSysName->currentText());
    if (!ps)
        return;
    ShowPeriodTimes(lvPSDetail, ps->times());
}

void frmDefinePeriodSys::focusField(PeriodSystemDefinition::Field field)
{
    using F = PeriodSystemDefinition::Field;
    QWidget *w = nullptr;
    switch (field) {
    case F::Name: w = cmbPeriodSysName; break;
    case F::Hour: w = txtStHr; break;
    case F::Minute: w = txtStMin; break;
    case F::Periods: w = cmbPeriodNumber; break;
    case F::Duration: w = txtPeriodDuration; break;
    case F::BeforeRecess: w = cmbPBeforeRec; break;
    case F::RecessDuration: w = txtRecDuration; break;
    case F::None: break;
    }
    if (w)
        w->setFocus();
}
