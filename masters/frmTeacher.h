#pragma once
// "Teachers' Details": one teacher at a time beside the list of all teachers.
#include "TeacherRegister.h"

#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

class frmTeacher : public QWidget {
    Q_OBJECT
public:
    explicit frmTeacher(QWidget *parent = nullptr);
    ~frmTeacher() override;

    using PhotoChooser = std::function<QString(QWidget *parent)>;
    void setPhotoChooser(PhotoChooser chooser) { choosePhoto_ = std::move(chooser); }
    bool isEditing() const { return editing_; }
    TeacherRecord typedRecord() const;

public slots:
    void cmdSave_Click();
    void CmdDelete_Click();
    void cmdCancel_Click();
    void cmbPrevious_Click();
    void cmdNext_Click();
    void ImgPhoto_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void ClearFields();
    void Fill_Teacher_List();
    void Fill_Boxes(int teacherid);
    void loadSelected();
    void uniqueID();
    void showPhoto(const QString &path);
    void cmbMaritalStatus_Change();
    void setCancelCaption(bool cancel);

    QLineEdit *txtUniqueID, *txtTeacherName, *txtShortName, *TxtDesig, *txtAdd, *txtCity, *txtPhone,
        *txtEmail, *txtReligion, *TxtHusband, *txtFatherName, *txtMotherName, *txtMotherT, *txtRemarks;
    QComboBox *cmbGender, *cmbState, *cmbBloodgroup, *cmbMaritalStatus;
    QDateEdit *dtpDOJ, *dtpDOB, *DtpMarDt;
    QCheckBox *chkMarDt;
    QGroupBox *Frame1, *Frame6;
    QLabel *ImgPhoto;
    QTreeWidget *lvTeacherList;
    QPushButton *cmdSave, *CmdDelete, *cmbPrevious, *cmdNext, *cmdCancel;

    bool editing_ = false;
    int teacherid_ = 0;
    QString photoPath_;
    PhotoChooser choosePhoto_;
};
