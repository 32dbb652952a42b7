#pragma once
// The few things every window needs from the desktop: message boxes through one seam,
// the end of the program, child-window plumbing, twips and the busy cursor.
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

#include <QObject>

namespace hx {

// Program-wide news between windows that never call one another.
class AppEvents : public QObject {
    Q_OBJECT
public:
    static AppEvents *instance();
signals:
    void schoolDetailsChanged(); // the school's name, address or logo were saved
};

enum class MsgButtons { Ok, YesNo, OkCancel };
enum class MsgIcon { None, Information, Question, Exclamation, Critical };
enum class MsgResult { Ok, Cancel, Yes, No };

inline const QString AppTitle = QStringLiteral("Horalux");

struct ShownMessage {
    QString text;
    QString title;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
};

// Shows a message and returns the button pressed. An empty title means the application's.
MsgResult MsgBox(const QString &text, MsgButtons buttons = MsgButtons::Ok,
                 MsgIcon icon = MsgIcon::None, const QString &title = QString());

// Replaces the real message box (tests answer questions and read messages here).
// Passing an empty function restores the real box.
using MsgHandler = std::function<MsgResult(const ShownMessage &)>;
void SetMsgBoxHandler(MsgHandler handler);

// Ends the program with the given exit status. Callers return right after calling it.
using EndHandler = std::function<void(int)>;
void EndProgram(int exitCode);
void SetEndHandler(EndHandler handler);

// Positions the old forms gave in twips; 15 twips to a pixel at 96 dpi.
int Twips(int twips);

// Child windows are opened by the main window only; other windows ask through here
// with the menu entry's name. Returns the window (new or brought forward) or nullptr.
using WindowOpener = std::function<QWidget *(const QString &menuName)>;
void SetWindowOpener(WindowOpener opener);
QWidget *OpenWindow(const QString &menuName);

// Runs a report template (a file name in the reports folder) with a record-selection
// formula such as "{classsection.classid} = 12"; the report component installs the runner.
using ReportRunner = std::function<void(const QString &templateFile, const QString &selection)>;
void SetReportRunner(ReportRunner runner);
void RunReport(const QString &templateFile, const QString &selection = QString());

// Closes a child window together with the frame the main window gave it.
void CloseWindow(QWidget *window);

// Caption of a widget as the user reads it: a label's or button's text, a window's title.
QString Caption(const QWidget *w);
void SetCaption(QWidget *w, const QString &caption);

// Busy pointer for the life of the guard; restored on every way out.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

// Gives every labelled control the text of its label as accessible name (labels with a
// buddy), and every button or check box its caption, so assistive tools can find them.
void NameControlsForAccessibility(QWidget *window);

} // namespace hx
