#include "frmTeacher.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {
QDateEdit *dateBox(const char *name)
{
    auto *d = new QDateEdit;
    d->setObjectName(name);
    d->setDisplayFormat("dd/MM/yyyy");
    d->setCalendarPopup(true);
    return d;
}
} // namespace

frmTeacher::frmTeacher(QWidget *parent) : QWidget(parent)
{
    setObjectName("frmTeacher");
    hx::SetCaption(this, "Teachers' Details");
    auto *grid = new QGridLayout;
    int row = 0, col = 0;
    // Two columns of labelled boxes, filled left to right.
    auto add = [&](const QString &label, QWidget *w) {
        auto *l = new QLabel(label);
        l->setBuddy(w);
        grid->addWidget(l, row, col * 2);
        grid->addWidget(w, row, col * 2 + 1);
        if (++col == 2) { col = 0; ++row; }
    };
    auto line = [&](const char *name, const QString &label) {
        auto *e = new QLineEdit;
        e->setObjectName(name);
        add(label, e);
        return e;
    };
    auto combo = [&](const char *name, const QString &label, const QStringList &items, bool editable) {
        auto *c = new QComboBox;
        c->setObjectName(name);
        c->setEditable(editable);
        c->addItems(items);
        add(label, c);
        return c;
    };
    txtUniqueID = line("txtUniqueID", "Unique Identification");
    txtUniqueID->setReadOnly(true);
    txtTeacherName = line("txtTeacherName", "Teacher Name");
    txtShortName = line("txtShortName", "Short Name");
    TxtDesig = line("TxtDesig", "Designation");
    cmbGender = combo("cmbGender", "Gender", TeacherRegister::Genders(), false);
    txtAdd = line("txtAdd", "Address");
    txtCity = line("txtCity", "City");
    cmbState = combo("cmbState", "State", TeacherRegister::States(), true);
    txtPhone = line("txtPhone", "Phone No");
    txtEmail = line("txtEmail", "E-Mail");
    dtpDOJ = dateBox("dtpDOJ");
    add("Date of Join", dtpDOJ);
    txtReligion = line("txtReligion", "Religion");
    cmbBloodgroup = combo("cmbBloodgroup", "Blood Group", TeacherRegister::BloodGroups(), false);
    dtpDOB = dateBox("dtpDOB");
    add("Date of Birth", dtpDOB);
    cmbMaritalStatus = combo("cmbMaritalStatus", "Marital Status", TeacherRegister::MaritalStatuses(), false);
    {
        // The date of marriage is optional: the tick says whether there is one.
        auto *box = new QWidget;
        auto *h = new QHBoxLayout(box);
        h->setContentsMargins(0, 0, 0, 0);
        chkMarDt = new QCheckBox;
        chkMarDt->setObjectName("chkMarDt");
        chkMarDt->setAccessibleName("Date of Marriage given");
        DtpMarDt = dateBox("DtpMarDt");
        DtpMarDt->setEnabled(false);
        h->addWidget(chkMarDt);
        h->addWidget(DtpMarDt, 1);
        connect(chkMarDt, &QCheckBox::toggled, DtpMarDt, &QWidget::setEnabled);
        add("Date of Marriage", box);
        DtpMarDt->setAccessibleName("Date of Marriage");
    }
    TxtHusband = line("TxtHusband", "Husband's Name");
    txtFatherName = line("txtFatherName", "Father's Name");
    txtMotherName = line("txtMotherName", "Mother's Name");
    txtMotherT = line("txtMotherT", "Mother Tongue");
    txtRemarks = line("txtRemarks", "Qualification");

    Frame6 = new QGroupBox;
    Frame6->setObjectName("Frame6");
    auto *pv = new QVBoxLayout(Frame6);
    ImgPhoto = new QLabel;
    ImgPhoto->setObjectName("ImgPhoto");
    ImgPhoto->setFixedSize(120, 140);
    ImgPhoto->setAlignment(Qt::AlignCenter);
    ImgPhoto->setFrameShape(QFrame::Box);
    ImgPhoto->setToolTip("Click Here to specify the picture file of person");
    ImgPhoto->setAccessibleName("Photo");
    ImgPhoto->installEventFilter(this);
    Frame6->installEventFilter(this);
    pv->addWidget(ImgPhoto);

    Frame1 = new QGroupBox("Teacher List");
    Frame1->setObjectName("Frame1");
    auto *lv = new QVBoxLayout(Frame1);
    lvTeacherList = new QTreeWidget;
    lvTeacherList->setObjectName("lvTeacherList");
    lvTeacherList->setHeaderLabels({"Teacher Name", "TeacherID"});
    lvTeacherList->setRootIsDecorated(false);
    lvTeacherList->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    lv->addWidget(lvTeacherList);

    auto button = [this](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption);
        b->setObjectName(name);
        return b;
    };
    cmdSave = button("cmdSave", "&Save");
    CmdDelete = button("CmdDelete", "&Delete");
    cmbPrevious = button("cmbPrevious", "&Previous");
    cmdNext = button("cmdNext", "&Next");
    cmdCancel = button("cmdCancel", "E&xit");
    CmdDelete->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {cmdSave, CmdDelete, cmbPrevious, cmdNext, cmdCancel})
        buttons->addWidget(b);

    auto *left = new QVBoxLayout;
    left->addLayout(grid);
    left->addStretch();
    auto *right = new QVBoxLayout;
    right->addWidget(Frame6, 0, Qt::AlignHCenter);
    right->addWidget(Frame1, 1);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 3);
    top->addLayout(right, 2);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addLayout(buttons);

    connect(cmdSave, &QPushButton::clicked, this, &frmTeacher::cmdSave_Click);
    connect(CmdDelete, &QPushButton::clicked, this, &frmTeacher::CmdDelete_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmTeacher::cmdCancel_Click);
    connect(cmbPrevious, &QPushButton::clicked, this, &frmTeacher::cmbPrevious_Click);
    connect(cmdNext, &QPushButton::clicked, this, &frmTeacher::cmdNext_Click);
    connect(lvTeacherList, &QTreeWidget::itemClicked, this, [this] { loadSelected(); });
    // Moving through the list with the keys loads the highlighted teacher as a click does, so
    // that Save and Delete act on the teacher the list shows.
    connect(lvTeacherList, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item && item->text(1).toInt() != teacherid_)
            loadSelected();
    });
    connect(cmbMaritalStatus, &QComboBox::currentTextChanged, this, &frmTeacher::cmbMaritalStatus_Change);
    connect(cmbGender, &QComboBox::currentTextChanged, this, &frmTeacher::cmbMaritalStatus_Change);
    connect(txtTeacherName, &QLineEdit::editingFinished, this, &frmTeacher::uniqueID);
    for (QLineEdit *e : findChildren<QLineEdit *>())
        e->installEventFilter(this);

    choosePhoto_ = [](QWidget *p) {
        return QFileDialog::getOpenFileName(p, "Photo", QString(), "Pictures (*.bmp *.jpg *.jpeg *.png);;All Files (*)");
    };
    hx::NameControlsForAccessibility(this);

    // Opening: defaults, the list, and the first teacher on show when there is one.
    ClearFields();
    Fill_Teacher_List();
    editing_ = false;
    if (lvTeacherList->topLevelItemCount() > 0) {
        lvTeacherList->setCurrentItem(lvTeacherList->topLevelItem(0));
        loadSelected();
        CmdDelete->setEnabled(false); // on opening Delete waits for a teacher to be picked
    }
}

