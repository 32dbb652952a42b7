#include "frmSubject.h"

#include "Platform.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QPushButton *pictureButton(QWidget *parent, const QString &name, QStyle::StandardPixmap icon,
                           const QString &tip)
{
    auto *b = new QPushButton(parent);
    b->setObjectName(name);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolTip(tip);
    b->setAccessibleName(name);
    return b;
}

QTreeWidget *listView(QWidget *parent, const QString &name, const QStringList &columns)
{
    auto *lv = new QTreeWidget(parent);
    lv->setObjectName(name);
    lv->setRootIsDecorated(false);
    lv->setHeaderLabels(columns);
    lv->setColumnWidth(0, 180);
    lv->setMinimumSize(300, 220);
    return lv;
}

} // namespace

frmSubject::frmSubject(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmSubject"));
    setWindowTitle(QStringLiteral("Subjects"));

    auto *grpFrame = new QGroupBox(QStringLiteral("Subject Group"), this);
    txtSubGrp = new QLineEdit(grpFrame);
    txtSubGrp->setObjectName(QStringLiteral("txtSubGrp"));
    cmdAdd = pictureButton(grpFrame, QStringLiteral("cmdAdd"), QStyle::SP_FileDialogNewFolder,
                           QStringLiteral("Click to Add the Subject Group to the List below"));
    cmdDelSubGrp = pictureButton(grpFrame, QStringLiteral("cmdDelSubGrp"), QStyle::SP_TrashIcon, QString());
    lvSubGrp = listView(grpFrame, QStringLiteral("lvSubGrp"),
                        {QStringLiteral("Subject Group"), QStringLiteral("Subject ID")});

    auto *titleFrame = new QGroupBox(QStringLiteral("Subject"), this);
    txtSubTitle = new QLineEdit(titleFrame);
    txtSubTitle->setObjectName(QStringLiteral("txtSubTitle"));
    cmdAddSubTitle = pictureButton(titleFrame, QStringLiteral("cmdAddSubTitle"), QStyle::SP_FileDialogNewFolder,
                                   QStringLiteral("Click to Add the Subject Title to the List below"));
    cmdDelSubTitle = pictureButton(titleFrame, QStringLiteral("cmdDelSubTitle"), QStyle::SP_TrashIcon, QString());
    lvSubTitle = listView(titleFrame, QStringLiteral("lvSubTitle"),
                          {QStringLiteral("Subject Title"), QStringLiteral("SubTypeID")});

    CmdShowAll = new QPushButton(QStringLiteral("&Show All"), this);
    CmdShowAll->setObjectName(QStringLiteral("CmdShowAll"));
    CmdExit = new QPushButton(QStringLiteral("E&xit"), this);
    CmdExit->setObjectName(QStringLiteral("CmdExit"));

    auto frameLayout = [](QGroupBox *frame, QLineEdit *box, QPushButton *add, QPushButton *del, QTreeWidget *lv) {
        auto *v = new QVBoxLayout(frame);
        auto *row = new QHBoxLayout;
        row->addWidget(box, 1);
        row->addWidget(add);
        row->addWidget(del);
        v->addLayout(row);
        v->addWidget(lv, 1);
    };
    frameLayout(grpFrame, txtSubGrp, cmdAdd, cmdDelSubGrp, lvSubGrp);
    frameLayout(titleFrame, txtSubTitle, cmdAddSubTitle, cmdDelSubTitle, lvSubTitle);

    auto *frames = new QHBoxLayout;
    frames->addWidget(grpFrame);
    frames->addWidget(titleFrame);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdShowAll);
    buttons->addWidget(CmdExit);
    auto *main = new QVBoxLayout(this);
    main->addLayout(frames, 1);
    main->addLayout(buttons);

    connect(cmdAdd, &QPushButton::clicked, this, &frmSubject::cmdAdd_Click);
    connect(cmdAddSubTitle, &QPushButton::clicked, this, &frmSubject::cmdAddSubTitle_Click);
    connect(cmdDelSubGrp, &QPushButton::clicked, this, &frmSubject::cmdDelSubGrp_Click);
    connect(cmdDelSubTitle, &QPushButton::clicked, this, &frmSubject::cmdDelSubTitle_Click);
    connect(CmdShowAll, &QPushButton::clicked, this, &frmSubject::CmdShowAll_Click);
    connect(CmdExit, &QPushButton::clicked, this, &frmSubject::CmdExit_Click);
    connect(lvSubGrp, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *i) { lvSubGrp_Click(i); });
    connect(lvSubTitle, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *i) { lvSubTitle_ItemClick(i); });
    connect(txtSubGrp, &QLineEdit::textChanged, this, &frmSubject::txtSubGrp_Change);
    connect(txtSubTitle, &QLineEdit::textChanged, this, &frmSubject::txtSubTitle_Change);
    txtSubGrp->installEventFilter(this);
    txtSubTitle->installEventFilter(this);
    lvSubTitle->installEventFilter(this);

    hx::NameControlsForAccessibility(this);

    // Form_Load
    Fill_LV_SubGrp();
    Fill_LV_SubTitle();
    cmdDelSubGrp->setEnabled(false);
    cmdDelSubTitle->setEnabled(false);
    subGrpId_ = 0;
}

