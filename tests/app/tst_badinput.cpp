// Awkward input in every box of every window of the menu. Each window is opened through the
// menu's own entries; every box a user can type into is found by walking the window's
// controls, and must be named in the table below, so that a new box cannot go untested.
// Each input is either refused with a message, or stored and shown back exactly as the box
// held it (with the few transformations the table names); never a failed statement, never a
// silently changed value.
#include "WindowTestSupport.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <memory>

namespace {

struct Probe {
    const char *label;
    QString text;
};

QVector<Probe> TextProbes()
{
    return {
        {"plain", QStringLiteral("Probe 7")},
        {"empty", QString()},
        {"10000 characters", QString(10000, QLatin1Char('x'))},
        {"quotes", QStringLiteral("O'Brien \"Jr\" ''")},
        {"question mark", QStringLiteral("?")},
        {"marks", QStringLiteral("a?b #?# '?'")},
        {"percent", QStringLiteral("100%")},
        {"underscore", QStringLiteral("_x_")},
        {"comment", QStringLiteral("x';-- drop table teachers;--")},
        {"NUL", QStringLiteral("ab") + QChar(0) + QStringLiteral("cd")},
        {"Arabic", QString::fromUtf8("\xd9\x85\xd8\xaf\xd8\xb1\xd8\xb3\xd8\xa9 \xd8\xa7\xd9\x84\xd9\x86\xd9\x88\xd8\xb1")},
        {"Hebrew", QString::fromUtf8("\xd7\x91\xd7\x99\xd7\xaa \xd7\xa1\xd7\xa4\xd7\xa8")},
        {"emoji", QString::fromUtf8("\xf0\x9f\x98\x80 Rao \xf0\x9f\x91\xa9\xe2\x80\x8d\xf0\x9f\x8f\xab")},
    };
}

QVector<Probe> NumberProbes()
{
    return {
        {"plain number", QStringLiteral("7")},
        {"letters", QStringLiteral("abc")},
        {"negative", QStringLiteral("-5")},
        {"zero", QStringLiteral("0")},
        {"huge", QStringLiteral("99999999999999999999")},
    };
}

enum class Kind {
    Text,    // stored as the box holds it
    Trimmed, // stored without blanks around it (names)
    Number,  // a whole number; anything else refused
    Lookup,  // names an existing record; anything else refused, nothing added
};

struct BoxRule {
    QString box;      // objectName
    Kind kind;
    QString readBack; // the stored value: first column of the first row
    QString blankStoredAs = QString(); // Number: what an empty box stands for, if anything
};

struct WindowCase {
    QString menu;
    QString what;
    std::function<void(QWidget *, const QString &box)> prepare; // bring the window to the save
    QStringList press;                                        // buttons that store
    std::function<void(QWidget *)> show;                      // after reopening: show the record
    QVector<BoxRule> boxes;
};

// Boxes a user can type into: line edits (not those inside a combo or spin box, which are
// reached through their owner), editable combos and number spin boxes. A date picker holds
// only dates of the calendar, so there is nothing odd to type into it.
QStringList TypeableBoxes(QWidget *w)
{
    QStringList out;
    for (QLineEdit *e : w->findChildren<QLineEdit *>()) {
        if (qobject_cast<QComboBox *>(e->parent()) || qobject_cast<QAbstractSpinBox *>(e->parent()))
            continue;
        if (!e->isReadOnly() && e->isEnabled())
            out << e->objectName();
    }
    for (QComboBox *c : w->findChildren<QComboBox *>())
        if (c->isEditable() && c->isEnabled())
            out << c->objectName();
    for (QAbstractSpinBox *s : w->findChildren<QAbstractSpinBox *>())
        if (!qobject_cast<QDateTimeEdit *>(s) && !s->isReadOnly() && s->isEnabled())
            out << s->objectName();
    return out;
}

// Pastes a text into a box and leaves it; returns what the box holds then.
QString Enter(QWidget *w, const QString &box, const QString &text, int *maxLength)
{
    QWidget *c = w->findChild<QWidget *>(box);
    auto *cb = qobject_cast<QComboBox *>(c);
    QLineEdit *e = cb ? cb->lineEdit() : qobject_cast<QLineEdit *>(c);
    *maxLength = e ? e->maxLength() : 32767;
    if (!e) {
        qWarning("cannot type into %s", qPrintable(box));
        return QString();
    }
    PasteOver(e, text);
    return cb ? cb->currentText() : e->text();
}

// Every text the window shows: boxes, combo items, list and label texts.
QStringList ShownTexts(QWidget *w)
{
    QStringList out;
    for (QLineEdit *e : w->findChildren<QLineEdit *>())
        out << e->text();
    for (QComboBox *c : w->findChildren<QComboBox *>()) {
        out << c->currentText();
        for (int i = 0; i < c->count(); ++i)
            out << c->itemText(i);
    }
    for (QTreeWidget *t : w->findChildren<QTreeWidget *>())
        for (int i = 0; i < t->topLevelItemCount(); ++i)
            for (int k = 0; k < t->columnCount(); ++k)
                out << t->topLevelItem(i)->text(k);
    for (QListWidget *l : w->findChildren<QListWidget *>())
        for (int i = 0; i < l->count(); ++i)
            out << l->item(i)->text();
    for (QLabel *l : w->findChildren<QLabel *>())
        out << l->text();
    return out;
}

QVector<WindowCase> Cases()
{
    const auto none = [](QWidget *, const QString &) {};
    const auto teacherOne = [](QWidget *w, const QString &) { ClickItem(Child<QTreeWidget>(w, "lvTeacherList"), 1, "1"); };
    const auto regular = [](QWidget *w, const QString &) { Choose(Child<QComboBox>(w, "cmbPeriodSysName"), "Regular"); };
    auto teacherBox = [](const QString &box, const QString &column, Kind kind = Kind::Text) {
        return BoxRule{box, kind, QStringLiteral("select %1 from teachers where teacherid = 1").arg(column)};
    };
    auto period = [](const QString &box, const QString &expr, const QString &blank = QString()) {
        return BoxRule{box, Kind::Number, QStringLiteral("select %1 from periodsystem where periodsysid = 1").arg(expr), blank};
    };
    const QString lastTeacher = QStringLiteral("(select max(teacherid) from teachers)");

    return {
        {"MnuSchInfo", "the school's details",
         [](QWidget *w, const QString &) { Press(w, "Command1"); }, // Edit
         {"Command1"},
         nullptr,
         {{"TxtName", Kind::Text, "select libname from libdtl"},
          {"TxtAdd1", Kind::Text, "select add1 from libdtl"},
          {"TxtAdd2", Kind::Text, "select add2 from libdtl"},
          {"txtCity", Kind::Text, "select city from libdtl"},
          {"TxtState", Kind::Text, "select state from libdtl"},
          {"txtPhone", Kind::Text, "select phone from libdtl"},
          {"TxtContactPerson", Kind::Text, "select contactperson from libdtl"}}},

        {"mnuTeacher", "a teacher changed", teacherOne, {"cmdSave"},
         [](QWidget *w) { ClickItem(Child<QTreeWidget>(w, "lvTeacherList"), 1, "1"); },
         {// The name is kept without blanks around it, as the list and the look-ups compare it.
          teacherBox("txtTeacherName", "Teachername", Kind::Trimmed), teacherBox("txtShortName", "shortname"),
          teacherBox("TxtDesig", "designation"), teacherBox("txtAdd", "address"), teacherBox("txtCity", "city"),
          teacherBox("cmbState", "state"), teacherBox("txtPhone", "phone"), teacherBox("txtEmail", "email"),
          teacherBox("txtReligion", "religion"), teacherBox("TxtHusband", "husbandname"),
          teacherBox("txtFatherName", "fathername"), teacherBox("txtMotherName", "mothername"),
          teacherBox("txtMotherT", "mothertongue"), teacherBox("txtRemarks", "qualification")}},

        {"mnuTeacher", "a new teacher",
         [](QWidget *w, const QString &box) {
             Press(w, "cmdCancel"); // "&Cancel": an empty record for a new teacher
             QVERIFY(input::TypeDate(Child<QDateEdit>(w, "dtpDOB"), QDate(1985, 1, 1)));
             if (box != "txtTeacherName") {
                 int max;
                 Enter(w, "txtTeacherName", "Probe Teacher", &max);
             }
         },
         {"cmdSave"},
         [lastTeacher](QWidget *w) {
             ClickItem(Child<QTreeWidget>(w, "lvTeacherList"), 1,
                       QueryValue("select max(teacherid) from teachers").toString());
         },
         {{"txtTeacherName", Kind::Trimmed, "select Teachername from teachers where teacherid = " + lastTeacher},
          {"txtShortName", Kind::Text, "select shortname from teachers where teacherid = " + lastTeacher}}},

        // A new group or title is stored trimmed: the duplicate check compares it so.
        {"mnuSubjects", "a new subject group", none, {"cmdAdd"}, nullptr,
         {{"txtSubGrp", Kind::Trimmed, "select subname from subjects where subid = (select max(subid) from subjects)"}}},
        {"mnuSubjects", "a new subject title",
         [](QWidget *w, const QString &) { ClickItem(Child<QTreeWidget>(w, "lvSubGrp"), 0, "Maths"); },
         {"cmdAddSubTitle"},
         [](QWidget *w) { ClickItem(Child<QTreeWidget>(w, "lvSubGrp"), 0, "Maths"); },
         {{"txtSubTitle", Kind::Trimmed,
           "select subtype from subjtype where uniqueid = (select max(uniqueid) from subjtype)"}}},

        // The number boxes hold 2 or 3 characters (a longer number cannot be typed); an empty
        // hour or minute stands for 00, and the hour is stored with two digits.
        {"mnuPeriodSystem", "a period system changed", regular, {"cmdSave"},
         [](QWidget *w) { Choose(Child<QComboBox>(w, "cmbPeriodSysName"), "Regular"); },
         {period("txtStHr", "cast(substr(p_start, 1, instr(p_start, ':') - 1) as integer)", "0"),
          period("txtStMin", "cast(substr(p_start, instr(p_start, ':') + 1) as integer)", "0"),
          period("txtPeriodDuration", "p_duration"), period("txtRecDuration", "rec_duration")}},
        {"mnuPeriodSystem", "a new period system", regular, {"cmdSave"}, nullptr,
         {{"cmbPeriodSysName", Kind::Trimmed,
           "select ps_name from periodsystem where periodsysid = (select max(periodsysid) from periodsystem)"}}},

        {"MnuClassSubject", "periods of a subject in a class",
         [](QWidget *w, const QString &) {
             SelectItem(Child<QListWidget>(w, "LstClass"), "VIII-A");
             SelectItem(Child<QListWidget>(w, "LstSubject"), "English");
         },
         {"cmdAssign"}, nullptr,
         {{"TxtHrs", Kind::Number, "select hours from classsubjects where classid = 3 and subid = 2"}}},

        // The periods of a teacher in a class-subject of eight periods a week.
        {"MnuAllocation", "a teacher's periods of a class-subject",
         [](QWidget *w, const QString &) {
             ExecuteSql("update classsubjects set hours = 8 where classid = 1 and subid = 1");
             ClickItem(Child<QTreeWidget>(w, "LvwCurriculum"), 0, "Maths");
             auto *teacher = Child<QComboBox>(w, "CmbTeacher");
             Choose(teacher, teacher->itemText(0));
         },
         {"cmdAllocate"},
         [](QWidget *w) {
             ClickItem(Child<QTreeWidget>(w, "LvwCurriculum"), 0, "Maths");
             auto *teacher = Child<QComboBox>(w, "CmbTeacher");
             Choose(teacher, teacher->itemText(0));
         },
         {{"TxtPeriods", Kind::Number,
           "select ifnull(sum(hours), 0) from classsubjectteachers where classid = 1 and subid = 1 and teacherid = 1"}}},

        {"MnuLeave", "a leave", none, {"cmdSave"}, nullptr,
         {{"CmbTeacher", Kind::Lookup, "select count(*) from teacherattendence"}}},
    };
}

bool SameStored(const QVariant &a, const QVariant &b)
{
    return a.isNull() == b.isNull() && a.toString() == b.toString();
}

} // namespace

