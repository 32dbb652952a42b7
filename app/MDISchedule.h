#pragma once
#include <QHash>
#include <QMainWindow>

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QAction;
class FrmBkGround;

// The main window: owner of the menu; every task window lives inside it.
class MDISchedule : public QMainWindow {
    Q_OBJECT
public:
    explicit MDISchedule(QWidget *parent = nullptr);
    ~MDISchedule() override;

    // Registers the data source and opens the database. On failure the user has been told
    // and the program asked to end; returns false then.
    bool MDIForm_Load();

    // Opens the window of a menu entry, or brings it forward when it is open already.
    QWidget *openChild(const QString &menuName);
    QWidget *openWindowNamed(const QString &windowName) const;
    QList<QWidget *> childWindows() const;
    QMdiArea *mdiArea() const { return area_; }
    FrmBkGround *background() const { return background_; }
    QAction *menuAction(const QString &name) const;

    static MDISchedule *instance();

public slots:
    void MnuExt_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool confirmExit();
    void buildMenu();
    void fillWindowsMenu();
    void MDIForm_Activate();

    QMdiArea *area_ = nullptr;
    FrmBkGround *background_ = nullptr;
    QMenu *windowsMenu_ = nullptr;
    QHash<QString, QAction *> actions_;
    bool exiting_ = false;
};