// Closing the window takes the focus from the name box, and its editingFinished would reach a
// window already half taken apart.
frmTeacher::~frmTeacher() { txtTeacherName->disconnect(this); }

void frmTeacher::ClearFields()
{
    for (QLineEdit *e : {txtTeacherName, txtShortName, txtAdd, txtPhone, txtEmail, txtFatherName,
                         txtMotherName, txtMotherT, txtRemarks, TxtHusband, txtUniqueID})
        e->clear();
    const TeacherRecord d = TeacherRegister::Defaults(QDate::currentDate());
    cmbGender->setCurrentText(d.gender);
    txtCity->setText(d.city);
    cmbState->setCurrentText(d.state);
    txtReligion->setText(d.religion);
    cmbBloodgroup->setCurrentIndex(0);
    cmbMaritalStatus->setCurrentIndex(0);
    dtpDOB->setDate(QDate::currentDate());
    dtpDOJ->setDate(QDate::currentDate());
    showPhoto(QString());
    photoPath_.clear();
    teacherid_ = 0; // no teacher on show
    cmbMaritalStatus_Change();
}

void frmTeacher::Fill_Teacher_List()
{
    {
        const QSignalBlocker block(lvTeacherList);
        lvTeacherList->clear();
        for (const TeacherListItem &t : TeacherRegister::List())
            new QTreeWidgetItem(lvTeacherList, {t.text, QString::number(t.teacherid)});
    }
    Frame1->setTitle(TeacherRegister::ListCaption(lvTeacherList->topLevelItemCount()));
    // A refilled list has no teacher picked: Delete waits for the next pick.
    CmdDelete->setEnabled(false);
}

