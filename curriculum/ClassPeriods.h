#pragma once
#include <QString>

// Periods a class has in its week: every period system assigned to it counts its
// periods per day once for every week-day it is assigned on.
qint16 ClassWeekPeriods(int classid);
// Periods a week already given to the class's subjects (0 when it has none).
qint16 ClassAssignedPeriods(int classid);
// Class id of a shown class-section text "class-section"; an empty section part
// matches a stored section that is null or empty. 0 when no class matches.
int ClassIdFromText(const QString &classText);
// Leading digits of a text as a number (0 when there are none), the way typed numbers are read.
int LeadingNumber(const QString &text);
// Says that what the user chose was deleted meanwhile in another window ("The subject
// Maths no longer exists") and that the press stored nothing; false, for the caller to stop.
bool RefuseDeletedMeanwhile(const QString &what);
// Commits the transaction when the writing succeeded, else rolls it back.
class Transaction;
void Conclude(Transaction &tx, bool written);
