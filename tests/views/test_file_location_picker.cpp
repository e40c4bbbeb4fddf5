#include "file_bytes.h"
#include "views/file_location_picker.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>

class FileLocationPickerTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        drive.emplace();
        work = drive->path() + "/work";
        QVERIFY(QDir().mkpath(work + "/archive"));
        for (const char* name : {"a.ini", "B.INI", "notes.txt", "README", "archive/old.ini"})
            WriteFileBytes(work + "/" + name, {});
        const auto volumes = [this] { return QStringList{drive->path(), "/unready"}; };
        picker.emplace(nullptr, volumes, work);
        picker->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*picker));
    }
    void cleanup() { picker.reset(); }

    // A pattern the picker cannot use turns the box red and keeps the list.
    void patterns_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("files");
        QTest::addColumn<QColor>("colour");
        const auto row = [](const char* pattern, const char* files, QColor colour = Qt::white) {
            QTest::newRow(pattern) << QString(pattern) << QString(files) << colour;
        };
        row("*.*", "a.ini B.INI notes.txt README");
        row("*.ini", "a.ini B.INI");
        row("*.txt; ?.ini", "a.ini B.INI notes.txt");
        row("*.", "README");
        row("*.ini|*.txt", "notes.txt", Qt::red);
    }
    void patterns() {
        QLineEdit* text2 = find<QLineEdit>("Text2");
        QCOMPARE(text2->text(), QString("*.*"));
        text2->setText("*.txt");
        QFETCH(QString, pattern);
        text2->setText(pattern);
        QTEST(files(), "files");
        QTEST(text2->palette().color(QPalette::Base), "colour");
        text2->setText("*.ini");
        QCOMPARE(text2->palette().color(QPalette::Base), QColor(Qt::white));
    }

    // A double click opens a folder. An unready drive hides all behind its label; the folder
    // comes back with the drive. A folder removed behind the picker's back says so.
    void foldersAndDrives() {
        auto* list = find<QListWidget>("File2");
        auto* dirs = find<QListWidget>("Dir2");
        const QPoint at =
            dirs->visualItemRect(dirs->findItems("archive", Qt::MatchEndsWith).value(0)).center();
        QTest::mouseClick(dirs->viewport(), Qt::LeftButton, {}, at); // press, release, press again
        QTest::mouseDClick(dirs->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(files(), QString("old.ini"));
        QTest::keyClick(find<QComboBox>("Drive2"), Qt::Key_Down);
        QVERIFY(find<QLabel>("Label38")->isVisible() && !list->isVisible() && !picker->isUsable());
        QCOMPARE(find<QLabel>("Label38")->text(), QString("Диск недоступен"));
        QTest::keyClick(find<QComboBox>("Drive2"), Qt::Key_Up);
        QVERIFY(!find<QLabel>("Label38")->isVisible() && list->isVisible() && picker->isUsable());
        QCOMPARE(picker->currentFolder(), work + "/archive");
        QVERIFY(QDir(work + "/archive").removeRecursively());
        picker->refreshDrives();
        QCOMPARE(dirs->currentItem()->text().trimmed(), QString("archive (папка недоступна)"));
        QCOMPARE(files(), QString());
    }

private:
    template <typename T> T* find(const char* name) const { return picker->findChild<T*>(name); }
    QString files() const {
        QStringList texts;
        for (const QListWidgetItem* item :
             find<QListWidget>("File2")->findItems("*", Qt::MatchWildcard))
            texts << item->text();
        return texts.join(' ');
    }

    std::optional<QTemporaryDir> drive;
    QString work;
    std::optional<FileLocationPicker> picker;
};

QTEST_MAIN(FileLocationPickerTest)
#include "test_file_location_picker.moc"