bool frmSubject::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == txtSubGrp && !txtSubGrp->text().isEmpty()) {
                cmdAdd_Click();
                return true;
            }
            if ((watched == txtSubTitle && !txtSubTitle->text().isEmpty())
                || (watched == lvSubTitle && !txtSubGrp->text().isEmpty())) {
                cmdAddSubTitle_Click();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmSubject::fill(QTreeWidget *list, const QVector<SubjectItem> &rows)
{
    list->clear();
    for (const auto &r : rows)
        new QTreeWidgetItem(list, {r.text, QString::number(r.id)});
}

void frmSubject::Fill_LV_SubGrp() { fill(lvSubGrp, SubjectBook::allGroups()); }

void frmSubject::Match_SubGrp()
{
    // No match leaves the list as it was.
    const auto rows = SubjectBook::matchGroups(txtSubGrp->text());
    if (!rows.isEmpty())
        fill(lvSubGrp, rows);
}

void frmSubject::Fill_LV_SubTitle()
{
    if (txtSubGrp->text().isEmpty())
        fill(lvSubTitle, SubjectBook::allTitles());
    else
        Corres_SubTitle();
}

void frmSubject::Corres_SubTitle() { fill(lvSubTitle, SubjectBook::titlesOfGroup(subGrpId_)); }

void frmSubject::Match_SubTitle()
{
    const auto rows = SubjectBook::matchTitles(subGrpId_, txtSubTitle->text());
    if (!rows.isEmpty())
        fill(lvSubTitle, rows);
}

void frmSubject::cmdAdd_Click()
{
    if (txtSubGrp->text().isEmpty())
        return;
    SubjectBook::saveGroup(txtSubGrp->text());
    txtSubGrp->clear();
    Corres_SubTitle();
}

void frmSubject::cmdAddSubTitle_Click()
{
    if (txtSubGrp->text().isEmpty())
        return;
    SubjectBook::saveTitle(subGrpId_, txtSubTitle->text());
    txtSubTitle->clear();
    Fill_LV_SubTitle();
}

void frmSubject::cmdDelSubTitle_Click()
{
    const QTreeWidgetItem *item = lvSubTitle->currentItem();
    const QString text = item ? item->text(0) : txtSubTitle->text();
    const SubjectBook::Outcome outcome = SubjectBook::removeTitle(subTitleId_, text);
    if (outcome == SubjectBook::Outcome::Failed)
        return; // the error was shown; the choice stays for another try
    if (outcome == SubjectBook::Outcome::Saved) {
        // The deleted title can no longer be chosen.
        subTitleId_ = 0;
        cmdDelSubTitle->setEnabled(false);
    }
    Fill_LV_SubTitle();
    txtSubTitle->clear();
}

void frmSubject::cmdDelSubGrp_Click()
{
    const QTreeWidgetItem *item = lvSubGrp->currentItem();
    const QString text = item ? item->text(0) : txtSubGrp->text();
    const SubjectBook::Outcome outcome = SubjectBook::removeGroup(subGrpId_, text);
    if (outcome == SubjectBook::Outcome::Failed)
        return; // the error was shown; the choice stays for another try
    if (outcome == SubjectBook::Outcome::Saved) {
        subGrpId_ = 0;
        cmdDelSubGrp->setEnabled(false);
        subTitleId_ = 0;
        cmdDelSubTitle->setEnabled(false);
    }
    Fill_LV_SubGrp();
    Fill_LV_SubTitle();
    txtSubGrp->clear();
    txtSubTitle->clear();
}

void frmSubject::CmdShowAll_Click()
{
    txtSubGrp->clear();
    Fill_LV_SubTitle();
}

void frmSubject::CmdExit_Click() { hx::CloseWindow(this); }

void frmSubject::lvSubGrp_Click(QTreeWidgetItem *item)
{
    if (!item)
        return;
    // Skip only when the text really changes: otherwise no change reaction comes to clear the flag.
    if (txtSubGrp->text() != item->text(0)) {
        skipGrpChange_ = true;
        txtSubGrp->setText(item->text(0));
    }
    subGrpId_ = item->text(1).toInt();
    Corres_SubTitle();
    cmdDelSubGrp->setEnabled(true);
}

void frmSubject::lvSubTitle_ItemClick(QTreeWidgetItem *item)
{
    if (!item)
        return;
    if (txtSubTitle->text() != item->text(0)) {
        skipTitleChange_ = true;
        txtSubTitle->setText(item->text(0));
    }
    subTitleId_ = item->text(1).toInt();
    cmdDelSubTitle->setEnabled(true);
}

void frmSubject::txtSubGrp_Change()
{
    if (skipGrpChange_) {
        skipGrpChange_ = false;
        return;
    }
    if (txtSubGrp->text().isEmpty())
        Fill_LV_SubGrp();
    else
        Match_SubGrp();
}

void frmSubject::txtSubTitle_Change()
{
    if (skipTitleChange_) {
        skipTitleChange_ = false;
        return;
    }
    if (txtSubTitle->text().isEmpty())
        Fill_LV_SubTitle();
    else
        Match_SubTitle();
}