class TestBadInput : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void everyBoxIsInTheTable();
    void awkwardInputIsRefusedOrKept();

private:
    void reset();
    std::unique_ptr<TestDatabase> db_;
    QString seedFile_;
};

void TestBadInput::initTestCase()
{
    db_ = std::make_unique<TestDatabase>();
    QVERIFY(db_->ok());
    SeedSmallSchool(*db_);
    seedFile_ = db_->folder() + "/seed.db";
    CloseDatabase();
    QVERIFY(QFile::copy(db_->file(), seedFile_));
    reset();
}

// Each input starts from the same small school.
void TestBadInput::reset()
{
    CloseDatabase();
    QFile::remove(db_->file());
    QVERIFY(QFile::copy(seedFile_, db_->file()));
    QString error;
    QVERIFY2(InitializeDatabase(&error), qPrintable(error));
    LoadSubjectSnapshot();
}

// Every window of the menu opens on the school, and every box it offers for typing is in
// the table (a box added later must say what it does with odd input).
void TestBadInput::everyBoxIsInTheTable()
{
    const QVector<WindowCase> cases = Cases();
    QSet<QString> windowsWithCases;
    for (const ChildWindowEntry &entry : ChildWindowEntries()) {
        MessageLog log;
        QSet<QString> found, covered;
        bool any = false;
        for (const WindowCase &c : cases) {
            if (c.menu != entry.menu)
                continue;
            any = true;
            std::unique_ptr<QWidget> w(entry.create());
            QVERIFY(w && ShowInFront(w.get()));
            c.prepare(w.get(), QString());
            for (const QString &b : TypeableBoxes(w.get()))
                found << b;
            for (const BoxRule &r : c.boxes) {
                covered << r.box;
                QVERIFY2(TypeableBoxes(w.get()).contains(r.box),
                         qPrintable(entry.menu + ": " + r.box + " cannot be typed into for " + c.what));
            }
        }
        if (!any) {
            std::unique_ptr<QWidget> w(entry.create());
            QVERIFY(w);
            for (const QString &b : TypeableBoxes(w.get()))
                found << b;
        }
        for (const QString &b : found)
            QVERIFY2(covered.contains(b), qPrintable(entry.menu + ": the box " + b + " is not in the table"));
        for (const QString &t : log.texts())
            QVERIFY2(!t.startsWith("Error :"), qPrintable(entry.menu + ": " + t));
    }
}

