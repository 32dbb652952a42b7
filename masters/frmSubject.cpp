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
    // Moving through a list with the keys chooses the highlighted item as a click does, so
    // the item a delete acts on is always the one that is highlighted.
    for (QTreeWidget *list : {lvSubGrp, lvSubTitle}) {
        connect(list, &QTreeWidget::itemSelectionChanged, this, [this, list] {
            const auto sel = list->selectedItems();
            if (sel.isEmpty())
                clearChoice(list);
            else if (sel.first()->text(1).toInt() != chosenId(list))
                list == lvSubGrp ? lvSubGrp_Click(sel.first()) : lvSubTitle_ItemClick(sel.first());
        });
    }
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
    {
        const QSignalBlocker block(list);
        list->clear();
        for (const auto &r : rows)
            new QTreeWidgetItem(list, {r.text, QString::number(r.id)});
    }
    // A refilled list has nothing chosen: the old choice may not even be on show any more.
    clearChoice(list);
}

int &frmSubject::chosenId(QTreeWidget *list) { return list == lvSubGrp ? subGrpId_ : subTitleId_; }

void frmSubject::clearChoice(QTreeWidget *list)
{
    chosenId(list) = 0;
    (list == lvSubGrp ? cmdDelSubGrp : cmdDelSubTitle)->setEnabled(false);
    const QSignalBlocker block(list);
    list->clearSelection();
    list->setCurrentItem(nullptr);
}

// The chosen item of a list: the highlighted one, when the window's choice is that item.
static QTreeWidgetItem *chosenItem(QTreeWidget *list, int chosenId)
{
    QTreeWidgetItem *item = list->currentItem();
    if (!item || !item->isSelected() || chosenId <= 0 || item->text(1).toInt() != chosenId)
        return nullptr;
    return item;
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

void frmSubject::chooseGroup(int subid)
{
    for (int i = 0; i < lvSubGrp->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = lvSubGrp->topLevelItem(i);
        if (item->text(1).toInt() == subid) {
            // Highlighted and chosen; the box stays empty for the next group's name.
            {
                const QSignalBlocker block(lvSubGrp);
                lvSubGrp->setCurrentItem(item);
            }
            subGrpId_ = subid;
            cmdDelSubGrp->setEnabled(true);
            return;
        }
    }
}

void frmSubject::cmdAdd_Click()
{
    if (txtSubGrp->text().isEmpty())
        return;
    int id = 0;
    if (SubjectBook::saveGroup(txtSubGrp->text(), &id) != SubjectBook::Outcome::Saved) {
        txtSubGrp->setFocus(); // the typed name stays to be put right
        return;
    }
    txtSubGrp->clear();
    // The new group is the one chosen, so its titles show and a delete names it.
    chooseGroup(id);
    Corres_SubTitle();
}

void frmSubject::cmdAddSubTitle_Click()
{
    if (txtSubGrp->text().isEmpty())
        return;
    if (SubjectBook::saveTitle(subGrpId_, txtSubTitle->text()) == SubjectBook::Outcome::Duplicate) {
        txtSubTitle->setFocus();
        return;
    }
    txtSubTitle->clear();
    Fill_LV_SubTitle();
}

void frmSubject::cmdDelSubTitle_Click()
{
    QTreeWidgetItem *item = chosenItem(lvSubTitle, subTitleId_);
    if (!item) {
        clearChoice(lvSubTitle);
        return;
    }
    const SubjectBook::Outcome outcome = SubjectBook::removeTitle(subTitleId_, item->text(0));
    if (outcome != SubjectBook::Outcome::Saved)
        return; // refused, answered No or failed: the choice stays on show
    Fill_LV_SubTitle();
    txtSubTitle->clear();
}

void frmSubject::cmdDelSubGrp_Click()
{
    QTreeWidgetItem *item = chosenItem(lvSubGrp, subGrpId_);
    if (!item) {
        clearChoice(lvSubGrp);
        return;
    }
    const SubjectBook::Outcome outcome = SubjectBook::removeGroup(subGrpId_, item->text(0));
    if (outcome != SubjectBook::Outcome::Saved)
        return; // refused, answered No or failed: the choice stays on show
    {
        const QSignalBlocker block(txtSubGrp);
        txtSubGrp->clear();
    }
    {
        const QSignalBlocker block(txtSubTitle);
        txtSubTitle->clear();
    }
    Fill_LV_SubGrp();
    Fill_LV_SubTitle();
}

void frmSubject::CmdShowAll_Click()
{
    txtSubGrp->clear();
    clearChoice(lvSubGrp);
    Fill_LV_SubTitle();
}

void frmSubject::CmdExit_Click() { hx::CloseWindow(this); }

void frmSubject::lvSubGrp_Click(QTreeWidgetItem *item)
{
    if (!item)
        return;
    {
        const QSignalBlocker block(lvSubGrp);
        lvSubGrp->setCurrentItem(item);
    }
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
    {
        const QSignalBlocker block(lvSubTitle);
        lvSubTitle->setCurrentItem(item);
    }
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
    clearChoice(lvSubGrp); // the box no longer names the chosen group
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
    clearChoice(lvSubTitle);
    if (txtSubTitle->text().isEmpty())
        Fill_LV_SubTitle();
    else
        Match_SubTitle();
}
