#include "TestSupport.h"
#include "SchoolDetails.h"

#include <QSignalSpy>
#include <QTest>

class TestSchoolDetails : public QObject {
    Q_OBJECT
private slots:
    void loadsTheOneRow();
    void requiredFieldsInOrder();
    void saveStoresTextUnchanged();
    void emptyTableGetsItsRow();
    void failedSaveChangesNothing();

private:
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

QTEST_MAIN(TestSchoolDetails)
#include "tst_schooldetails.moc"
