#include "app/batch_run.h"
#include "app/qt_translation.h"
#include "app/tool.h"
#include "app/tool_options.h"
#include "config/chosen_line.h"
#include "config/tool_places.h"
#include "views/message_box_dialog.h"
#include "views/recording_window.h"

#include <QApplication>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#ifdef Q_OS_WIN
#include "app/windows_console.h"
#endif

int main(int argc, char** argv) {
#ifdef Q_OS_WIN
    WriteToStartingConsole();
#endif
    QCoreApplication::setApplicationName(QStringLiteral("zarn-tool"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZARN_VERSION));

    // Qt's own words, loaded once and installed into each application object in turn.
    QTranslator qt_words;
    // Made once Qt's words are in: the parser translates its own option texts as it is made.
    std::optional<ToolOptions> options;
    {
        // The whole command line is read before any window system starts, so that --help,
        // --version and every mistake are answered alike without a display (over ssh, in a
        // package check): a platform plugin that finds no display aborts the program.
        const QCoreApplication shell(argc, argv);
        LoadQtRussian(qt_words);
        QCoreApplication::installTranslator(&qt_words);
        options.emplace();
        if (const QString mistake = options->read(QCoreApplication::arguments());
            !mistake.isEmpty()) {
            std::fprintf(stderr, "zarn-tool: %s\n%s\n", qPrintable(mistake),
                         qPrintable(ToolOptions::usageLine()));
            // The windows share the batch mode's status for bad arguments.
            return static_cast<int>(BatchExit::BadInput);
        }
        // The batch mode runs on the core alone, in this application without windows.
        if (options->batchJob() && options->batchJob()->command != BatchCommand::Report)
            return static_cast<int>(
                RunBatch(*options->batchJob(), PlacesOfThisProgram().config_path));
    }
    if (options->batchJob()) {
        // The report's PDF lays out its text with Qt Gui's fonts: a platform, but no display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        const QGuiApplication printer(argc, argv);
        QCoreApplication::installTranslator(&qt_words);
        return static_cast<int>(RunBatch(*options->batchJob(), PlacesOfThisProgram().config_path));
    }

    QApplication app(argc, argv);
    QCoreApplication::installTranslator(&qt_words);
    // Desktops match the windows to the menu entry (and its icon) by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("ru.zarn.tool"));

    MessageBoxDialog boxes;
    const QChar decimalSeparator = QLocale::system().decimalPoint().front();
    // Looked at in the office: neither the port nor the configuration file is touched.
    if (!options->recordToOpen().isEmpty())
        return OpenRecordingWindow(options->recordToOpen(), decimalSeparator, boxes, nullptr)
                   ? app.exec()
                   : static_cast<int>(BatchExit::BadInput);

    const ToolPlaces places = PlacesOfThisProgram();
    Tool tool(LinesOfThisMachine(places.config_path), boxes, places, decimalSeparator);
    options->applyTo(tool, boxes);
    if (!tool.start())
        return 0;
    return app.exec();
}
