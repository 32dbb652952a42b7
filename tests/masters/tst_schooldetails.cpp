#include "TestSupport.h"
#include "FrmSchoolDtl.h"
#include "SchoolDetails.h"
#include "UserInput.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestSchoolDetails : public QObject {
    Q_OBJECT
private slots:
    void loadsTheOneRow();
    void requiredFieldsInOrder();
    void saveStoresTextUnchanged();
    void emptyTableGetsItsRow();
    void failedSaveChangesNothing();
    void windowShowsAndEdits();
    void windowChecksRequiredFields();
    void windowLogo();
    void windowKeepsWorkOnFailure();

private:
    template <class T> static T *get(QWidget *w, const QString &name)
    {
        T *c = w->findChild<T *>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
    static QLineEdit *box(QWidget *w, const QString &name) { return get<QLineEdit>(w, name); }
    static QStringList boxNames()
    {
        return {"TxtName", "TxtAdd1", "TxtAdd2", "txtCity", "TxtState", "txtPhone", "TxtContactPerson"};
    }
    static void clickLogo(QWidget *w) { QTest::mouseClick(get<QLabel>(w, "SchLogo"), Qt::LeftButton); }
    static void clickEditSave(QWidget *w) { QTest::mouseClick(get<QPushButton>(w, "Command1"), Qt::LeftButton); }
    static SchoolRecord sample()
    {
        SchoolRecord r;
        r.name = "St. Mary's School?";
        r.add1 = "12, O'Neil Road";
        r.add2 = "Near \"Clock\" Tower";
        r.city = "Jaipur";
        r.state = "Rajasthan";
        r.phone = "0141-2?";
        r.contactPerson = "Mrs. Šárka D'Souza";
        r.logoPath = "/home/office/logo's.bmp";
        return r;
    }
    static SchoolRecord stored()
    {
        SchoolDetails d;
        d.load();
        return d.record();
    }
};

void TestSchoolDetails::loadsTheOneRow()
{
    TestDatabase db;
    QVERIFY(db.ok());
    db.exec("update libdtl set add2 = NULL, phone = NULL, logopath = NULL");
    SchoolDetails d;
    QVERIFY(d.load());
    QVERIFY(d.hasRow());
    QCOMPARE(d.record().name, QString("Horalux Public School"));
    QCOMPARE(d.record().add1, QString("Station Road"));
    QCOMPARE(d.record().city, QString("Jaipur"));
    QCOMPARE(d.record().state, QString("Rajasthan"));
    // Null columns read as empty text.
    QVERIFY(d.record().add2.isEmpty());
    QVERIFY(d.record().logoPath.isEmpty());
}

void TestSchoolDetails::requiredFieldsInOrder()
{
    using F = SchoolDetails::Field;
    SchoolRecord r;
    QCOMPARE(SchoolDetails::Validate(r), F::Name);
    QCOMPARE(SchoolDetails::Message(F::Name), QString("School Name is Compulsory"));
    r.name = "   "; // only blanks is still no name
    QCOMPARE(SchoolDetails::Validate(r), F::Name);
    r.name = "X";
    r.city = "Ajmer";
    QCOMPARE(SchoolDetails::Validate(r), F::Add1);
    QCOMPARE(SchoolDetails::Message(F::Add1), QString("Address Line 1 is Compulsory"));
    r.add1 = "Road";
    r.city = "\t";
    QCOMPARE(SchoolDetails::Validate(r), F::City);
    QCOMPARE(SchoolDetails::Message(F::City), QString("City is Compulsory"));
    r.city = "Ajmer";
    QCOMPARE(SchoolDetails::Validate(r), F::None);

    // An incomplete record is never written.
    TestDatabase db;
    MessageLog log;
    SchoolDetails d;
    QVERIFY(d.load());
    SchoolRecord bad = d.record();
    bad.city.clear();
    bad.name = "Changed";
    QVERIFY(!d.save(bad));
    QCOMPARE(stored().name, QString("Horalux Public School"));
    QCOMPARE(SchoolName, QString("Horalux Public School"));
}

void TestSchoolDetails::saveStoresTextUnchanged()
{
    TestDatabase db;
    MessageLog log;
    QSignalSpy spy(hx::AppEvents::instance(), &hx::AppEvents::schoolDetailsChanged);
    SchoolDetails d;
    QVERIFY(d.load());
    const SchoolRecord r = sample();
    QVERIFY(d.save(r));
    QVERIFY(log.messages.isEmpty());
    // Quotes, question marks and accented letters come back exactly; no value shifts.
    QCOMPARE(stored(), r);
    QCOMPARE(d.record(), r);
    QCOMPARE(db.count("libdtl"), 1);
    QCOMPARE(SchoolName, r.name);
    QCOMPARE(spy.count(), 1);

    // A second save with the logo untouched keeps the stored path.
    SchoolRecord again = d.record();
    again.phone = "98290";
    QVERIFY(d.save(again));
    QCOMPARE(stored().logoPath, r.logoPath);
    QCOMPARE(stored().phone, QString("98290"));
    QCOMPARE(db.count("libdtl"), 1);
    QCOMPARE(spy.count(), 2);
}

