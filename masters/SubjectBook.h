#pragma once
// Subject groups and their titles: lists, searches, adding and removing, without any screen.
#include <QString>
#include <QVector>

struct SubjectItem {
    QString text; // what the list shows
    int id = 0;   // subid for a group, uniqueid for a title
};

class SubjectBook {
public:
    enum class Outcome { Saved, Duplicate, InUse, NoGroup, Cancelled, Failed, Nothing };

    // Title of every message box of the window.
    static QString messageTitle();

    static QVector<SubjectItem> allGroups();
    // Groups whose name starts with the typed text (trimmed; % and _ match themselves; letter
    // case of any alphabet aside).
    static QVector<SubjectItem> matchGroups(const QString &typed);
    static QVector<SubjectItem> allTitles();
    static QVector<SubjectItem> titlesOfGroup(int subid);
    // Titles of the group starting with the typed text; shows the bare title.
    static QVector<SubjectItem> matchTitles(int subid, const QString &typed);

    // A new group with its blank title; the new subid is returned through newId.
    static Outcome saveGroup(const QString &typed, int *newId = nullptr);
    static Outcome saveTitle(int subid, const QString &typed);
    // Both ask the user before deleting; itemText is the list item's text.
    static Outcome removeTitle(int uniqueid, const QString &itemText);
    static Outcome removeGroup(int subid, const QString &itemText);
    // Why a group cannot be deleted.
    static QString groupInUseMessage();
};
