#pragma once
// Driving controls as a person does: arrow keys in combo boxes, digits typed into date
// pickers, mouse clicks on buttons, check boxes and list lines. The window must be shown.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

namespace input {

// Shows a window and waits until it can take clicks and keys.
inline bool Show(QWidget *w)
{
    w->show();
    w->activateWindow();
    return QTest::qWaitForWindowExposed(w);
}

// Brings the window holding a control to the front, as a click on it would.
inline bool Activate(QWidget *control)
{
    QWidget *w = control->window();
    w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}

// Moves a combo box with the arrow keys, from where it stands, to the `occurrence`-th item
// reading `text` (two teachers may share a name). Each key press is a choice of its own, as
// it is for the user.
inline bool ArrowTo(QComboBox *combo, const QString &text, int occurrence = 1)
{
    if (!combo || !Activate(combo))
        return false;
    int target = -1;
    for (int i = 0, seen = 0; i < combo->count() && target < 0; ++i)
        if (combo->itemText(i) == text && ++seen == occurrence)
            target = i;
    if (target < 0)
        return false;
    combo->setFocus();
    for (int i = 0; i <= combo->count() && combo->currentIndex() != target; ++i)
        QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
    return combo->currentIndex() == target;
}

// Types over the text of an editable combo box, as a name typed in instead of chosen.
inline bool TypeOver(QComboBox *combo, const QString &text)
{
    if (!combo || !combo->lineEdit() || !Activate(combo))
        return false;
    combo->setFocus();
    QTest::keyClick(combo->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(combo->lineEdit(), Qt::Key_Delete);
    QTest::keyClicks(combo->lineEdit(), text);
    return combo->currentText() == text;
}

// Types a date into a dd/mm/yyyy picker, day first.
inline bool TypeDate(QDateEdit *edit, const QDate &date)
{
    if (!edit)
        return false;
    // Tabbing into the picker selects its first section, the day; each full section moves on.
    if (!Activate(edit))
        return false;
    edit->clearFocus();
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(edit, date.toString(QStringLiteral("ddMMyyyy")));
    QTest::keyClick(edit, Qt::Key_Enter);
    return edit->date() == date;
}

inline void Click(QAbstractButton *b)
{
    if (!b || !Activate(b))
        return;
    // A check box takes the click on its box, at its left end.
    const QPoint at = qobject_cast<QCheckBox *>(b) ? QPoint(8, b->height() / 2) : b->rect().center();
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, at);
}

// Clicks the first line whose column reads `text`; false when there is none.
inline bool ClickLine(QTreeWidget *tree, int column, const QString &text, int occurrence = 1)
{
    if (!tree || !Activate(tree))
        return false;
    int seen = 0;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = tree->topLevelItem(i);
        if (item->text(column) != text || ++seen != occurrence)
            continue;
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualItemRect(item).center());
        return true;
    }
    return false;
}

} // namespace input
