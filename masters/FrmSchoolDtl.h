#pragma once
// "School Information": the school's name, address, contact and logo, viewed and edited.
#include "SchoolDetails.h"

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

class FrmSchoolDtl : public QWidget {
    Q_OBJECT
public:
    explicit FrmSchoolDtl(QWidget *parent = nullptr);

    // Asks the user for a logo file; empty when cancelled. Tests replace the dialog here.
    using LogoChooser = std::function<QString(QWidget *parent)>;
    void setLogoChooser(LogoChooser chooser) { chooseLogo_ = std::move(chooser); }

    bool isEditing() const { return editing_; }
    // The logo path the next save stores.
    QString logoPath() const { return logoPath_; }
    // The record as the boxes show it now.
    SchoolRecord typedRecord() const;

public slots:
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void SchLogo_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setEditing(bool on);
    bool showLogo(const QString &path);

    QLineEdit *TxtName;
    QLineEdit *TxtAdd1;
    QLineEdit *TxtAdd2;
    QLineEdit *txtCity;
    QLineEdit *TxtState;
    QLineEdit *txtPhone;
    QLineEdit *TxtContactPerson;
    QLabel *SchLogo;
    QPushButton *Command1;
    QPushButton *Command2;

    SchoolDetails details_;
    QString logoPath_;
    bool editing_ = false;
    LogoChooser chooseLogo_;
};
