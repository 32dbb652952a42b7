#include "Platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QRegularExpression>
#include <QWidget>
#include <cmath>

namespace hx {
namespace {
MsgHandler &msgHandler()
{
    static MsgHandler h;
    return h;
}
EndHandler &endHandler()
{
    static EndHandler h;
    return h;
}
WindowOpener &windowOpener()
{
    static WindowOpener o;
    return o;
}

ReportRunner &reportRunner()
{
    static ReportRunner r;
    return r;
}

MsgResult showRealBox(const ShownMessage &m)
{
    QMessageBox box;
    box.setWindowTitle(m.title);
    box.setText(m.text);
    box.setAccessibleName(m.title);
    box.setAccessibleDescription(m.text);
    switch (m.icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    switch (m.buttons) {
    case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    case QMessageBox::Cancel: return MsgResult::Cancel;
    default: return m.buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Ok;
    }
}
} // namespace

MsgResult MsgBox(const QString &text, MsgButtons buttons, MsgIcon icon, const QString &title)
{
    const ShownMessage m{text, title.isEmpty() ? AppTitle : title, buttons, icon};
    if (msgHandler())
        return msgHandler()(m);
    return showRealBox(m);
}

void SetMsgBoxHandler(MsgHandler handler) { msgHandler() = std::move(handler); }

void EndProgram(int exitCode)
{
    if (endHandler()) {
        endHandler()(exitCode);
        return;
    }
    // Windows still open must not keep the loop alive, nor ask anything on the way out.
    QCoreApplication::exit(exitCode);
}

void SetEndHandler(EndHandler handler) { endHandler() = std::move(handler); }

AppEvents *AppEvents::instance()
{
    static AppEvents events;
    return &events;
}

int Twips(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

void SetWindowOpener(WindowOpener opener) { windowOpener() = std::move(opener); }

QWidget *OpenWindow(const QString &menuName)
{
    return windowOpener() ? windowOpener()(menuName) : nullptr;
}

void SetReportRunner(ReportRunner runner) { reportRunner() = std::move(runner); }

void RunReport(const QString &templateFile, const QString &selection)
{
    if (reportRunner())
        reportRunner()(templateFile, selection);
    else
        MsgBox(QStringLiteral("Reports cannot be printed: the report component is missing."));
}

void CloseWindow(QWidget *window)
{
    if (!window)
        return;
    if (auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
        frame->close();
    else
        window->close();
}

QString Caption(const QWidget *w)
{
    if (auto *l = qobject_cast<const QLabel *>(w))
        return l->text();
    if (auto *b = qobject_cast<const QAbstractButton *>(w))
        return b->text();
    if (auto *g = qobject_cast<const QGroupBox *>(w))
        return g->title();
    return w ? w->windowTitle() : QString();
}

void SetCaption(QWidget *w, const QString &caption)
{
    if (auto *l = qobject_cast<QLabel *>(w))
        l->setText(caption);
    else if (auto *b = qobject_cast<QAbstractButton *>(w))
        b->setText(caption);
    else if (auto *g = qobject_cast<QGroupBox *>(w))
        g->setTitle(caption);
    else if (w)
        w->setWindowTitle(caption);
}

BusyCursor::BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
BusyCursor::~BusyCursor() { QApplication::restoreOverrideCursor(); }

static QString withoutMnemonic(QString s)
{
    s.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    s.remove(QLatin1Char('&'));
    s.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    s.remove(QRegularExpression(QStringLiteral("[:*]+\\s*$")));
    return s.trimmed();
}

void NameControlsForAccessibility(QWidget *window)
{
    if (!window)
        return;
    for (QLabel *label : window->findChildren<QLabel *>()) {
        QWidget *buddy = label->buddy();
        if (buddy && buddy->accessibleName().isEmpty())
            buddy->setAccessibleName(withoutMnemonic(label->text()));
    }
    for (QAbstractButton *b : window->findChildren<QAbstractButton *>()) {
        if (b->accessibleName().isEmpty() && !b->text().isEmpty())
            b->setAccessibleName(withoutMnemonic(b->text()));
    }
}

} // namespace hx