void TestBadInput::awkwardInputIsRefusedOrKept()
{
    int stored = 0, refused = 0;
    for (const WindowCase &c : Cases()) {
        for (const BoxRule &rule : c.boxes) {
            QVector<Probe> probes = TextProbes();
            if (rule.kind == Kind::Number)
                probes = NumberProbes() + probes.mid(1);
            if (rule.kind == Kind::Lookup)
                probes.first() = {"plain name", QStringLiteral("Bimal Das")}; // a teacher's name, pasted
            for (const Probe &probe : probes) {
                const QString where = QStringLiteral("%1 (%2), %3, %4").arg(c.menu, c.what, rule.box, probe.label);
                reset();
                MessageLog log;
                for (int i = 0; i < 3; ++i)
                    log.answer(hx::MsgResult::Yes); // "Add New Period System?" and the like
                std::unique_ptr<QWidget> w(Open(c.menu));
                QVERIFY2(w && ShowInFront(w.get()), qPrintable(where));
                c.prepare(w.get(), rule.box);
                const QVariant before = QueryQuiet(rule.readBack).value(0);

                int maxLength = 0;
                const QString held = Enter(w.get(), rule.box, probe.text, &maxLength);
                // A box may hold less than was pasted only when it has no room for more; a number
                // box may put zeros before it once left (the hour with two digits).
                const qsizetype extra = held.size() - probe.text.size();
                const bool zeroPadded = rule.kind == Kind::Number && extra > 0 && held.endsWith(probe.text)
                                        && held.left(extra) == QString(extra, QLatin1Char('0'));
                if (held != probe.text && !zeroPadded)
                    QVERIFY2(probe.text.size() > maxLength && held == probe.text.left(maxLength),
                             qPrintable(where + ": the box changed the text to " + held.left(40)));
                log.clear();
                for (const QString &b : c.press)
                    Press(w.get(), b);
                for (const QString &t : log.texts())
                    QVERIFY2(!t.startsWith("Error :"), qPrintable(where + ": " + t));
                const QVariant after = QueryQuiet(rule.readBack).value(0);

                // What the database should hold when the input is taken.
                QVariant expected;
                bool mayStore = true;
                switch (rule.kind) {
                case Kind::Text: expected = held; break;
                case Kind::Trimmed: expected = held.trimmed(); break;
                case Kind::Number: {
                    bool ok = false;
                    const QString t = held.trimmed().isEmpty() ? rule.blankStoredAs : held.trimmed();
                    const qlonglong n = t.toLongLong(&ok);
                    mayStore = ok;
                    expected = n;
                    break;
                }
                case Kind::Lookup:
                    mayStore = probe.text == QStringLiteral("Bimal Das");
                    expected = before.toInt() + 1;
                    break;
                }
                const bool isStored = mayStore && !after.isNull()
                                      && (rule.kind == Kind::Number || rule.kind == Kind::Lookup
                                              ? after.toLongLong() == expected.toLongLong()
                                              : after.toString() == expected.toString());
                const bool unchanged = SameStored(after, before);
                if (isStored) {
                    ++stored;
                    // Shown back after the window is opened again.
                    w.reset();
                    w.reset(Open(c.menu));
                    QVERIFY2(ShowInFront(w.get()), qPrintable(where));
                    if (c.show)
                        c.show(w.get());
                    const QString want = expected.toString();
                    if (!want.isEmpty() && rule.kind != Kind::Lookup) {
                        bool shown = false;
                        for (const QString &t : ShownTexts(w.get()))
                            shown = shown || t == want || (rule.kind != Kind::Number && t.contains(want))
                                    || (rule.kind == Kind::Number && t.trimmed().toLongLong() == expected.toLongLong()
                                        && !t.trimmed().isEmpty());
                        QVERIFY2(shown, qPrintable(where + ": stored but not shown after reopening"));
                    }
                } else if (!log.messages.isEmpty() && unchanged) {
                    ++refused;
                } else if (held.trimmed().isEmpty() && log.messages.isEmpty() && unchanged) {
                    // An empty box with nothing to store is passed over.
                } else {
                    QFAIL(qPrintable(QStringLiteral("%1: neither refused nor kept: typed %2, stored %3 (was %4), messages: %5")
                                         .arg(where, held.left(40), after.toString().left(40), before.toString().left(40),
                                              log.texts().join(" | "))));
                }
                // The plain value of each box must go in: otherwise the case never reached the save.
                if (QByteArray(probe.label).startsWith("plain"))
                    QVERIFY2(isStored, qPrintable(where + ": a plain value was not stored; messages: " + log.texts().join(" | ")));
                QCOMPARE(log.unexpectedQuestions, 0);
            }
        }
    }
    qInfo("%d inputs stored and shown back, %d refused with a message", stored, refused);
}

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
