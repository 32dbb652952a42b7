#pragma once
#include <QPointer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QGroupBox;
class QCheckBox;
class QPushButton;
class QTimer;
class MDISchedule;

// The first window: shows for a while, then hands over to the login.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(int delayMs = 6000, QWidget *parent = nullptr);
    QTimer *timer() const { return Timer1; }

signals:
    void loginShown(QWidget *login);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void Timer1_Timer();
    QTimer *Timer1;
    bool done_ = false;
};

class FrmLogin : public QWidget {
    Q_OBJECT
public:
    explicit FrmLogin(QWidget *parent = nullptr);
    int loginAttempts() const { return LoginAttempts; }
    MDISchedule *mainWindow() const;

    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool loggedIn_ = false;
    bool ending_ = false;
    QLineEdit *txtUserName;
    QLineEdit *txtPassword;
    QGroupBox *Frame2;
    QCheckBox *ChkSaveUser;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;
    quint16 LoginAttempts = 0;
    QPointer<MDISchedule> main_;
};

// Creates the main window, opens the database and shows it; nullptr when start-up failed
// (the user has been told and the program asked to end).
MDISchedule *ShowMainWindow();
