#include "TestSupport.h"
#include "UserInput.h"
#include "frmTeacher.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

class TestTeacherWindow : public QObject {
    Q_OBJECT
private slots:
    void browseAddAndDelete();
};

// The window through its controls. A new teacher's name is capitalised as it is typed and gets
// a code when the box is left; the photo needs a name first and refuses other files; a refused
// save keeps what was typed; the saved teacher joins the list with the photo. Previous and Next
// walk the list and stop at its ends; Delete waits for a teacher to be picked and asks.
void TestTeacherWindow::browseAddAndDelete()
{
    TestDatabase db;
    QVERIFY(db.ok());
    MessageLog log;
    frmTeacher w;
    QVERIFY(ShowInFront(&w));
    auto *name = w.findChild<QLineEdit *>("txtTeacherName");
    auto *list = w.findChild<QTreeWidget *>("lvTeacherList");
    auto *save = w.findChild<QPushButton *>("cmdSave");
    QCOMPARE(w.findChild<QGroupBox *>("Frame1")->title(), QString("Teachers (0)"));
    QCOMPARE(w.findChild<QPushButton *>("cmdCancel")->text(), QString("E&xit"));
    // An empty name is refused and nothing is written.
    input::Click(save);
    QVERIFY(log.contains("Enter Teacher Name"));
    QCOMPARE(db.count("teachers"), 0);
    QTemporaryDir dir;
    QString chosen;
    w.setPhotoChooser([&](QWidget *) { return chosen; });
    auto *photo = w.findChild<QLabel *>("ImgPhoto");
    QTest::mouseClick(photo, Qt::LeftButton);
    QVERIFY(log.contains("Enter Teacher Name First"));

    QTest::mouseClick(name, Qt::LeftButton);
    QTest::keyClicks(name, "rAM kUMAR  o'nEIL?");
    QCOMPARE(name->text(), QString("Ram Kumar  O'neil?"));
    QTest::keyClick(name, Qt::Key_Tab); // leaving the box makes the code
    QCOMPARE(w.findChild<QLineEdit *>("txtUniqueID")->text(), QString("RKO-01"));

    chosen = dir.filePath("notes.txt");
    log.clear();
    QTest::mouseClick(photo, Qt::LeftButton);
    QVERIFY(log.contains("Provide Bitmap File"));
    QImage picture(40, 50, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    chosen = dir.filePath("ram.png");
    QVERIFY(picture.save(chosen));
    QTest::mouseClick(photo, Qt::LeftButton);
    QVERIFY(!photo->pixmap().isNull());

    // Teachers must be adults: the default birth date (today) is refused, the typed name kept.
    AltKey(&w, 's', save);
    QVERIFY(log.contains("Teacher must have been born to teach in this school"));
    QCOMPARE(db.count("teachers"), 0);
    QCOMPARE(name->text(), QString("Ram Kumar  O'neil?"));
    QVERIFY(input::TypeDate(w.findChild<QDateEdit *>("dtpDOB"), QDate::currentDate().addYears(-30)));
    input::Click(save);
    QCOMPARE(db.count("teachers", "uniqueid = 'RKO-01' and teachername = ? and city = 'Jaipur' and teacherid = 1"
                                  " and photopath = ?", {"Ram Kumar  O'neil?", chosen}), 1);
    QCOMPARE(list->topLevelItemCount(), 1);
    QCOMPARE(list->topLevelItem(0)->text(0), QString("Ram Kumar  O'neil?(RKO-01)"));
    QVERIFY(name->text().isEmpty()); // cleared for the next teacher

    db.exec("delete from teachers");
    db.exec("insert into teachers (teacherid, uniqueid, teachername, stillworking) values "
            "(1, 'MD-01', 'Meena Das', 'Y'), (2, 'AB-01', 'Anita Bose', 'Y'), (3, 'CR-01', 'Chetan Rao', 'Y')");
    frmTeacher w2;
    QVERIFY(ShowInFront(&w2));
    auto *name2 = w2.findChild<QLineEdit *>("txtTeacherName");
    auto *next = w2.findChild<QPushButton *>("cmdNext");
    auto *previous = w2.findChild<QPushButton *>("cmbPrevious");
    auto *del = w2.findChild<QPushButton *>("CmdDelete");
    QCOMPARE(name2->text(), QString("Anita Bose")); // the first teacher is on show
    QVERIFY(w2.isEditing());
    QCOMPARE(w2.findChild<QPushButton *>("cmdCancel")->text(), QString("&Cancel"));
    QVERIFY(!del->isEnabled()); // Delete waits for a teacher to be picked
    input::Click(next);
    QCOMPARE(name2->text(), QString("Chetan Rao"));
    AltKey(&w2, 'n', next);
    input::Click(next);
    QCOMPARE(name2->text(), QString("Meena Das"));
    QCOMPARE(w2.findChild<QLineEdit *>("txtUniqueID")->text(), QString("MD-01"));
    input::Click(previous);
    AltKey(&w2, 'p', previous);
    input::Click(previous);
    QCOMPARE(name2->text(), QString("Anita Bose"));

    // Delete: No keeps the teacher, Yes removes it and the list shows the new count.
    QVERIFY(ClickRow(w2.findChild<QTreeWidget *>("lvTeacherList"), "Anita Bose(AB-01)"));
    log.clear();
    log.answer(hx::MsgResult::No);
    AltKey(&w2, 'd', del);
    QCOMPARE(db.count("teachers"), 3);
    log.answer(hx::MsgResult::Yes);
    input::Click(del);
    QCOMPARE(db.count("teachers", "uniqueid = 'AB-01'"), 0);
    QCOMPARE(w2.findChild<QGroupBox *>("Frame1")->title(), QString("Teachers (2)"));
    QVERIFY(log.contains("Do you want to delete information of Anita Bose"));
    QCOMPARE(w2.findChild<QTreeWidget *>("lvTeacherList")->topLevelItemCount(), 2);
}

QTEST_MAIN(TestTeacherWindow)
#include "tst_teacherwindow.moc"
