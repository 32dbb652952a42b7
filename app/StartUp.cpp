#include "StartUp.h"

#include "FrmBkGround.h"
#include "MDISchedule.h"
#include "Platform.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString kUser = QStringLiteral("pilot");
}

// --- splash -----------------------------------------------------------------------------

frmSplash::frmSplash(int delayMs, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Horalux"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 90, 140));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 30, 40, 30);
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(HoraluxLogo(96));
    picture->setAlignment(Qt::AlignCenter);
    auto *product = new QLabel(QStringLiteral("Horalux"), this);
    product->setObjectName(QStringLiteral("lblProductName"));
    QFont big = product->font();
    big.setPointSize(36);
    big.setBold(true);
    product->setFont(big);
    product->setAlignment(Qt::AlignCenter);
    auto *version = new QLabel(QStringLiteral("Version 1.1"), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture);
    layout->addWidget(product);
    layout->addWidget(version);
    resize(420, 280);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(delayMs);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
    Timer1->start();
    if (QScreen *s = screen())
        move(s->geometry().center() - rect().center());
}

void frmSplash::Timer1_Timer()
{
    if (done_)
        return;
    done_ = true;
    Timer1->stop();
    auto *login = new FrmLogin;
    login->show();
    emit loginShown(login);
    close();
}

// A key or a click cuts the wait short and goes straight to the login.
void frmSplash::keyPressEvent(QKeyEvent *) { Timer1_Timer(); }
void frmSplash::mousePressEvent(QMouseEvent *) { Timer1_Timer(); }

// --- login ------------------------------------------------------------------------------

FrmLogin::FrmLogin(QWidget *parent) : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FrmLogin"));
    setWindowTitle(QStringLiteral("Login"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);

    auto *outer = new QFrame(this);
    outer->setFrameShape(QFrame::Box);
    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->addWidget(outer);
    auto *layout = new QGridLayout(outer);

    auto *image = new QLabel(outer);
    image->setObjectName(QStringLiteral("Image2"));
    image->setPixmap(HoraluxLogo(64));
    layout->addWidget(image, 0, 0, 3, 1, Qt::AlignTop);

    Frame2 = new QGroupBox(outer);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setStyleSheet(QStringLiteral("QGroupBox::title { color: #b00000; }"));
    auto *frameLayout = new QGridLayout(Frame2);
    auto *userLabel = new QLabel(QStringLiteral("&User Name:"), Frame2);
    userLabel->setObjectName(QStringLiteral("lblLabels_0"));
    auto *passLabel = new QLabel(QStringLiteral("&Password:"), Frame2);
    passLabel->setObjectName(QStringLiteral("lblLabels_1"));
    txtUserName = new QLineEdit(Frame2);
    txtUserName->setObjectName(QStringLiteral("txtUserName"));
    txtPassword = new QLineEdit(Frame2);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    userLabel->setBuddy(txtUserName);
    passLabel->setBuddy(txtPassword);
    frameLayout->addWidget(userLabel, 0, 0);
    frameLayout->addWidget(txtUserName, 0, 1);
    frameLayout->addWidget(passLabel, 1, 0);
    frameLayout->addWidget(txtPassword, 1, 1);
    ChkSaveUser = new QCheckBox(QStringLiteral("Remember My User Name"), Frame2);
    ChkSaveUser->setObjectName(QStringLiteral("ChkSaveUser"));
    frameLayout->addWidget(ChkSaveUser, 2, 1);
    layout->addWidget(Frame2, 0, 1);

    auto *buttons = new QHBoxLayout;
    cmdOK = new QPushButton(QStringLiteral("Login"), outer);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(QStringLiteral("Exit"), outer);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons, 1, 1);
    connect(cmdOK, &QPushButton::clicked, this, &FrmLogin::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmLogin::cmdCancel_Click);

    // The window sees every key before its controls: Enter anywhere means Login.
    for (QWidget *w : {static_cast<QWidget *>(txtUserName), static_cast<QWidget *>(txtPassword),
                       static_cast<QWidget *>(ChkSaveUser), static_cast<QWidget *>(cmdOK),
                       static_cast<QWidget *>(cmdCancel)})
        w->installEventFilter(this);

    hx::NameControlsForAccessibility(this);
    resize(440, 190);
    if (QScreen *s = screen()) {
        const QRect g = s->geometry();
        move(g.width() / 2 - width() / 2, g.height() / 2 - height() / 2);
    }
}

void FrmLogin::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    txtUserName->setFocus();
}

bool FrmLogin::eventFilter(QObject *watched, QEvent *event)
{
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cmdOK_Click();
            return true;
        }
    } else if (edit && event->type() == QEvent::FocusIn) {
        QTimer::singleShot(0, edit, [edit] { edit->setSelection(0, edit->text().size()); });
    } else if (edit && event->type() == QEvent::FocusOut) {
        edit->setText(edit->text().toUpper());
    }
    return QWidget::eventFilter(watched, event);
}

void FrmLogin::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        cmdOK_Click();
    else
        QWidget::keyPressEvent(event);
}

void FrmLogin::cmdOK_Click()
{
    if (txtUserName->text().toLower() != kUser) {
        Frame2->setTitle(QStringLiteral("Invalid User Name"));
        txtUserName->setFocus();
    } else if (txtPassword->text().toLower() != kUser) {
        Frame2->setTitle(QStringLiteral("Invalid Password"));
        txtPassword->setFocus();
    } else {
        loggedIn_ = true;
        main_ = ShowMainWindow();
        close();
        return;
    }
    ++LoginAttempts;
    if (LoginAttempts >= 3) {
        hx::MsgBox(QStringLiteral("Sorry! You dont have rights to load software"), hx::MsgButtons::Ok,
                   hx::MsgIcon::Critical);
        ending_ = true;
        hx::EndProgram(1);
    }
}

void FrmLogin::cmdCancel_Click()
{
    ending_ = true;
    hx::EndProgram(0);
}

void FrmLogin::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    // Closed by the window system (Alt+F4) before a login: nothing else is left to run.
    if (!loggedIn_ && !ending_) {
        ending_ = true;
        hx::EndProgram(0);
    }
}

MDISchedule *FrmLogin::mainWindow() const { return main_; }

MDISchedule *ShowMainWindow()
{
    auto *main = new MDISchedule;
    if (!main->MDIForm_Load()) {
        delete main;
        return nullptr;
    }
    main->setAttribute(Qt::WA_DeleteOnClose);
    main->showMaximized();
    return main;
}
