#include "FrmBkGround.h"

#include "Database.h"

#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

QPixmap HoraluxLogo(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0, 90, 140));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0, 0, size, size), size / 8.0, size / 8.0);
    p.setPen(QPen(Qt::white, size / 16.0));
    p.setBrush(Qt::NoBrush);
    const QRectF face(size * 0.18, size * 0.18, size * 0.64, size * 0.64);
    p.drawEllipse(face);
    p.drawLine(face.center(), face.center() + QPointF(0, -size * 0.24));
    p.drawLine(face.center(), face.center() + QPointF(size * 0.17, 0));
    return pm;
}

FrmBkGround::FrmBkGround(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmBkGround"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(236, 241, 246));
    setPalette(pal);

    auto label = [this](const char *name, int pointSize, bool bold) {
        auto *l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        QFont f = l->font();
        f.setPointSize(pointSize);
        f.setBold(bold);
        l->setFont(f);
        l->setAlignment(Qt::AlignCenter);
        return l;
    };
    Img = label("Img", 10, false);
    LblMail = label("LblMail", 9, false);
    LblMail->setText(QStringLiteral("Horalux school timetables"));
    LblLibName = label("LblLibName", 26, true);
    LblAdd1 = label("LblAdd1", 14, false);
    LblAdd2 = label("LblAdd2", 14, false);
    LblCityState = label("LblCityState", 14, false);
    LblLibName->move(0, 60);
    LblAdd1->move(0, 120);
    LblAdd2->move(0, 150);
    LblCityState->move(0, 180);
    Img->resize(128, 128);
    LblMail->resize(220, 20);
    // As designed: the contact line stands to the left of the logo's foot.
    Img->move(400, 300);
    LblMail->move(400 - 230, 300 + 108);
}

void FrmBkGround::refresh()
{
    Recordset rs = QueryQuiet(QStringLiteral("select libname, add1, add2, city, state, logopath from libdtl"));
    LblLibName->setText(rs.text("libname"));
    LblAdd1->setText(rs.text("add1"));
    LblAdd2->setText(rs.text("add2"));
    QStringList cityState;
    for (const QString &part : {rs.text("city"), rs.text("state")})
        if (!part.trimmed().isEmpty())
            cityState << part.trimmed();
    LblCityState->setText(cityState.join(QStringLiteral(", ")));
    QPixmap logo;
    const QString path = rs.text("logopath");
    if (!path.isEmpty() && QFileInfo(path).isFile())
        logo.load(path);
    if (logo.isNull())
        logo = HoraluxLogo(128);
    Img->setPixmap(logo.scaled(128, 128, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    // Lines stand one under another; an empty address line leaves no gap.
    int y = 60;
    for (QLabel *l : {LblLibName, LblAdd1, LblAdd2, LblCityState}) {
        l->adjustSize();
        l->move(l->x(), y);
        if (!l->text().isEmpty())
            y += l->height() + 12;
    }
    Form_Activate();
}

void FrmBkGround::Form_Activate()
{
    Img->hide();
    const int dx = LblMail->x() - Img->x();
    const int dy = LblMail->y() - Img->y();
    Img->move(width() - Img->width() - 4, height() - Img->height() - 4);
    LblMail->move(Img->x() + dx, Img->y() + dy);
    for (QLabel *l : {LblLibName, LblAdd1, LblAdd2, LblCityState})
        l->move(width() / 2 - l->width() / 2, l->y());
    Img->show();
}

void FrmBkGround::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Activate();
}