void frmTeacher::loadSelected()
{
    QTreeWidgetItem *item = lvTeacherList->currentItem();
    if (!item)
        return;
    teacherid_ = item->text(1).toInt();
    Fill_Boxes(teacherid_);
    editing_ = true;
    setCancelCaption(true);
    CmdDelete->setEnabled(true);
}

static void chooseListed(QComboBox *combo, const QString &value)
{
    // An empty or unknown value shows an empty box, never the previous teacher's choice.
    combo->setCurrentIndex(value.isEmpty() ? -1 : combo->findText(value, Qt::MatchFixedString));
}

void frmTeacher::Fill_Boxes(int teacherid)
{
    const std::optional<TeacherRecord> r = TeacherRegister::Load(teacherid);
    if (!r)
        return;
    txtUniqueID->setText(r->uniqueid);
    txtTeacherName->setText(r->teachername);
    txtShortName->setText(r->shortname);
    TxtDesig->setText(r->designation);
    chkMarDt->setChecked(r->dom.isValid());
    if (r->dom.isValid())
        DtpMarDt->setDate(r->dom);
    chooseListed(cmbGender, r->gender);
    txtAdd->setText(r->address);
    txtCity->setText(r->city);
    cmbState->setCurrentText(r->state);
    txtPhone->setText(r->phone);
    txtEmail->setText(r->email);
    dtpDOJ->setDate(r->doj);
    chooseListed(cmbBloodgroup, r->bloodgroup);
    dtpDOB->setDate(r->dob);
    chooseListed(cmbMaritalStatus, r->maritalstatus);
    txtFatherName->setText(r->fathername);
    txtMotherName->setText(r->mothername);
    txtRemarks->setText(r->qualification);
    txtReligion->setText(r->religion);
    txtMotherT->setText(r->mothertongue);
    TxtHusband->setText(r->husbandname);
    photoPath_ = r->photopath;
    showPhoto(photoPath_);
}

TeacherRecord frmTeacher::typedRecord() const
{
    TeacherRecord r;
    r.uniqueid = txtUniqueID->text();
    r.teachername = txtTeacherName->text();
    r.shortname = txtShortName->text();
    r.designation = TxtDesig->text();
    r.dom = chkMarDt->isChecked() ? DtpMarDt->date() : QDate();
    r.gender = cmbGender->currentText();
    r.address = txtAdd->text();
    r.city = txtCity->text();
    r.state = cmbState->currentText();
    r.phone = txtPhone->text();
    r.email = txtEmail->text();
    r.doj = dtpDOJ->date();
    r.bloodgroup = cmbBloodgroup->currentText();
    r.dob = dtpDOB->date();
    r.maritalstatus = cmbMaritalStatus->currentText();
    r.fathername = txtFatherName->text();
    r.mothername = txtMotherName->text();
    r.mothertongue = txtMotherT->text();
    r.qualification = txtRemarks->text();
    r.religion = txtReligion->text();
    r.photopath = photoPath_;
    r.husbandname = TxtHusband->text();
    r.teacherid = teacherid_;
    return r;
}

void frmTeacher::uniqueID()
{
    if (editing_ || txtTeacherName->text().trimmed().isEmpty())
        return;
    QString refusal;
    const QString code = TeacherRegister::NextUniqueId(txtTeacherName->text().trimmed(), &refusal);
    if (!refusal.isEmpty())
        hx::MsgBox(refusal, hx::MsgButtons::Ok, hx::MsgIcon::Critical, "Invalid Data");
    txtUniqueID->setText(code);
}

void frmTeacher::cmdSave_Click()
{
    // A new teacher's code follows the name as it stands now, also when Save is pressed
    // by its shortcut without the name box losing the focus.
    if (!editing_)
        uniqueID();
    TeacherRecord r = typedRecord();
    // Both checks speak, so an empty name and a bad date give two messages.
    bool failed = false;
    for (const auto &f : {TeacherRegister::CheckEmpty(r), TeacherRegister::CheckDates(r, QDate::currentDate())}) {
        if (f) {
            hx::MsgBox(f->text, hx::MsgButtons::Ok, f->icon, f->title);
            failed = true;
        }
    }
    if (failed) {
        if (txtTeacherName->text().trimmed().isEmpty())
            txtTeacherName->setFocus();
        return;
    }
    if (!TeacherRegister::NameIsFree(r.teachername, editing_ ? teacherid_ : 0)) {
        txtTeacherName->setFocus();
        return;
    }
    const int position = lvTeacherList->currentItem()
        ? lvTeacherList->indexOfTopLevelItem(lvTeacherList->currentItem()) : -1;
    const bool saved = editing_ ? TeacherRegister::Update(r) : TeacherRegister::Insert(r) != 0;
    if (!saved)
        return; // the message was shown; the typed record stays for another try
    ClearFields();
    Fill_Teacher_List();
    if (position >= 0 && position < lvTeacherList->topLevelItemCount()) {
        lvTeacherList->setCurrentItem(lvTeacherList->topLevelItem(position));
        loadSelected();
    } else {
        editing_ = false;
        setCancelCaption(false);
    }
}

