#include "Lookups.h"

#include "Database.h"
#include "Platform.h"
#include "TimetableStore.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

QString SqlSafeText(const QString &text)
{
    QString s = text;
    s.replace(QLatin1String("'"), QLatin1String("''"));
    s.remove(QLatin1Char('?'));
    return s;
}

QString DayName(int day)
{
    static const char *names[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    return day >= 0 && day <= 5 ? QString::fromLatin1(names[day]) : QString();
}

int SubjectIdByName(const QString &subjectGroup)
{
    RsSubjects.moveFirst();
    return RsSubjects.find(QStringLiteral("subname"), subjectGroup.trimmed())
               ? RsSubjects.integer(QStringLiteral("subid"))
               : 0;
}

QString SubjectNameById(int subid)
{
    RsSubjects.moveFirst();
    return RsSubjects.find(QStringLiteral("subid"), subid) ? RsSubjects.text(QStringLiteral("SubName"))
                                                            : QString();
}

QString NameKey(const QString &name)
{
    // Composed form first, so an accent typed as a separate mark matches the precomposed one.
    return name.trimmed().normalized(QString::NormalizationForm_C).toCaseFolded();
}

bool SameName(const QString &a, const QString &b) { return NameKey(a) == NameKey(b); }

int FindNameIn(const Recordset &idAndName, const QString &name, int exceptId)
{
    // An exact match wins over one that differs only in letter case.
    const QString key = NameKey(name);
    int folded = 0;
    for (const QVariantList &row : idAndName.rows()) {
        const int id = row.value(0).toInt();
        if (id == exceptId && exceptId != 0)
            continue;
        const QString stored = row.value(1).toString();
        if (stored == name)
            return id;
        if (folded == 0 && NameKey(stored) == key)
            folded = id;
    }
    return folded;
}

int TeacherIdByName(const QString &teacherName)
{
    // SQLite's own case rules know only the English letters, so the names are compared here.
    return FindNameIn(OpenRecordset(QStringLiteral("select teacherid, teachername from teachers order by teacherid")),
                      teacherName);
}

bool TeacherExists(int teacherid)
{
    return teacherid > 0
        && QueryValue(QStringLiteral("select count(*) from teachers where teacherid = ?"), {teacherid}, 0).toInt() > 0;
}

bool SubjectTitleExists(int uniqueid)
{
    return uniqueid > 0
        && QueryValue(QStringLiteral("select count(*) from subjtype st, subjects s where st.uniqueid = ? "
                                     "and s.subid = st.subid"),
                      {uniqueid}, 0)
                   .toInt() > 0;
}

QString TeacherNameById(int teacherid)
{
    Recordset rs = QueryQuiet(QStringLiteral("select teachername from teachers where teacherid = ?"),
                              {teacherid});
    return rs.eof() ? QString() : rs.text(0);
}

QString ClassSectionExpr(const QString &alias)
{
    const QString p = alias.isEmpty() ? QString() : alias + QLatin1Char('.');
    return QStringLiteral("ifnull(%1class,'') || '-' || ifnull(%1section,'')").arg(p);
}

QString SubjectTextExpr(const QString &groupAlias, const QString &titleAlias)
{
    return QStringLiteral("ifnull(%1.subname,'') || ' ' || ifnull(%2.subtype,'')")
        .arg(groupAlias, titleAlias);
}

int SubjectUniqueIdByText(const QString &subjectText)
{
    const QString sql = QStringLiteral("select uniqueid, trim(%1) from subjtype st, subjects s "
                                       "where s.subid = st.subid order by s.subid, subtype")
                            .arg(SubjectTextExpr(QStringLiteral("s"), QStringLiteral("st")));
    return FindNameIn(OpenRecordset(sql), subjectText.trimmed());
}

QString SubjectTextByUniqueId(const QString &uniqueid)
{
    bool ok = false;
    const qlonglong id = uniqueid.trimmed().toLongLong(&ok);
    if (!ok)
        return QStringLiteral("0");
    const QString sql = QStringLiteral("select %1 as sub from subjtype st, subjects s "
                                       "where s.subid = st.subid and uniqueid = ?")
                            .arg(SubjectTextExpr(QStringLiteral("s"), QStringLiteral("st")));
    return QueryValue(sql, {id}, QStringLiteral("0")).toString();
}

int ClassIdByClassSection(const QString &classSection)
{
    const QStringList parts = classSection.split(QLatin1Char('-'));
    // "IX-" names a class without section, whether that section was stored empty or null.
    if (parts.size() > 1 && !parts[1].isEmpty())
        return QueryValue(QStringLiteral("select Classid from classsection where class = ? and section = ?"),
                          {parts[0], parts[1]}, 0)
            .toInt();
    return QueryValue(QStringLiteral("select Classid from classsection where class = ? "
                                     "and (section is null or section = '')"),
                      {parts[0]}, 0)
        .toInt();
}

bool RemoveSurplusPeriods(int periodsysid)
{
    Recordset rs = OpenRecordset(QStringLiteral("select cp.classid, cp.days, ps.p_no from classperiods cp, "
                                                "periodsystem ps where ps.periodsysid = ? "
                                                "and ps.periodsysid = cp.periodsysid"),
                                 {periodsysid});
    if (!rs.ok()) // without the list of classes the surplus lessons would silently stay
        return false;
    Transaction t;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        if (!store::RemoveClassDayLessons(rs.value("classid"), rs.text("days"), rs.value("p_no")))
            return false;
    }
    return t.commit();
}

