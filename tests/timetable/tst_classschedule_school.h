#pragma once
// A small school for the class schedule tests: three class-sections on an 8-period day
// (VI-A Monday to Friday, VI-B and VII-A Monday to Saturday), three subjects, four teachers.
#include "ClassScheduleModel.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>

struct SmallSchool {
    enum { VIA = 1, VIB = 2, VIIA = 3 };
    enum { Maths = 1, English = 2, Physics = 3 };
    enum { Anita = 1, Bela = 2, Chand = 3, Dev = 4 };

    explicit SmallSchool(TestDatabase &db) : db(db)
    {
        db.exec("insert into classsection (classid, class, section, sortorder) values "
                "(1, 'VI', 'A', 9), (2, 'VI', 'B', 9), (3, 'VII', 'A', 10)");
        db.exec("insert into periodsystem values (1, 'Regular', 8, 40, '08:30', 4, 20, 'AM')");
        db.exec("insert into classperiods values (1, 1, '0,1,2,3,4'), (2, 1, '0,1,2,3,4,5'), (3, 1, '0,1,2,3,4,5')");
        db.exec("insert into subjects values ('Maths', 1), ('English', 2), ('Science', 3)");
        db.exec("insert into subjtype (subid, subtype, uniqueid) values (1, '', 1), (2, '', 2), (3, 'Physics', 3)");
        db.exec("insert into teachers (uniqueid, Teachername, teacherid) values "
                "('AR1', 'Anita Rao', 1), ('BS2', 'Bela Sen', 2), ('CD3', 'Chand Das', 3), ('DR4', 'Dev Roy', 4)");
        db.exec("insert into teachersubjects values (1, 1, 6, 8), (2, 1, 6, 8), (2, 2, 6, 8), (3, 3, 6, 8)");
        db.exec("insert into classsubjects values (1, 1, 5, 6), (1, 2, 6, 6), (1, 3, 4, 6), (2, 1, 5, 6)");
        LoadSubjectSnapshot();
    }

    // A saved lesson of any class.
    void lesson(int classid, int day, int period, int teacher, int subject, bool substitute = false)
    {
        db.exec("insert into timeschedule (teacherid, subid, classid, period, weekday, substitute) "
                "values (?, ?, ?, ?, ?, ?)",
                {teacher, subject, classid, period, day, substitute ? 1 : 0});
    }

    static Pick maths() { return {Maths, "Maths "}; }
    static Pick english() { return {English, "English "}; }
    static Pick physics() { return {Physics, "Science Physics"}; }
    static Pick anita() { return {Anita, "Anita Rao"}; }
    static Pick bela() { return {Bela, "Bela Sen"}; }
    static Pick chand() { return {Chand, "Chand Das"}; }

    TestDatabase &db;
};

inline QString lines(std::initializer_list<const char *> parts)
{
    QStringList l;
    for (const char *p : parts)
        l << QString::fromUtf8(p);
    return l.join(QChar(13));
}

// The end of a drag of a class schedule cell onto another: the platform's drag cannot run
// without a screen, so the drop that ends it is sent.
inline void DropCell(QWidget *target, int source)
{
    QMimeData mime;
    mime.setData("application/x-horalux-class-cell", QByteArray::number(source));
    QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}
