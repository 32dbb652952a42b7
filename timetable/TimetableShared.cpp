#include "TimetableShared.h"

#include "Platform.h"

#include <QApplication>
#include <QGridLayout>
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

std::array<QLabel *, kPeriods> AddWeekHeadings(QGridLayout *grid)
{
    std::array<QLabel *, kPeriods> headings{};
    for (int p = 0; p < kPeriods; ++p) {
        auto *h = new QLabel(PeriodRoman(p));
        h->setAlignment(Qt::AlignCenter);
        QFont f = h->font();
        f.setBold(true);
        h->setFont(f);
        grid->addWidget(h, 0, p + 1);
        headings[p] = h;
    }
    for (int d = 0; d < kDays; ++d) {
        auto *l = new QLabel(DayCaption(d));
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        grid->addWidget(l, d + 1, 0);
    }
    return headings;
}

QLabel *AddWeekCell(QGridLayout *grid, int cell, QLabel *c)
{
    c->setFixedSize(hx::Twips(1215), hx::Twips(825));
    c->setWordWrap(true);
    c->setAlignment(Qt::AlignCenter);
    c->setAutoFillBackground(true);
    c->setFrameShape(QFrame::Box);
    QFont f = c->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    c->setFont(f);
    grid->addWidget(c, CellDay(cell) + 1, CellPeriod(cell) + 1);
    return c;
}

void PaintCell(QLabel *cell, const QColor &background, bool substitute)
{
    QPalette pal = cell->palette();
    const QColor text = substitute ? ColSubstitute() : QColor(Qt::black);
    if (pal.color(QPalette::Window) != background || pal.color(QPalette::WindowText) != text) {
        pal.setColor(QPalette::Window, background);
        pal.setColor(QPalette::WindowText, text);
        cell->setPalette(pal);
    }
    if (cell->font().bold() != substitute) {
        QFont f = cell->font();
        f.setBold(substitute);
        cell->setFont(f);
    }
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
