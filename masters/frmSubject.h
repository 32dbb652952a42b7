#pragma once
// "Subjects": subject groups and, under each, the subject titles.
#include "SubjectBook.h"

#include <QWidget>

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class frmSubject : public QWidget {
    Q_OBJECT
public:
    explicit frmSubject(QWidget *parent = nullptr);

    int selectedGroupId() const { return subGrpId_; }
    int selectedTitleId() const { return subTitleId_; }

public slots:
    void cmdAdd_Click();
    void cmdAddSubTitle_Click();
    void cmdDelSubGrp_Click();
    void cmdDelSubTitle_Click();
    void CmdShowAll_Click();
    void CmdExit_Click();
    void lvSubGrp_Click(QTreeWidgetItem *item);
    void lvSubTitle_ItemClick(QTreeWidgetItem *item);
    void txtSubGrp_Change();
    void txtSubTitle_Change();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Fill_LV_SubGrp();
    void Match_SubGrp();
    void Fill_LV_SubTitle();
    void Corres_SubTitle();
    void Match_SubTitle();
    void fill(QTreeWidget *list, const QVector<SubjectItem> &rows);
    // The id chosen in the list (group or title), and taking that choice away.
    int &chosenId(QTreeWidget *list);
    void clearChoice(QTreeWidget *list);
    void chooseGroup(int subid);

    QLineEdit *txtSubGrp;
    QLineEdit *txtSubTitle;
    QPushButton *cmdAdd;
    QPushButton *cmdDelSubGrp;
    QPushButton *cmdAddSubTitle;
    QPushButton *cmdDelSubTitle;
    QTreeWidget *lvSubGrp;
    QTreeWidget *lvSubTitle;
    QPushButton *CmdShowAll;
    QPushButton *CmdExit;

    int subGrpId_ = 0;
    int subTitleId_ = 0;
    bool skipGrpChange_ = false;
    bool skipTitleChange_ = false;
};
