#pragma once
// "Substitution Slip": the day's substitutions printed for a chosen date.
#include <QDate>
#include <QStringList>
#include <QWidget>

class QDateEdit;
class QLabel;
class QPushButton;

// The controls of a window that prints a report for a date: a labelled date picker above
// "&Print " and "E&xit", laid out and ordered as in the substitution slip.
struct DatePrintControls {
    QLabel *label = nullptr;
    QDateEdit *date = nullptr;
    QPushButton *print = nullptr;
    QPushButton *exit = nullptr;
};
DatePrintControls AddDatePrintControls(QWidget *window, const QString &caption, const QString &labelName,
                                       const QString &dateName);

// What the slip asks of the report component for a date.
class SubstitutionSlip {
public:
    // Only the substitution records of the date.
    static QString Selection(const QDate &date);
    // The slip's date formula; the school formula comes with every request.
    static QStringList Formulas(const QDate &date);
    // Prints the slip; false when the report could not be produced (the user was told).
    static bool Print(const QDate &date);
};

class FrmReports : public QWidget {
    Q_OBJECT
public:
    explicit FrmReports(QWidget *parent = nullptr);

    QDateEdit *DTP = nullptr;
    QPushButton *CmdPrint = nullptr;
    QPushButton *CmdExit = nullptr;

private slots:
    void CmdPrint_Click();
    void CmdExit_Click();

private:
    void Form_Load();
};