void frmTeacher::CmdDelete_Click()
{
    // Only the teacher highlighted in the list, named as stored, whatever the boxes hold now.
    QTreeWidgetItem *item = lvTeacherList->currentItem();
    const std::optional<TeacherRecord> shown = item ? TeacherRegister::Load(item->text(1).toInt()) : std::nullopt;
    if (!shown || !editing_ || shown->teacherid != teacherid_) {
        CmdDelete->setEnabled(false);
        return;
    }
    if (hx::MsgBox("Do you want to delete information of " + shown->teachername, hx::MsgButtons::YesNo,
                   hx::MsgIcon::Question, "Delete Confirmation") != hx::MsgResult::Yes)
        return;
    if (TeacherRegister::Remove(shown->uniqueid))
        Fill_Teacher_List();
}

void frmTeacher::cmdCancel_Click()
{
    if (cmdCancel->text() == "&Cancel") {
        ClearFields();
        editing_ = false;
        setCancelCaption(false);
        CmdDelete->setEnabled(false);
    } else {
        hx::CloseWindow(this);
    }
}

void frmTeacher::cmbPrevious_Click()
{
    const int i = lvTeacherList->indexOfTopLevelItem(lvTeacherList->currentItem());
    if (i > 0) {
        lvTeacherList->setCurrentItem(lvTeacherList->topLevelItem(i - 1));
        loadSelected();
    }
}

void frmTeacher::cmdNext_Click()
{
    const int i = lvTeacherList->indexOfTopLevelItem(lvTeacherList->currentItem());
    if (i >= 0 && i + 1 < lvTeacherList->topLevelItemCount()) {
        lvTeacherList->setCurrentItem(lvTeacherList->topLevelItem(i + 1));
        loadSelected();
    }
}

void frmTeacher::ImgPhoto_Click()
{
    if (txtTeacherName->text().isEmpty()) {
        hx::MsgBox("Enter Teacher Name First", hx::MsgButtons::Ok, hx::MsgIcon::Information, "Incomplete Data");
        return;
    }
    const QString file = choosePhoto_(this);
    if (file.isEmpty())
        return;
    if (!TeacherRegister::IsPhotoFile(file)) {
        showPhoto(QString());
        photoPath_.clear();
        hx::MsgBox("Provide Bitmap File", hx::MsgButtons::Ok, hx::MsgIcon::Critical, "Invalid File Format");
        return;
    }
    photoPath_ = file;
    showPhoto(file);
}

void frmTeacher::showPhoto(const QString &path)
{
    // A missing picture file leaves the picture empty without a message.
    QPixmap p;
    if (!path.isEmpty() && p.load(path))
        ImgPhoto->setPixmap(p.scaled(ImgPhoto->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        ImgPhoto->setPixmap(QPixmap());
}

void frmTeacher::cmbMaritalStatus_Change()
{
    TxtHusband->setEnabled(TeacherRegister::HusbandApplies(cmbGender->currentText(), cmbMaritalStatus->currentText()));
}

void frmTeacher::setCancelCaption(bool cancel)
{
    cmdCancel->setText(cancel ? "&Cancel" : "E&xit");
}

bool frmTeacher::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == ImgPhoto || watched == Frame6) && event->type() == QEvent::MouseButtonRelease) {
        ImgPhoto_Click();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (cmdCancel->text() == "E&xit" && !key->text().isEmpty()) {
            setCancelCaption(true); // a new record is being typed
            editing_ = false;
        }
        const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (watched == txtTeacherName && !command && key->text().size() == 1 && key->text()[0].isLetter()) {
            const QChar c = TeacherRegister::NameKeyCase(txtTeacherName->text().left(txtTeacherName->cursorPosition()),
                                                         key->text()[0]);
            txtTeacherName->insert(QString(c));
            return true;
        }
    }
    if (watched == txtTeacherName && event->type() == QEvent::KeyRelease) {
        // A name of one character is that character in upper case, however it got there.
        const QString t = txtTeacherName->text();
        if (t.size() == 1 && t != t.toUpper()) {
            txtTeacherName->setText(t.toUpper());
            txtTeacherName->setCursorPosition(1);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmTeacher::keyPressEvent(QKeyEvent *event)
{
    if (cmdCancel->text() == "E&xit" && !event->text().isEmpty()) {
        setCancelCaption(true);
        editing_ = false;
    }
    QWidget::keyPressEvent(event);
}
