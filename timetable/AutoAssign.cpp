#include "AutoAssign.h"

#include "Platform.h"

bool AutoAssign::freePeriod(int day) const
{
    for (int p = 0; p < tt::kPeriods; ++p)
        if (m_.cellState(day, p) == 0)
            return true;
    return false;
}

int AutoAssign::calDay(const std::array<bool, tt::kDays> &passedOver, const std::array<int, tt::kDays> &loads) const
{
    const std::array<int, tt::kDays> stress = m_.calStress(m_.subject(1).id);
    int best = -1;
    int lowest = 100;
    for (int d = 0; d < tt::kDays; ++d) {
        if (passedOver[d] || !freePeriod(d))
            continue;
        if (stress[d] < lowest && loads[d] < 8) {
            best = d;
            lowest = stress[d];
        }
    }
    return best;
}

AutoAssign::Result AutoAssign::run()
{
    placed_ = 0;
    const Pick subject = m_.subject(1);
    const Pick teacher = m_.teacher(1);
    if (!subject.chosen()) {
        hx::MsgBox(QStringLiteral("Select Subject"));
        return Result::NoSubject;
    }
    if (!teacher.chosen()) {
        hx::MsgBox(QStringLiteral("Select teacher"));
        return Result::NoTeacher;
    }
    m_.markTeacherBusy(teacher.id);
    if (!m_.subjectHours()) {
        hx::MsgBox(QStringLiteral("Period not assigned"));
        return Result::NotPlanned;
    }
    const int planned = *m_.subjectHours();
    const int before = m_.calPeriodAss(subject.id);
    if (planned <= before) {
        hx::MsgBox(QStringLiteral("Periods already assigned"));
        return Result::AlreadyAssigned;
    }
    const int toPlace = planned - before;
    // The loads as shown when the run began; they are refreshed only at its end.
    std::array<int, tt::kDays> loads{};
    for (int d = 0; d < tt::kDays; ++d)
        loads[d] = m_.dayLoad(d);
    // A day whose free periods are all busy for the teacher can take nothing in this run.
    std::array<bool, tt::kDays> passedOver{};
    const int step = m_.undoStep() + 1;
    const Lessons lesson{{teacher.id, teacher.text, subject.id, subject.text}};
    Result result = Result::Done;
    while (placed_ < toPlace) {
        const int d = calDay(passedOver, loads);
        if (d < 0) {
            hx::MsgBox(QStringLiteral("Only ") + QString::number(placed_) + QStringLiteral(" are assigned"));
            result = Result::Partly;
            break;
        }
        int period = -1;
        for (int p = 0; p < tt::kPeriods && period < 0; ++p)
            if (m_.cellState(d, p) == 0 && !m_.teacherBusy(d, p))
                period = p;
        if (period < 0) {
            passedOver[d] = true;
        } else {
            const int cell = tt::CellIndex(d, period);
            m_.recordUndo(cell, step);
            m_.setLessons(cell, lesson);
            m_.refreshAssigned();
            ++placed_;
        }
        bool anyFree = false;
        for (int day = 0; day < tt::kDays && !anyFree; ++day)
            anyFree = freePeriod(day);
        if (!anyFree && placed_ < toPlace) {
            hx::MsgBox(QStringLiteral("No periods left "));
            result = Result::NoPeriodsLeft;
            break;
        }
    }
    m_.showWorkLoad();
    m_.showChart();
    m_.finishStep(placed_ > 0);
    return result;
}
