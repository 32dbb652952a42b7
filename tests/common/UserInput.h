#pragma once
// A person at the keyboard and mouse: the window in front, rows clicked where they are drawn,
// text typed key by key, buttons reached by their Alt-shortcuts.
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTreeWidget>

// Shows the window and waits until it has the keyboard, as the window the user works in.
inline bool ShowInFront(QWidget *w)
{
    w->show();
    w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}

inline QTreeWidgetItem *RowWithText(QTreeWidget *t, const QString &text, int column = 0)
{
    for (int i = 0; t && i < t->topLevelItemCount(); ++i)
        if (t->topLevelItem(i)->text(column).trimmed() == text)
            return t->topLevelItem(i);
    return nullptr;
}

// A click on the row as it is drawn; Ctrl adds it to a selection of several.
inline bool ClickRow(QTreeWidget *t, const QString &text, Qt::KeyboardModifiers mods = {}, int column = 0)
{
    QTreeWidgetItem *item = RowWithText(t, text, column);
    if (!item)
        return false;
    t->scrollToItem(item);
    QTest::mouseClick(t->viewport(), Qt::LeftButton, mods, t->visualItemRect(item).center());
    return true;
}

inline bool ClickListItem(QListWidget *l, const QString &text)
{
    const auto found = l->findItems(text, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    l->scrollToItem(found.first());
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(found.first()).center());
    return true;
}

inline void ClickButton(QAbstractButton *b) { QTest::mouseClick(b, Qt::LeftButton); }

// Types text key by key, letters of any alphabet included.
inline void Type(QWidget *w, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(w, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
}

// Replaces a box's text the way a person does: into the box, select all, type.
inline void Retype(QLineEdit *e, const QString &text)
{
    QTest::mouseClick(e, Qt::LeftButton);
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(e, Qt::Key_Delete);
    else
        Type(e, text);
}

// Alt + the underlined letter, pressed where the focus is; waits until the button's press
// (shown briefly, as on screen) has turned into its click.
inline void AltKey(QWidget *window, char letter, QAbstractButton *button)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : window;
    QTest::keyClick(target, letter, Qt::AltModifier);
    QTRY_VERIFY(!button->isDown());
}