void TestSchoolDetails::emptyTableGetsItsRow()
{
    TestDatabase db;
    MessageLog log;
    db.exec("delete from libdtl");
    SchoolDetails d;
    QVERIFY(d.load());
    QVERIFY(!d.hasRow());
    QVERIFY(d.record().name.isEmpty());
    QVERIFY(d.save(sample()));
    QCOMPARE(db.count("libdtl"), 1);
    QCOMPARE(stored(), sample());
    QVERIFY(d.save(sample()));
    QCOMPARE(db.count("libdtl"), 1); // the next save rewrites it, no second row
}

void TestSchoolDetails::failedSaveChangesNothing()
{
    TestDatabase db;
    MessageLog log;
    db.exec("create trigger nochange before update on libdtl begin select raise(abort, 'read-only'); end");
    QSignalSpy spy(hx::AppEvents::instance(), &hx::AppEvents::schoolDetailsChanged);
    SchoolDetails d;
    QVERIFY(d.load());
    const SchoolRecord before = d.record();
    QVERIFY(!d.save(sample()));
    QCOMPARE(log.messages.size(), 1);
    QVERIFY(log.last().startsWith("Error :"));
    QVERIFY(log.last().contains("read-only"));
    QCOMPARE(stored(), before);
    QCOMPARE(d.record(), before);
    QCOMPARE(SchoolName, QString("Horalux Public School"));
    QCOMPARE(spy.count(), 0);
}

void TestSchoolDetails::windowShowsAndEdits()
{
    TestDatabase db;
    MessageLog log;
    QSignalSpy spy(hx::AppEvents::instance(), &hx::AppEvents::schoolDetailsChanged);
    int chooserCalls = 0;
    FrmSchoolDtl w;
    QVERIFY(ShowInFront(&w));
    w.setLogoChooser([&](QWidget *) { ++chooserCalls; return QString(); });
    QCOMPARE(w.windowTitle(), QString("School Information"));
    QCOMPARE(box(&w, "TxtName")->text(), QString("Horalux Public School"));
    QCOMPARE(box(&w, "TxtState")->text(), QString("Rajasthan"));
    for (const QString &name : boxNames())
        QVERIFY2(!box(&w, name)->isEnabled(), qPrintable(name));
    QCOMPARE(get<QPushButton>(&w, "Command1")->text(), QString("&Edit"));
    QCOMPARE(get<QPushButton>(&w, "Command2")->text(), QString("E&xit"));
    clickLogo(&w); // the logo is chosen only while editing
    QCOMPARE(chooserCalls, 0);

    clickEditSave(&w);
    QVERIFY(w.isEditing());
    QCOMPARE(get<QPushButton>(&w, "Command1")->text(), QString("&Save"));
    for (const QString &name : boxNames())
        QVERIFY2(box(&w, name)->isEnabled(), qPrintable(name));

    const SchoolRecord r = sample();
    const QStringList texts = {r.name, r.add1, r.add2, r.city, r.state, r.phone, r.contactPerson};
    for (int i = 0; i < texts.size(); ++i)
        Retype(box(&w, boxNames()[i]), texts[i]);
    clickEditSave(&w);
    QVERIFY(log.messages.isEmpty());
    QVERIFY(!w.isEditing());
    QCOMPARE(get<QPushButton>(&w, "Command1")->text(), QString("&Edit"));
    QVERIFY(!box(&w, "TxtName")->isEnabled());
    SchoolRecord expected = r;
    expected.logoPath.clear(); // no logo chosen: the stored (empty) path stays
    QCOMPARE(stored(), expected);
    QCOMPARE(SchoolName, r.name);
    QCOMPARE(spy.count(), 1);

    // Opened again, the window shows what was saved, apostrophes and all.
    FrmSchoolDtl again;
    for (int i = 0; i < texts.size(); ++i)
        QCOMPARE(box(&again, boxNames()[i])->text(), texts[i]);
}

