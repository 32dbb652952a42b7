#pragma once
// "Generate Timetable" apart from its window: the school read into the generator's snapshot (on
// the user-interface thread), the generator run on a worker thread, the result described, and
// the result saved through the timetable store in one transaction. The tool horalux-generate
// uses the same class, so the window and the tool build and save alike.
#include "Generator.h"
#include "TimetableStore.h"

#include <QColor>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <thread>

namespace gen = hx::gen;

struct GenItem {
    int id = 0;
    QString text;
};

// The look of one cell of a generated week, in the editors' colours.
enum class GenCellLook {
    Outside,     // not a period of the class (or no class has it)
    Free,        // a period with no lesson
    Kept,        // a lesson that was there before
    Placed,      // a lesson the generator placed
    Unavailable, // teacher view: a period the teacher cannot teach
    Elsewhere,   // teacher view: a lesson in a class that is not being built
};

class GenerateModel {
public:
    // Class-sections that have a curriculum, in the school's order.
    static QVector<GenItem> classList();

    // Reads what the generator needs for the chosen classes. With keepLessons their lessons
    // stay where they are; otherwise their weeks are built from empty. The lessons of every
    // other class bind their teachers. False when a statement failed (the error shown).
    bool read(const QVector<int> &classIds, bool keepLessons);
    const gen::Snapshot &snapshot() const { return snapshot_; }

    // The generator's options with the teachers' day limit (0: the week spread evenly).
    gen::Options options(std::uint64_t seed, int teacherDayLimit) const;

    void setResult(gen::Result result);
    bool hasResult() const { return hasResult_; }
    const gen::Result &result() const { return result_; }
    // Drops the result; nothing was written.
    void discard();
    // Writes the week of every generated class through the store, one transaction with
    // history rows dated today. The result stays when nothing was saved.
    store::SaveResult save();

    // "placed P of L lessons, C clashes, S spread faults, in T ms", T the generator's time
    // unless given.
    QString summary(qint64 ms = -1) const;
    // Each lesson not placed and each impossible input, with its reason.
    QStringList unplacedLines() const;
    // The teachers who have lessons in the result, by name.
    QVector<GenItem> resultTeachers() const;
    QVector<GenItem> resultClasses() const;

    // A generated class's or a teacher's week: caption (as the editors write it) and look.
    QString classCaption(int classId, int cell) const;
    GenCellLook classLook(int classId, int cell) const;
    QString teacherCaption(int teacherId, int cell) const;
    GenCellLook teacherLook(int teacherId, int cell) const;
    static QColor colourOf(GenCellLook look);
    static QString lookName(GenCellLook look); // the legend's words

    QString className(int classId) const { return classNames_.value(classId, QStringLiteral("class %1").arg(classId)); }
    QString teacherName(int teacherId) const;
    QString subjectName(int subjectId) const;

private:
    const gen::Lesson *lessonAt(int classId, int cell) const;
    bool wasKept(const gen::Lesson &l) const;

    gen::Snapshot snapshot_;
    QHash<int, store::LessonRows> loaded_; // the generated classes' rows as read
    QHash<int, QString> classNames_;
    mutable QHash<int, QString> teacherNames_;
    mutable QHash<int, QString> subjectNames_;
    // Lessons of the classes not being built, per teacher: cell -> "VII-A" CR "Maths".
    QHash<int, QHash<int, QString>> elsewhere_;
    gen::Result result_;
    bool hasResult_ = false;
};

// The generator on a worker thread: progress and the end come back queued to the thread that
// owns the job. Stop keeps the best week found so far; destroying the job stops and waits.
class GenerateJob : public QObject {
    Q_OBJECT
public:
    explicit GenerateJob(QObject *parent = nullptr) : QObject(parent) {}
    ~GenerateJob() override;

    // The snapshot is copied: the caller's may change while the worker runs.
    void start(const gen::Snapshot &snapshot, gen::Options options);
    void stop() { cancel_ = true; }
    bool running() const { return running_; }
    gen::Result takeResult() { return std::move(result_); }

signals:
    void progressed(int phase, int placed, int total, int spreadFaults, int gaps);
    void finished();

private:
    std::thread thread_;
    std::atomic<bool> cancel_{false};
    std::atomic<long long> lastPost_{0};
    bool running_ = false;
    gen::Snapshot snapshot_;
    gen::Result result_;
};
