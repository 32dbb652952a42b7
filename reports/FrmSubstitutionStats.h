#pragma once
// "Substitution Statistics": how often each teacher has stood in, printed from a template.
#include <QDate>
#include <QStringList>
#include <QWidget>

class QDateEdit;
class QPushButton;

class SubstitutionStatistics {
public:
    // The formulas of a request: the date whose week and month are counted, and the first
    // date of the count "since".
    static QStringList Formulas(const QDate &since, const QDate &today);
    // Prints the report; false when it could not be produced (the user was told).
    static bool Print(const QDate &since, const QDate &today = QDate::currentDate());
};

class FrmSubstitutionStats : public QWidget {
    Q_OBJECT
public:
    explicit FrmSubstitutionStats(QWidget *parent = nullptr);

    QDateEdit *DTPSince = nullptr;
    QPushButton *CmdPrint = nullptr;
    QPushButton *CmdExit = nullptr;

private slots:
    void CmdPrint_Click();
};