void TestSchoolDetails::windowChecksRequiredFields()
{
    TestDatabase db;
    MessageLog log;
    FrmSchoolDtl w;
    QVERIFY(ShowInFront(&w));
    clickEditSave(&w);
    Retype(box(&w, "TxtName"), "  ");
    Retype(box(&w, "TxtAdd1"), QString());
    Retype(box(&w, "txtCity"), QString());
    clickEditSave(&w);
    QCOMPARE(log.texts(), QStringList({"School Name is Compulsory"}));
    QCOMPARE(log.messages[0].buttons, hx::MsgButtons::Ok);
    QCOMPARE(log.messages[0].icon, hx::MsgIcon::None);
    QVERIFY(log.messages[0].title.isEmpty() || log.messages[0].title == hx::AppTitle);
    QCOMPARE(w.focusWidget(), box(&w, "TxtName"));
    QVERIFY(w.isEditing());

    Retype(box(&w, "TxtName"), "New School");
    clickEditSave(&w);
    QCOMPARE(log.last(), QString("Address Line 1 is Compulsory"));
    QCOMPARE(w.focusWidget(), box(&w, "TxtAdd1"));

    Retype(box(&w, "TxtAdd1"), "Road");
    clickEditSave(&w);
    QCOMPARE(log.last(), QString("City is Compulsory"));
    QCOMPARE(w.focusWidget(), box(&w, "txtCity"));
    QCOMPARE(log.messages.size(), 3);
    QVERIFY(w.isEditing());
    QCOMPARE(stored().name, QString("Horalux Public School"));
    QCOMPARE(SchoolName, QString("Horalux Public School"));

    // Edit, change, then Exit: nothing is written.
    Retype(box(&w, "txtCity"), "Ajmer");
    QTest::mouseClick(get<QPushButton>(&w, "Command2"), Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QCOMPARE(stored().name, QString("Horalux Public School"));
    QCOMPARE(stored().city, QString("Jaipur"));
}

void TestSchoolDetails::windowLogo()
{
    TestDatabase db;
    MessageLog log;
    QTemporaryDir dir;
    const QString first = dir.filePath("crest.bmp");
    const QString second = dir.filePath("new logo's.jpg");
    const QString broken = dir.filePath("broken.jpg");
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(Qt::blue);
    QVERIFY(img.save(first, "BMP"));
    QVERIFY(img.save(second, "JPG"));
    QFile f(broken);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();
    db.exec("update libdtl set logopath = ?", {first});

    QString next;
    FrmSchoolDtl w;
    QVERIFY(ShowInFront(&w));
    w.setLogoChooser([&](QWidget *) { return next; });
    auto *logo = get<QLabel>(&w, "SchLogo");
    QVERIFY(!logo->pixmap().isNull());
    QCOMPARE(w.logoPath(), first);

    clickEditSave(&w);
    next.clear(); // cancelled dialog
    clickLogo(&w);
    QCOMPARE(w.logoPath(), first);
    QVERIFY(!logo->pixmap().isNull());

    next = broken;
    clickLogo(&w);
    QCOMPARE(log.texts(), QStringList({"Invalid picture"}));
    QCOMPARE(w.logoPath(), first);
    QVERIFY(!logo->pixmap().isNull()); // the old logo is still shown

    next = second;
    clickLogo(&w);
    QCOMPARE(w.logoPath(), second);
    QCOMPARE(stored().logoPath, first); // not written until Save
    clickEditSave(&w);
    QCOMPARE(stored().logoPath, second);

    // Saving again without choosing keeps the path.
    clickEditSave(&w);
    Retype(box(&w, "txtPhone"), "12345");
    clickEditSave(&w);
    QCOMPARE(stored().logoPath, second);
    QCOMPARE(stored().phone, QString("12345"));

    // A logo file that has gone missing shows no picture but loses nothing.
    QVERIFY(QFile::remove(second));
    FrmSchoolDtl later;
    QVERIFY(get<QLabel>(&later, "SchLogo")->pixmap().isNull());
    QCOMPARE(later.logoPath(), second);
    QCOMPARE(log.messages.size(), 1);
}

void TestSchoolDetails::windowKeepsWorkOnFailure()
{
    TestDatabase db;
    MessageLog log;
    db.exec("create trigger nochange before update on libdtl begin select raise(abort, 'read-only'); end");
    FrmSchoolDtl w;
    QVERIFY(ShowInFront(&w));
    clickEditSave(&w);
    Retype(box(&w, "TxtName"), "Typed Name");
    clickEditSave(&w);
    QCOMPARE(log.messages.size(), 1);
    QVERIFY(log.last().startsWith("Error :"));
    QVERIFY(w.isEditing());
    QCOMPARE(box(&w, "TxtName")->text(), QString("Typed Name"));
    QVERIFY(box(&w, "TxtName")->isEnabled());
    QCOMPARE(SchoolName, QString("Horalux Public School"));
    QCOMPARE(stored().name, QString("Horalux Public School"));
}

QTEST_MAIN(TestSchoolDetails)
#include "tst_schooldetails.moc"
