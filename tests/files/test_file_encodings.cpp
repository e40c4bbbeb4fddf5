#include "file_bytes.h"
#include "files/parameter_file.h"
#include "memory_param_boxes.h"
#include "recording_host.h"
#include "scripted_messages.h"

#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

// Parameter files that other editors wrote: Notepad saves "Unicode" as UTF-16 with a mark,
// other editors save UTF-8 with a mark. They read like any file, and a save keeps their encoding.
class FileEncodingsTest : public QObject {
    Q_OBJECT
private slots:
    void filesWithAByteOrderMarkReadAndKeepTheirEncoding_data() {
        QTest::addColumn<QByteArray>("mark");
        QTest::addColumn<int>("encoding");
        QTest::addRow("UTF-8") << QByteArray("\xEF\xBB\xBF") << int(QStringConverter::Utf8);
        QTest::addRow("UTF-16 LE") << QByteArray("\xFF\xFE") << int(QStringConverter::Utf16LE);
        QTest::addRow("UTF-16 BE") << QByteArray("\xFE\xFF") << int(QStringConverter::Utf16BE);
    }
    void filesWithAByteOrderMarkReadAndKeepTheirEncoding() {
        QFETCH(QByteArray, mark);
        QFETCH(int, encoding);
        const auto encoded = [encoding](const QString& text) {
            return QByteArray(QStringEncoder(QStringConverter::Encoding(encoding)).encode(text));
        };
        QTemporaryDir folder;
        const QString path = folder.filePath("p.ini");
        const QString original = QStringLiteral("; Дизель №2\r\n[Parameters]\r\nPAR0=12,5 "
                                                "\r\nPAR505=Ω7\r\n[Прочее]\r\nключ=значение\r\n");
        WriteFileBytes(path, mark + encoded(original));

        MemoryParamBoxes boxes;
        RecordingHost status;
        ScriptedMessages messages;
        ReadParameterFile({boxes, status, messages}, folder.path(), "p.ini");
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(boxes.texts[0], QStringLiteral("12,5"));
        QCOMPARE(boxes.states[0], BoxState::FromFile);
        QCOMPARE(boxes.texts[505], QStringLiteral("Ω7"));
        QCOMPARE(boxes.states[1], BoxState::MissingInFile);

        boxes.texts[0] = QStringLiteral("Ж");
        messages.answer(MessageAnswer::Ok); // replace the existing file
        SaveParameterFile({boxes, status, messages}, folder.path(), "p.ini", {});
        const QByteArray saved = FileBytes(path);
        QVERIFY(saved.startsWith(mark));
        const QString text =
            QStringDecoder(QStringConverter::Encoding(encoding)).decode(saved.mid(mark.size()));
        QCOMPARE(text.count("[Parameters]"), 1);
        QVERIFY(text.startsWith(QStringLiteral("; Дизель №2\r\n[Parameters]\r\nPAR0=Ж\r\n")));
        QVERIFY(text.contains(QStringLiteral("PAR505=Ω7\r\nPAR1=-\r\n")));
        QVERIFY(text.contains(QStringLiteral("[Прочее]\r\nключ=значение\r\n")));
    }

    // A file that is not text at all is refused with the read-error box, not shown as a file
    // that lacks every key.
    void aBinaryFileIsRefused() {
        QTemporaryDir folder;
        const QByteArray binary("\x7F"
                                "ELF\x02\x01\x01\x00\x00[Parameters]\r\nPAR0=1\r\n",
                                27);
        WriteFileBytes(folder.filePath("image.bin"), binary);
        MemoryParamBoxes boxes;
        RecordingHost status;
        ScriptedMessages messages;
        ReadParameterFile({boxes, status, messages}, folder.path(), "image.bin");
        CompareParameterFile({boxes, status, messages}, folder.path(), "image.bin");
        messages.expectOnly(MessageIcon::Critical, MessageButtons::RetryCancel,
                            QStringLiteral("Ошибка открытия файла"),
                            QStringLiteral("Невозможно открыть файл image.bin для чтения\r\n"), 2);
        QCOMPARE(boxes.states[0], std::nullopt);
    }
};

QTEST_GUILESS_MAIN(FileEncodingsTest)
#include "test_file_encodings.moc"
