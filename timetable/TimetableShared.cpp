#include "TimetableShared.h"

#include <QApplication>
#include <QPalette>
#include <QToolTip>

std::array<qint16, tt::kCells + 1> PeriodSelected{};
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

} // namespace tt
