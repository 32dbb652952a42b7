#pragma once
// Places the still missing periods of the chosen subject with the chosen teacher: each
// period on the day with the fewest periods of the subject so far (among days with a free
// period and fewer than 8 lessons), in that day's earliest period free in the class and
// for the teacher. One run is one undo step.
#include "ClassScheduleModel.h"

#include <array>

class AutoAssign {
public:
    explicit AutoAssign(ClassScheduleModel &model) : m_(model) {}

    enum class Result { Done, NoSubject, NoTeacher, NotPlanned, AlreadyAssigned, Partly, NoPeriodsLeft };
    // The run; shows the messages itself. placed() tells how many periods went in.
    Result run();
    int placed() const { return placed_; }

    // Whether the class has a free period on the day.
    bool freePeriod(int day) const;
    // The day for the next period, or -1. Days in `passedOver` are not considered.
    int calDay(const std::array<bool, tt::kDays> &passedOver, const std::array<int, tt::kDays> &loads) const;

private:
    ClassScheduleModel &m_;
    int placed_ = 0;
};
