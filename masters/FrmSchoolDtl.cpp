#include "FrmSchoolDtl.h"

#include "Platform.h"

#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString PickLogoFile(QWidget *parent)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Select Logo"), QString(),
                                        QStringLiteral("Pictures (*.bmp *.jpg);;All Files (*)"));
}

} // namespace

FrmSchoolDtl::FrmSchoolDtl(QWidget *parent) : QWidget(parent), chooseLogo_(PickLogoFile)
{
    setObjectName(QStringLiteral("FrmSchoolDtl"));
    setWindowTitle(QStringLiteral("School Information"));

    auto *grid = new QGridLayout;
    int row = 0;
    auto addField = [&](const QString &name, const QString &caption, bool required) {
        auto *box = new QLineEdit(this);
        box->setObjectName(name);
        box->setMinimumWidth(260);
        auto *label = new QLabel(caption, this);
        label->setObjectName(QStringLiteral("lbl") + name.mid(3));
        label->setBuddy(box);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        if (required) {
            auto *star = new QLabel(QStringLiteral("*"), this);
            star->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
            grid->addWidget(star, row, 2);
        }
        ++row;
        return box;
    };
    TxtName = addField(QStringLiteral("TxtName"), QStringLiteral("School Name"), true);
    TxtAdd1 = addField(QStringLiteral("TxtAdd1"), QStringLiteral("Address Line 1"), true);
    TxtAdd2 = addField(QStringLiteral("TxtAdd2"), QStringLiteral("Address Line 2"), false);
    txtCity = addField(QStringLiteral("txtCity"), QStringLiteral("City"), true);
    TxtState = addField(QStringLiteral("TxtState"), QStringLiteral("State"), false);
    txtPhone = addField(QStringLiteral("txtPhone"), QStringLiteral("Phone No."), false);
    TxtContactPerson = addField(QStringLiteral("TxtContactPerson"), QStringLiteral("Contact Person"), false);

    SchLogo = new QLabel(this);
    SchLogo->setObjectName(QStringLiteral("SchLogo"));
    SchLogo->setFixedSize(150, 150);
    SchLogo->setAlignment(Qt::AlignCenter);
    SchLogo->setFrameShape(QFrame::StyledPanel);
    SchLogo->setAccessibleName(QStringLiteral("Logo"));
    SchLogo->installEventFilter(this);
    grid->addWidget(SchLogo, 0, 3, row, 1, Qt::AlignTop);
    grid->setColumnStretch(1, 1);

    Command1 = new QPushButton(QStringLiteral("&Edit"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("E&xit"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);

    auto *outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addStretch();
    outer->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, &FrmSchoolDtl::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FrmSchoolDtl::Command2_Click);

    hx::NameControlsForAccessibility(this);
    Form_Load();
}

void FrmSchoolDtl::Form_Load()
{
    details_.load();
    const SchoolRecord &r = details_.record();
    TxtName->setText(r.name);
    TxtAdd1->setText(r.add1);
    TxtAdd2->setText(r.add2);
    txtCity->setText(r.city);
    TxtState->setText(r.state);
    txtPhone->setText(r.phone);
    TxtContactPerson->setText(r.contactPerson);
    logoPath_ = r.logoPath;
    // A stored logo that has gone missing shows no picture; the path is kept all the same.
    showLogo(logoPath_);
    setEditing(false);
}

SchoolRecord FrmSchoolDtl::typedRecord() const
{
    SchoolRecord r;
    r.name = TxtName->text();
    r.add1 = TxtAdd1->text();
    r.add2 = TxtAdd2->text();
    r.city = txtCity->text();
    r.state = TxtState->text();
    r.phone = txtPhone->text();
    r.contactPerson = TxtContactPerson->text();
    r.logoPath = logoPath_;
    return r;
}

void FrmSchoolDtl::setEditing(bool on)
{
    editing_ = on;
    for (QLineEdit *box : {TxtName, TxtAdd1, TxtAdd2, txtCity, TxtState, txtPhone, TxtContactPerson})
        box->setEnabled(on);
    Command1->setText(on ? QStringLiteral("&Save") : QStringLiteral("&Edit"));
    SchLogo->setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
    SchLogo->setToolTip(on ? QStringLiteral("Click to choose the logo") : QString());
}

void FrmSchoolDtl::Command1_Click()
{
    if (!editing_) {
        setEditing(true);
        TxtName->setFocus();
        return;
    }

    const SchoolRecord r = typedRecord();
    const SchoolDetails::Field missing = SchoolDetails::Validate(r);
    if (missing != SchoolDetails::Field::None) {
        hx::MsgBox(SchoolDetails::Message(missing));
        switch (missing) {
        case SchoolDetails::Field::Name: TxtName->setFocus(); break;
        case SchoolDetails::Field::Add1: TxtAdd1->setFocus(); break;
        case SchoolDetails::Field::City: txtCity->setFocus(); break;
        case SchoolDetails::Field::None: break;
        }
        return;
    }

    // A failed save has shown its error; the typed details stay in the boxes to try again.
    if (details_.save(r))
        setEditing(false);
}

void FrmSchoolDtl::Command2_Click() { hx::CloseWindow(this); }

void FrmSchoolDtl::SchLogo_Click()
{
    if (!editing_ || !chooseLogo_)
        return;
    const QString file = chooseLogo_(this);
    if (file.isEmpty())
        return;
    if (!showLogo(file)) {
        hx::MsgBox(QStringLiteral("Invalid picture"));
        showLogo(logoPath_);
        return;
    }
    logoPath_ = file;
}

bool FrmSchoolDtl::showLogo(const QString &path)
{
    SchLogo->clear();
    if (path.isEmpty())
        return true;
    QPixmap picture;
    if (!QFileInfo(path).isFile() || !picture.load(path))
        return false;
    SchLogo->setPixmap(picture.scaled(SchLogo->size() - QSize(4, 4), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    return true;
}

bool FrmSchoolDtl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == SchLogo && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        SchLogo_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
