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
    void addSaveReloadAndDelete();
    void browseTypeAndPhoto();
};

// The window through its controls: a new teacher gets a code and joins the list; a refused
// save keeps what was typed; deleting asks first.
void TestTeacherWindow::addSaveReloadAndDelete()
{
    TestDatabase db;
    QVERIFY(db.ok());
    MessageLog log;
    frmTeacher w;
    QVERIFY(ShowInFront(&w));
    auto *name = w.findChild<QLineEdit *>("txtTeacherName");
    auto *code = w.findChild<QLineEdit *>("txtUniqueID");
    auto *list = w.findChild<QTreeWidget *>("lvTeacherList");
    auto *cancel = w.findChild<QPushButton *>("cmdCancel");
    auto *save = w.findChild<QPushButton *>("cmdSave");
    QCOMPARE(w.findChild<QGroupBox *>("Frame1")->title(), QString("Teachers (0)"));
    QCOMPARE(cancel->text(), QString("E&xit"));

    // An empty name is refused and nothing is written.
    input::Click(save);
    QVERIFY(log.contains("Enter Teacher Name"));
    QCOMPARE(db.count("teachers"), 0);

    // Teachers must be adults: the default birth date (today) is refused, the typed name kept.
    Retype(name, "ram kumar o'neil?");
    QTest::keyClick(name, Qt::Key_Tab); // leaving the box makes the code
    QCOMPARE(code->text(), QString("RKO-01"));
    log.clear();
    AltKey(&w, 's', save);
    QVERIFY(log.contains("Teacher must have been born to teach in this school"));
    QCOMPARE(db.count("teachers"), 0);
    QCOMPARE(name->text(), QString("Ram Kumar O'neil?"));

    QVERIFY(input::TypeDate(w.findChild<QDateEdit *>("dtpDOB"), QDate::currentDate().addYears(-30)));
    input::Click(save);
    QCOMPARE(db.count("teachers", "uniqueid = 'RKO-01' and teachername = ? and city = 'Jaipur' and teacherid = 1",
                      {"Ram Kumar O'neil?"}), 1);
    QCOMPARE(list->topLevelItemCount(), 1);
    QCOMPARE(list->topLevelItem(0)->text(0), QString("Ram Kumar O'neil?(RKO-01)"));
    QVERIFY(name->text().isEmpty()); // cleared for the next teacher
    db.exec("delete from teachers");
    db.exec("insert into teachers (teacherid, uniqueid, teachername, stillworking) values (5, 'AB-01', 'Anita Bose', 'Y')");
    frmTeacher w2;
    QVERIFY(ShowInFront(&w2));
    auto *del = w2.findChild<QPushButton *>("CmdDelete");
    auto *name2 = w2.findChild<QLineEdit *>("txtTeacherName");
    QCOMPARE(name2->text(), QString("Anita Bose")); // the first teacher is on show
    QVERIFY(w2.isEditing());
    QCOMPARE(w2.findChild<QPushButton *>("cmdCancel")->text(), QString("&Cancel"));

    // Delete waits for the teacher to be picked; then No keeps the teacher, Yes removes it and
    // the list shows the count 0.
    QVERIFY(!del->isEnabled());
    QVERIFY(ClickRow(w2.findChild<QTreeWidget *>("lvTeacherList"), "Anita Bose(AB-01)"));
    log.clear();
    log.answer(hx::MsgResult::No);
    AltKey(&w2, 'd', del);
    QCOMPARE(db.count("teachers"), 1);
    log.answer(hx::MsgResult::Yes);
    input::Click(del);
    QCOMPARE(db.count("teachers"), 0);
    QCOMPARE(w2.findChild<QGroupBox *>("Frame1")->title(), QString("Teachers (0)"));
    QVERIFY(log.contains("Do you want to delete information of Anita Bose"));
    QCOMPARE(w2.findChild<QTreeWidget *>("lvTeacherList")->topLevelItemCount(), 0);
}

// Previous and Next walk the list and stop at its ends; the name is capitalised as it is
// typed; the photo dialog needs a name first, refuses other files and the chosen picture is
// saved with the teacher.
void TestTeacherWindow::browseTypeAndPhoto()
{
    TestDatabase db;
    QVERIFY(db.ok());
    db.exec("insert into teachers (teacherid, uniqueid, teachername, stillworking) values "
            "(1, 'MD-01', 'Meena Das', 'Y'), (2, 'AB-01', 'Anita Bose', 'Y'), (3, 'CR-01', 'Chetan Rao', 'Y')");
    MessageLog log;
    frmTeacher w;
    QVERIFY(ShowInFront(&w));
    auto *name = w.findChild<QLineEdit *>("txtTeacherName");
    auto *next = w.findChild<QPushButton *>("cmdNext");
    auto *previous = w.findChild<QPushButton *>("cmbPrevious");
    QCOMPARE(name->text(), QString("Anita Bose"));
    input::Click(next);
    QCOMPARE(name->text(), QString("Chetan Rao"));
    AltKey(&w, 'n', next);
    input::Click(next);
    QCOMPARE(name->text(), QString("Meena Das"));
    QCOMPARE(w.findChild<QLineEdit *>("txtUniqueID")->text(), QString("MD-01"));
    input::Click(previous);
    AltKey(&w, 'p', previous);
    input::Click(previous);
    QCOMPARE(name->text(), QString("Anita Bose"));

    input::Click(w.findChild<QPushButton *>("cmdCancel"));
    QVERIFY(name->text().isEmpty());
    QTemporaryDir dir;
    QString chosen;
    w.setPhotoChooser([&](QWidget *) { return chosen; });
    auto *photo = w.findChild<QLabel *>("ImgPhoto");
    QTest::mouseClick(photo, Qt::LeftButton);
    QVERIFY(log.contains("Enter Teacher Name First"));

    QTest::mouseClick(name, Qt::LeftButton);
    QTest::keyClicks(name, "rAM kUMAR  sEN");
    QCOMPARE(name->text(), QString("Ram Kumar  Sen"));

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

    QTest::keyClick(name, Qt::Key_Tab);
    QVERIFY(input::TypeDate(w.findChild<QDateEdit *>("dtpDOB"), QDate::currentDate().addYears(-30)));
    AltKey(&w, 's', w.findChild<QPushButton *>("cmdSave"));
    QCOMPARE(db.count("teachers", "uniqueid = 'RKS-01' and teachername = 'Ram Kumar  Sen' and photopath = ?", {chosen}), 1);
}

QTEST_MAIN(TestTeacherWindow)
#include "tst_teacherwindow.moc"
