#include "TimetableShared.h"

#include "Platform.h"

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <memory>
#include <QPalette>
#include <QToolTip>

std::array<QString, tt::kCells> FreeTeacherList{};

namespace tt {

QString PeriodRoman(int period)
{
    static const char *roman[] = {"I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"};
    return period >= 0 && period < kPeriods ? QString::fromLatin1(roman[period]) : QString();
}

QString DayCaption(int day)
{
    static const char *days[] = {"MON", "TUE", "WED", "THU", "FRI", "SAT"};
    return day >= 0 && day < kDays ? QStringLiteral("        ") + QString::fromLatin1(days[day]) : QString();
}

QStringList SplitCaption(const QString &caption)
{
    return caption.isEmpty() ? QStringList() : caption.split(kCR);
}

QString JoinCaption(const QStringList &lines) { return lines.join(kCR); }

QColor ColSelected() { return QToolTip::palette().color(QPalette::ToolTipBase); }
QColor ColFree() { return QColor(255, 192, 128); }
QColor ColBusy() { return QColor(255, 128, 128); }
QColor ColSubject() { return QColor(192, 192, 0); }
QColor ColUnavailable() { return QApplication::palette().color(QPalette::Button); }
QColor ColSubstitute() { return QColor(192, 0, 0); }

QLabel *Legend(const QColor &colour, const QString &text, const QString &name)
{
    auto *l = new QLabel(text);
    if (!name.isEmpty())
        l->setObjectName(name);
    l->setAutoFillBackground(true);
    QPalette pal = l->palette();
    pal.setColor(QPalette::Window, colour);
    l->setPalette(pal);
    l->setFrameShape(QFrame::Box);
    l->setMargin(3);
    return l;
}

AfterSave TellSaveResult(const store::SaveResult &result)
{
    switch (result.status) {
    case store::SaveResult::Status::Saved:
        return AfterSave::Saved;
    case store::SaveResult::Status::Stale:
        return hx::MsgBox(result.message, hx::MsgButtons::YesNo, hx::MsgIcon::Question) == hx::MsgResult::Yes
            ? AfterSave::Reload
            : AfterSave::Keep;
    case store::SaveResult::Status::Refused:
        hx::MsgBox(result.message);
        return AfterSave::Keep;
    case store::SaveResult::Status::Failed:
        break;
    }
    return AfterSave::Keep;
}

void ConnectActivation(QMdiSubWindow *frame, QObject *context, std::function<void()> activated)
{
    QMdiArea *area = frame->mdiArea();
    if (!area)
        return;
    auto last = std::make_shared<QPointer<QMdiSubWindow>>();
    QPointer<QMdiSubWindow> self(frame);
    QObject::connect(area, &QMdiArea::subWindowActivated, context, [self, last, activated](QMdiSubWindow *w) {
        if (!w)
            return;
        const bool fromElsewhere = *last != self;
        *last = w;
        if (w == self && fromElsewhere)
            activated();
    });
    if (area->activeSubWindow() == frame) {
        *last = frame;
        activated();
    }
}

} // namespace tt
