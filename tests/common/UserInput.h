#pragma once
// Driving controls as a person does: arrow keys in combo boxes, digits typed into date
// pickers, mouse clicks on buttons, check boxes and list lines, text typed key by key,
// buttons reached by their Alt-shortcuts. The window must be shown.
#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QApplication>
#include <QLineEdit>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QStyleOptionComboBox>
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

// Opens the combo box's list with a click on its arrow, moves to the item with the arrow keys
// and takes it with Enter: one choice, as the user makes it.
inline bool Pick(QComboBox *combo, const QString &text)
{
    const int target = combo ? combo->findText(text) : -1;
    if (target < 0 || !combo->isVisible() || !combo->isEnabled() || !Activate(combo))
        return false;
    QStyleOptionComboBox opt;
    opt.initFrom(combo);
    opt.editable = combo->isEditable();
    opt.subControls = QStyle::SC_All;
    const QRect arrow = combo->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxArrow, combo);
    QTest::mouseClick(combo, Qt::LeftButton, {}, arrow.center());
    QAbstractItemView *view = combo->view();
    if (!QTest::qWaitFor([view] { return view->isVisible(); }))
        return false;
    for (int n = 0; n <= combo->count() && view->currentIndex().row() != target; ++n)
        QTest::keyClick(view, view->currentIndex().row() < target ? Qt::Key_Down : Qt::Key_Up);
    QTest::keyClick(view, Qt::Key_Return);
    // The closed list hands the keyboard back to the combo box's window, as the desktop does.
    return QTest::qWaitFor([view] { return !view->isVisible(); }) && Activate(combo) && combo->currentIndex() == target;
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

// Chooses a menu entry with the mouse: its menu's title in the menu bar, then the entry.
inline bool ChooseMenu(QMenuBar *bar, QAction *entry)
{
    for (QAction *title : bar && entry && Activate(bar) ? bar->actions() : QList<QAction *>()) {
        QMenu *menu = title->menu();
        if (!menu || !menu->actions().contains(entry))
            continue;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
        if (!QTest::qWaitFor([menu] { return menu->isVisible(); }) || !entry->isEnabled())
            return false;
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
        return true;
    }
    return false;
}

} // namespace input

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

// Pastes text copied from elsewhere over a box's content, then leaves the box with Tab.
inline void PasteOver(QLineEdit *e, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    QTest::mouseClick(e, Qt::LeftButton);
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_Tab);
}

// A click on the first column of a line of a list with ticks (where its box is), then Space
// to tick or untick it.
inline bool ToggleTick(QTreeWidget *t, const QString &text)
{
    QTreeWidgetItem *item = RowWithText(t, text);
    if (!item)
        return false;
    t->scrollToItem(item);
    const QPoint at(t->header()->sectionViewportPosition(0) + t->header()->sectionSize(0) / 2,
                    t->visualItemRect(item).center().y());
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, at);
    QTest::keyClick(t, Qt::Key_Space);
    return true;
}

// Alt + the underlined letter, pressed where the focus is; waits until the button's press
// (shown briefly, as on screen) has turned into its click.
inline void AltKey(QWidget *window, char letter, QAbstractButton *button)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : window;
    QTest::keyClick(target, letter, Qt::AltModifier);
    QTRY_VERIFY(!button->isDown());
}