// --- controls ---------------------------------------------------------------------------

static void fill(QComboBox *combo, const QString &sql, const QVariantList &params, bool withIds)
{
    combo->clear();
    Recordset rs = OpenRecordset(sql, params);
    for (const QVariantList &row : rs.rows()) {
        if (withIds)
            combo->addItem(row.value(0).toString(), row.value(1).toInt());
        else
            combo->addItem(row.value(0).toString());
    }
    combo->setCurrentIndex(-1); // filled, not yet chosen
}

void FillCombo(QComboBox *combo, const QString &sql, const QVariantList &params)
{
    fill(combo, sql, params, false);
}

void FillComboWithIds(QComboBox *combo, const QString &sql, const QVariantList &params)
{
    fill(combo, sql, params, true);
}

static const char *const kTypedText = "horaluxTypedText";

void TrackTypedText(QComboBox *combo)
{
    if (!combo || !combo->lineEdit())
        return;
    QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, combo,
                     [combo](const QString &text) { combo->setProperty(kTypedText, text); });
}

void ForgetTypedText(QComboBox *combo)
{
    if (combo)
        combo->setProperty(kTypedText, QVariant());
}

int ChosenId(const QComboBox *combo)
{
    if (!combo)
        return 0;
    const QString text = combo->currentText();
    const int current = combo->currentIndex();
    // A name typed in counts as typed even when the box has jumped to the first item of that
    // name: of two teachers so named, only a choice from the list says which one is meant.
    const bool typed = !text.isEmpty() && combo->property(kTypedText).toString() == text;
    if (!typed && current >= 0 && combo->itemText(current) == text)
        return combo->itemData(current).toInt();
    int found = -1;
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i).compare(text, Qt::CaseInsensitive) != 0)
            continue;
        if (found >= 0)
            return -1;
        found = i;
    }
    return found >= 0 ? combo->itemData(found).toInt() : 0;
}

static void clearControl(QWidget *w)
{
    if (auto *e = qobject_cast<QLineEdit *>(w)) {
        e->clear();
    } else if (auto *c = qobject_cast<QComboBox *>(w)) {
        if (c->isEditable())
            c->setEditText(QString());
        else
            c->setCurrentIndex(-1);
    } else if (auto *t = qobject_cast<QTextEdit *>(w)) {
        t->clear();
    } else if (auto *p = qobject_cast<QPlainTextEdit *>(w)) {
        p->clear();
    }
}

void ClearFormControls(QWidget *window)
{
    if (!window)
        return;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        // The line edit inside an editable combo box belongs to the combo box.
        if (qobject_cast<QLineEdit *>(w) && qobject_cast<QComboBox *>(w->parentWidget()))
            continue;
        if (qobject_cast<QLineEdit *>(w) && qobject_cast<QAbstractSpinBox *>(w->parentWidget()))
            continue;
        clearControl(w);
    }
}

void FillControlsFromRecord(const Recordset &rs, const QList<QWidget *> &controls)
{
    for (int i = 0; i < rs.fieldCount() && i < controls.size(); ++i) {
        QWidget *w = controls[i];
        const QVariant v = rs.value(i);
        const QString text = v.toString();
        if (v.isNull() || text.isEmpty()) {
            clearControl(w);
            continue;
        }
        if (auto *e = qobject_cast<QLineEdit *>(w)) {
            e->setText(text);
        } else if (auto *c = qobject_cast<QComboBox *>(w)) {
            if (c->isEditable()) {
                c->setEditText(text);
            } else {
                const int at = c->findText(text, Qt::MatchFixedString);
                if (at >= 0) // a value the list does not hold is passed over
                    c->setCurrentIndex(at);
            }
        } else if (auto *d = qobject_cast<QDateEdit *>(w)) {
            const QDate date = FromIsoDate(text);
            if (date.isValid())
                d->setDate(date);
        } else if (auto *t = qobject_cast<QTextEdit *>(w)) {
            t->setPlainText(text);
        } else if (auto *p = qobject_cast<QPlainTextEdit *>(w)) {
            p->setPlainText(text);
        }
    }
}

void SwapCaption(QWidget *control, int button, int mode)
{
    if (!control || button != 1)
        return;
    const QString caption = hx::Caption(control);
    if (mode == 3) {
        hx::SetCaption(control, control->property("tag").toString());
        control->setProperty("tag", caption);
    } else {
        hx::SetCaption(control, control->toolTip());
        control->setToolTip(caption);
    }
}

quint64 TeacherUnavailableCells(int teacherid)
{
    quint64 cells = 0;
    const Recordset rs = QueryQuiet(QStringLiteral("select period * 6 + weekday from teacherunavailable "
                                                   "where teacherid = ? and weekday between 0 and 5 and period between 0 and 8"),
                                    {teacherid});
    for (const QVariantList &row : rs.rows())
        cells |= quint64(1) << row.value(0).toInt();
    return cells;
}
