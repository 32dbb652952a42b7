#pragma once
#include <QWidget>

class QLabel;

// Fills the main window behind the child windows with the school's name, address and logo.
class FrmBkGround : public QWidget {
    Q_OBJECT
public:
    explicit FrmBkGround(QWidget *parent = nullptr);
    // Reads the school's details again (after start-up and after they are saved).
    void refresh();
    void Form_Activate();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QLabel *Img;
    QLabel *LblMail;
    QLabel *LblLibName;
    QLabel *LblAdd1;
    QLabel *LblAdd2;
    QLabel *LblCityState;
};

// The program's own logo, drawn rather than shipped as a file.
QPixmap HoraluxLogo(int size);
